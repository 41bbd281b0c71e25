#include "platform/com/registry_handle.h"

#include <algorithm>
#include <vector>

namespace com {

std::optional<std::string> ReadRegistryString(winreg::HKEY parent, std::string_view subKey, std::string_view name)
{
    RegistryHandle key;
    if (winreg::OpenKey(parent, subKey, winreg::KEY_READ, key.receive()) != winreg::ERROR_SUCCESS) return std::nullopt;

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (winreg::QueryValue(key.get(), name, &type, nullptr, &size) != winreg::ERROR_SUCCESS) return std::nullopt;
    if (type != winreg::REG_SZ && type != winreg::REG_EXPAND_SZ) return std::nullopt;
    std::vector<std::uint8_t> data(size);
    if (winreg::QueryValue(key.get(), name, &type, data.data(), &size) != winreg::ERROR_SUCCESS) return std::nullopt;
    data.resize(std::min<std::size_t>(size, data.size()));

    const auto end = std::find(data.begin(), data.end(), std::uint8_t(0));
    return std::string(data.begin(), end);
}

winreg::Status WriteRegistryString(winreg::HKEY key, std::string_view name, std::string_view text)
{
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return winreg::SetValue(key, name, winreg::REG_SZ, data.data(), std::uint32_t(data.size()));
}

winreg::Status DeleteRegistryTree(winreg::HKEY parent, std::string_view subKey)
{
    {
        RegistryHandle key;
        if (const auto status = winreg::OpenKey(parent, subKey, winreg::KEY_ALL_ACCESS, key.receive()))
            return status;
        std::string child;
        while (winreg::EnumKey(key.get(), 0, &child, KeyNameCapacity) == winreg::ERROR_SUCCESS)
            if (const auto status = DeleteRegistryTree(key.get(), child)) return status;
    }
    return winreg::DeleteKey(parent, subKey);
}

} // namespace com
