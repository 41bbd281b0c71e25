#include "platform/com/class_registry.h"

#include "platform/com/registry_handle.h"

namespace com {

namespace {

// Version-independent ProgIDs point at the current versioned one; a short
// chain is all that registration ever writes, and the bound stops a cycle.
constexpr int MaxCurVerHops = 4;

std::optional<std::string> ClassesRootString(const std::string& subKey)
{
    RegistryHandle root;
    if (winreg::ConnectRegistry("", winreg::HKEY_CLASSES_ROOT, root.receive()) != winreg::ERROR_SUCCESS)
        return std::nullopt;
    return ReadRegistryString(root.get(), subKey, "");
}

bool IsPlainKeyName(std::string_view name)
{
    return !name.empty() && name.find('\\') == std::string_view::npos;
}

} // namespace

std::optional<CLSID> CLSIDFromProgID(std::string_view progid)
{
    std::string current(progid);
    for (int hop = 0; hop <= MaxCurVerHops && IsPlainKeyName(current); ++hop) {
        if (auto text = ClassesRootString(current + "\\CLSID")) return GUID::parse(*text);
        auto next = ClassesRootString(current + "\\CurVer");
        if (!next) return std::nullopt;
        current = *next;
    }
    return std::nullopt;
}

std::optional<std::string> ProgIDFromCLSID(const CLSID& clsid)
{
    return ClassesRootString("CLSID\\" + clsid.toString() + "\\ProgID");
}

std::optional<std::string> InprocServerPath(const CLSID& clsid)
{
    return ClassesRootString("CLSID\\" + clsid.toString() + "\\InprocServer32");
}

} // namespace com
