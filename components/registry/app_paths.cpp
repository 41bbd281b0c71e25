#include "components/registry/app_paths.h"

#include "components/registry/identities.h"
#include "components/registry/registry_data.h"
#include "components/registry/registry_io.h"

#include <algorithm>

namespace vornik {

namespace {

// The name and the path are counted in bytes, as the value is read back into
// a buffer of MaxAppPathText + 1 bytes: a text of fewer characters but more
// bytes could be stored and then never read.
void CheckByteLength(const std::string& text)
{
    if (text.size() > MaxAppPathText) FailWith(winreg::ERROR_INVALID_PARAMETER);
}

void CheckAppName(const std::string& appName)
{
    if (appName.empty()) FailWith(winreg::ERROR_BAD_PATHNAME);
    CheckByteLength(appName);
}

} // namespace

std::string AppPathsKeyPath(const std::string& appName)
{
    std::string path = "software\\microsoft\\windows\\currentversion\\app paths\\" + appName;
    if (appName.find(".exe") == std::string::npos) path += ".exe";
    return path;
}

std::string GetAppPath(const std::string& computer, const std::string& appName)
{
    CheckAppName(appName);
    const SharedKey hive = ConnectHive(computer, winreg::HKEY_LOCAL_MACHINE);
    const SharedKey key = OpenSubKey(hive, AppPathsKeyPath(appName));

    Bytes data(MaxAppPathText + 1, 0);
    std::uint32_t type = 0;
    auto size = std::uint32_t(data.size());
    Check(winreg::QueryValue(key->get(), "", &type, data.data(), &size));
    data.resize(std::min<std::size_t>(size, data.size()));
    return TextOfBytes(data);
}

void SetAppPath(const std::string& computer, const std::string& appName, const std::string& path)
{
    CheckAppName(appName);
    CheckByteLength(path);
    const SharedKey hive = ConnectHive(computer, winreg::HKEY_LOCAL_MACHINE);
    com::RegistryHandle key;
    Check(winreg::CreateKey(hive->get(), AppPathsKeyPath(appName), false, key.receive()));
    WriteValue(key.get(), "", winreg::REG_SZ, BytesOfText(path, false));
}

} // namespace vornik
