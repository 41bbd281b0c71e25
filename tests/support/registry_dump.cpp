#include "support/registry_dump.h"

#include <cstdio>

namespace testing_support {

namespace {

std::string DataText(std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    std::string text;
    if (type == winreg::REG_SZ || type == winreg::REG_EXPAND_SZ || type == winreg::REG_MULTI_SZ) {
        for (auto byte : data) text += byte ? std::string(1, char(byte)) : std::string("\\0");
        return text;
    }
    for (auto byte : data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", byte);
        text += text.empty() ? hex : std::string(" ") + hex;
    }
    return text;
}

void DumpKey(winreg::HKEY key, const std::string& path, std::vector<std::string>& lines)
{
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (std::uint32_t i = 0; winreg::EnumValue(key, i, &name, &type, &data) == winreg::ERROR_SUCCESS; ++i)
        lines.push_back(path + " [" + name + "] " + std::to_string(type) + ": " + DataText(type, data));
    for (std::uint32_t i = 0; winreg::EnumKey(key, i, &name, 1024) == winreg::ERROR_SUCCESS; ++i) {
        const std::string childPath = path.empty() ? name : path + "\\" + name;
        lines.push_back(childPath);
        winreg::HKEY child = 0;
        if (winreg::OpenKey(key, name, winreg::KEY_READ, &child) != winreg::ERROR_SUCCESS) continue;
        DumpKey(child, childPath, lines);
        winreg::CloseKey(child);
    }
}

} // namespace

std::vector<std::string> DumpRegistry(winreg::HKEY root, const std::string& subKey)
{
    std::vector<std::string> lines;
    winreg::HKEY key = 0;
    if (winreg::OpenKey(root, subKey, winreg::KEY_READ, &key) != winreg::ERROR_SUCCESS) return lines;
    DumpKey(key, subKey, lines);
    winreg::CloseKey(key);
    return lines;
}

} // namespace testing_support
