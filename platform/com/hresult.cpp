#include "platform/com/hresult.h"

#include "platform/registry/registry.h"

#include <array>
#include <utility>

namespace com {

namespace {

constexpr std::uint32_t FacilityWin32 = 0x80070000u;

constexpr std::array<std::pair<HRESULT, const char*>, 22> KnownTexts{{
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_FAIL, "Unspecified error"},
    {E_UNEXPECTED, "Catastrophic failure"},
    {DISP_E_UNKNOWNINTERFACE, "Unknown interface."},
    {DISP_E_MEMBERNOTFOUND, "Member not found."},
    {DISP_E_PARAMNOTFOUND, "Parameter not found."},
    {DISP_E_TYPEMISMATCH, "Type mismatch."},
    {DISP_E_UNKNOWNNAME, "Unknown name."},
    {DISP_E_EXCEPTION, "Exception occurred."},
    {DISP_E_BADINDEX, "Invalid index."},
    {DISP_E_BADPARAMCOUNT, "Invalid number of parameters."},
    {DISP_E_PARAMNOTOPTIONAL, "Parameter not optional."},
    {REGDB_E_CLASSNOTREG, "Class not registered"},
    {CO_E_CLASSSTRING, "Invalid class string"},
    {CO_E_DLLNOTFOUND, "DLL for class not found"},
    {CO_E_ERRORINDLL, "Error in the DLL"},
    {CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class"},
    {CLASS_E_NOAGGREGATION, "Class does not support aggregation (or class object is remote)"},
    {CTL_E_OBJECTNOTSET, "Object variable or With block variable not set"},
    {CTL_E_OBJECTREQUIRED, "Object required"},
}};

} // namespace

std::string HResultText(HRESULT number)
{
    for (const auto& [code, text] : KnownTexts)
        if (code == number) return text;
    const auto bits = static_cast<std::uint32_t>(number);
    if ((bits & 0xFFFF0000u) == FacilityWin32) return winreg::SystemMessage(winreg::Status(bits & 0xFFFFu));
    return {};
}

} // namespace com
