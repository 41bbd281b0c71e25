#include "platform/registry/hive_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <stdexcept>

namespace winreg {

namespace {

using nlohmann::json;

constexpr int kFormat = 1;

json valueToJson(const RegistryValue& value)
{
    return {{"name", value.name}, {"type", value.type}, {"data", HexText(value.data)}};
}

json keyToJson(const RegistryKey& key)
{
    json node = {{"id", key.id}, {"name", key.name}};
    if (key.volatileBoot) node["volatile_boot"] = *key.volatileBoot;
    if (key.madeByRegistration) node["made_by_registration"] = true;
    if (!key.values.empty()) {
        json& values = node["values"] = json::array();
        for (const RegistryValue& value : key.values) values.push_back(valueToJson(value));
    }
    if (!key.subkeys.empty()) {
        json& subkeys = node["subkeys"] = json::array();
        for (const RegistryKey& subkey : key.subkeys) subkeys.push_back(keyToJson(subkey));
    }
    return node;
}

RegistryValue valueFromJson(const json& node)
{
    RegistryValue value;
    value.name = node.at("name").get<std::string>();
    value.type = node.at("type").get<std::uint32_t>();
    value.data = BytesFromHex(node.at("data").get<std::string>());
    return value;
}

RegistryKey keyFromJson(const json& node)
{
    RegistryKey key;
    key.id = node.at("id").get<std::uint64_t>();
    key.name = node.at("name").get<std::string>();
    if (node.contains("volatile_boot")) key.volatileBoot = node.at("volatile_boot").get<std::uint64_t>();
    key.madeByRegistration = node.value("made_by_registration", false);
    if (node.contains("values"))
        for (const json& value : node.at("values")) key.values.push_back(valueFromJson(value));
    if (node.contains("subkeys"))
        for (const json& subkey : node.at("subkeys")) key.subkeys.push_back(keyFromJson(subkey));
    return key;
}

std::uint64_t LargestKeyId(const RegistryKey& key)
{
    std::uint64_t largest = key.id;
    for (const RegistryKey& subkey : key.subkeys) largest = std::max(largest, LargestKeyId(subkey));
    return largest;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::string HiveToJson(const Hive& hive)
{
    const json document = {{"format", kFormat}, {"next_id", hive.nextId}, {"root", keyToJson(hive.root)}};
    return document.dump(1) + "\n";
}

Hive HiveFromJson(std::string_view text)
{
    try {
        const json document = json::parse(text);
        if (document.at("format").get<int>() != kFormat) throw std::runtime_error("unknown hive format");
        Hive hive;
        hive.nextId = document.at("next_id").get<std::uint64_t>();
        hive.root = keyFromJson(document.at("root"));
        hive.nextId = std::max(hive.nextId, LargestKeyId(hive.root) + 1);
        return hive;
    } catch (const json::exception& error) {
        throw std::runtime_error(std::string("not a stored hive: ") + error.what());
    }
}

std::string HexText(const std::vector<std::uint8_t>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

std::vector<std::uint8_t> BytesFromHex(std::string_view text)
{
    if (text.size() % 2 != 0) throw std::runtime_error("odd number of hex digits");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) throw std::runtime_error("not a hex digit");
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

} // namespace winreg
