#pragma once
// The stored form of a hive: JSON with the keys in their stored case, their
// subkeys and values in order, and each value's type and exact bytes in hex.
//
//   {"format": 1, "next_id": 5, "root": {"id": 0, "name": "", "subkeys": [
//     {"id": 1, "name": "SOFTWARE", "values": [{"name": "", "type": 1, "data": "616263"}]},
//     {"id": 3, "name": "Session", "volatile_boot": 2},
//     {"id": 4, "name": "CLSID", "made_by_registration": true}]}}

#include "platform/registry/hive.h"

#include <string>
#include <string_view>

namespace winreg {

std::string HiveToJson(const Hive& hive);
// Throws std::runtime_error for text that is not a stored hive.
Hive HiveFromJson(std::string_view text);

std::string HexText(const std::vector<std::uint8_t>& bytes);
// Throws std::runtime_error for text that is not an even number of hex digits.
std::vector<std::uint8_t> BytesFromHex(std::string_view text);

} // namespace winreg
