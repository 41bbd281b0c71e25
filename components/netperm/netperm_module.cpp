#include "components/netperm/netperm_module.h"

#include "components/netperm/csp_file_perm.h"
#include "components/netperm/csp_share_perm.h"
#include "components/netperm/csp_shares.h"

namespace netperm {

const char* const RegistrationScript = R"(
keep    HKCR\CLSID

# CSPShares: its versioned and version-independent ProgIDs, and its class key.
key     HKCR\Netperm.CSPShares.1 = 'CSPShares Class'
key     HKCR\Netperm.CSPShares.1\CLSID = '{CB08069F-9948-11D5-98A0-0050BAD8F573}'
key     HKCR\Netperm.CSPShares = 'CSPShares Class'
key     HKCR\Netperm.CSPShares\CLSID = '{CB08069F-9948-11D5-98A0-0050BAD8F573}'
key     HKCR\Netperm.CSPShares\CurVer = 'Netperm.CSPShares.1'
replace HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573} = 'CSPShares Class'
key     HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573}\ProgID = 'Netperm.CSPShares.1'
key     HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573}\VersionIndependentProgID = 'Netperm.CSPShares'
key     HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573}\Programmable
key     HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573}\InprocServer32 = '%MODULE%'
value   HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573}\InprocServer32 ThreadingModel = 'Apartment'
key     HKCR\CLSID\{CB08069F-9948-11D5-98A0-0050BAD8F573}\TypeLib = '{CB080691-9948-11D5-98A0-0050BAD8F573}'

# CSPSharePerm: its versioned and version-independent ProgIDs, and its class key.
key     HKCR\Netperm.CSPSharePerm.1 = 'CSPSharePerm Class'
key     HKCR\Netperm.CSPSharePerm.1\CLSID = '{CB0806A1-9948-11D5-98A0-0050BAD8F573}'
key     HKCR\Netperm.CSPSharePerm = 'CSPSharePerm Class'
key     HKCR\Netperm.CSPSharePerm\CLSID = '{CB0806A1-9948-11D5-98A0-0050BAD8F573}'
key     HKCR\Netperm.CSPSharePerm\CurVer = 'Netperm.CSPSharePerm.1'
replace HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573} = 'CSPSharePerm Class'
key     HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573}\ProgID = 'Netperm.CSPSharePerm.1'
key     HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573}\VersionIndependentProgID = 'Netperm.CSPSharePerm'
key     HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573}\Programmable
key     HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573}\InprocServer32 = '%MODULE%'
value   HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573}\InprocServer32 ThreadingModel = 'Apartment'
key     HKCR\CLSID\{CB0806A1-9948-11D5-98A0-0050BAD8F573}\TypeLib = '{CB080691-9948-11D5-98A0-0050BAD8F573}'

# CSPFilePerm: its versioned and version-independent ProgIDs, and its class key.
key     HKCR\Netperm.CSPFilePerm.1 = 'CSPFilePerm Class'
key     HKCR\Netperm.CSPFilePerm.1\CLSID = '{CB0806A3-9948-11D5-98A0-0050BAD8F573}'
key     HKCR\Netperm.CSPFilePerm = 'CSPFilePerm Class'
key     HKCR\Netperm.CSPFilePerm\CLSID = '{CB0806A3-9948-11D5-98A0-0050BAD8F573}'
key     HKCR\Netperm.CSPFilePerm\CurVer = 'Netperm.CSPFilePerm.1'
replace HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573} = 'CSPFilePerm Class'
key     HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573}\ProgID = 'Netperm.CSPFilePerm.1'
key     HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573}\VersionIndependentProgID = 'Netperm.CSPFilePerm'
key     HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573}\Programmable
key     HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573}\InprocServer32 = '%MODULE%'
value   HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573}\InprocServer32 ThreadingModel = 'Apartment'
key     HKCR\CLSID\{CB0806A3-9948-11D5-98A0-0050BAD8F573}\TypeLib = '{CB080691-9948-11D5-98A0-0050BAD8F573}'

# The type library NETPERMLib, version 1.0, served by this module.
keep    HKCR\TypeLib
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}\1.0 = 'Netperm 1.0 Type Library'
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}\1.0\0
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}\1.0\0\win32 = '%MODULE%'
)";

namespace {

template <class T>
com::Module::CreatableClass Creatable()
{
    return {T::Identity().clsid, [] { return com::ComPtr<com::IDispatch>(com::MakeObject<T>()); }};
}

} // namespace

com::Module& TheModule()
{
    static com::Module module({Creatable<CSPShares>(), Creatable<CSPSharePerm>(), Creatable<CSPFilePerm>()},
                              RegistrationScript);
    return module;
}

} // namespace netperm

// The module's only exports.

extern "C" com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid, void** object)
{
    if (!clsid || !iid) return com::E_POINTER;
    return netperm::TheModule().getClassObject(*clsid, *iid, object);
}

extern "C" com::HRESULT DllCanUnloadNow() { return netperm::TheModule().canUnloadNow(); }

extern "C" com::HRESULT DllRegisterServer()
{
    return netperm::TheModule().registerServer(com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

extern "C" com::HRESULT DllUnregisterServer()
{
    return netperm::TheModule().unregisterServer(
        com::ModulePathOf(reinterpret_cast<const void*>(&DllUnregisterServer)));
}
