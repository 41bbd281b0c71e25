#include "components/netperm/netperm_module.h"

#include "components/netperm/csp_file_perm.h"
#include "components/netperm/csp_share_perm.h"
#include "components/netperm/csp_shares.h"

namespace netperm {

namespace {

// The keys of one class, under its versioned and version-independent ProgIDs;
// %NAME% and %CLSID% stand for the class's name and CLSID.
constexpr char kClassScript[] = R"(
key     HKCR\Netperm.%NAME%.1 = '%NAME% Class'
key     HKCR\Netperm.%NAME%.1\CLSID = '%CLSID%'
key     HKCR\Netperm.%NAME% = '%NAME% Class'
key     HKCR\Netperm.%NAME%\CLSID = '%CLSID%'
key     HKCR\Netperm.%NAME%\CurVer = 'Netperm.%NAME%.1'
replace HKCR\CLSID\%CLSID% = '%NAME% Class'
key     HKCR\CLSID\%CLSID%\ProgID = 'Netperm.%NAME%.1'
key     HKCR\CLSID\%CLSID%\VersionIndependentProgID = 'Netperm.%NAME%'
key     HKCR\CLSID\%CLSID%\Programmable
key     HKCR\CLSID\%CLSID%\InprocServer32 = '%MODULE%'
value   HKCR\CLSID\%CLSID%\InprocServer32 ThreadingModel = 'Apartment'
key     HKCR\CLSID\%CLSID%\TypeLib = '{CB080691-9948-11D5-98A0-0050BAD8F573}'
)";

// The type library NETPERMLib, version 1.0, served by this module.
constexpr char kTypeLibraryScript[] = R"(
keep    HKCR\TypeLib
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}\1.0 = 'Netperm 1.0 Type Library'
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}\1.0\0
key     HKCR\TypeLib\{CB080691-9948-11D5-98A0-0050BAD8F573}\1.0\0\win32 = '%MODULE%'
)";

std::string Replaced(std::string text, const std::string& placeholder, const std::string& value)
{
    for (auto at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

template <class T>
std::string ClassRegistration(const std::string& name)
{
    return Replaced(Replaced(kClassScript, "%NAME%", name), "%CLSID%", T::Identity().clsid.toString());
}

template <class T>
com::Module::CreatableClass Creatable()
{
    return {T::Identity().clsid, [] { return com::ComPtr<com::IDispatch>(com::MakeObject<T>()); }};
}

} // namespace

const std::string& RegistrationScript()
{
    static const std::string script = "keep    HKCR\\CLSID\n" + ClassRegistration<CSPShares>("CSPShares")
        + ClassRegistration<CSPSharePerm>("CSPSharePerm") + ClassRegistration<CSPFilePerm>("CSPFilePerm")
        + kTypeLibraryScript;
    return script;
}

com::Module& TheModule()
{
    static com::Module module({Creatable<CSPShares>(), Creatable<CSPSharePerm>(), Creatable<CSPFilePerm>()},
                              RegistrationScript());
    return module;
}

} // namespace netperm

// The module's only exports.
COM_MODULE_EXPORTS(netperm::TheModule())
