#include "components/registry/vornik_module.h"

#include "components/registry/registry_class.h"

namespace vornik {

const char* const RegistrationScript = R"(
# The class Registry under its ProgID, which is also its version-independent ProgID.
key     HKCR\Vornik.Registry = 'Vorn Registry Class'
key     HKCR\Vornik.Registry\CLSID = '{77E98182-6D80-11D3-AE12-008048D7657D}'

keep    HKCR\CLSID
replace HKCR\CLSID\{77E98182-6D80-11D3-AE12-008048D7657D} = 'Registry Class'
key     HKCR\CLSID\{77E98182-6D80-11D3-AE12-008048D7657D}\ProgID = 'Vornik.Registry'
key     HKCR\CLSID\{77E98182-6D80-11D3-AE12-008048D7657D}\VersionIndependentProgID = 'Vornik.Registry'
key     HKCR\CLSID\{77E98182-6D80-11D3-AE12-008048D7657D}\Programmable
key     HKCR\CLSID\{77E98182-6D80-11D3-AE12-008048D7657D}\InprocServer32 = '%MODULE%'
value   HKCR\CLSID\{77E98182-6D80-11D3-AE12-008048D7657D}\InprocServer32 ThreadingModel = 'Apartment'

# The type library VornRegistry, version 1.0, served by this module.
keep    HKCR\TypeLib
key     HKCR\TypeLib\{6CE60A41-6D7C-11D3-AE11-008048D7657D}
key     HKCR\TypeLib\{6CE60A41-6D7C-11D3-AE11-008048D7657D}\1.0 = 'Vorn Registry 1.0 Type Library'
key     HKCR\TypeLib\{6CE60A41-6D7C-11D3-AE11-008048D7657D}\1.0\0
key     HKCR\TypeLib\{6CE60A41-6D7C-11D3-AE11-008048D7657D}\1.0\0\win32 = '%MODULE%'
)";

com::Module& TheModule()
{
    static com::Module module(
        {{RegistryIdentity.clsid, [] { return com::ComPtr<com::IDispatch>(com::MakeObject<Registry>()); }}},
        RegistrationScript);
    return module;
}

} // namespace vornik

// The module's only exports.
COM_MODULE_EXPORTS(vornik::TheModule())
