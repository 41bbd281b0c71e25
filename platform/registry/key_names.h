#pragma once
// Checks on key paths and value names before they reach a hive: key names are
// 1 to 255 characters, value names at most 16,383, both valid UTF-8 without
// NUL; a key path is names joined by '\'.

#include "platform/registry/registry.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace winreg {

bool IsValidUtf8(std::string_view text);
std::size_t CharacterCount(std::string_view utf8);

// "a\b\c" -> {"a", "b", "c"}; "" -> {}; a single trailing '\' is ignored.
// A leading '\' or an empty name inside the path: ERROR_BAD_PATHNAME; a name
// that is too long or not valid text: ERROR_INVALID_PARAMETER.
std::variant<std::vector<std::string>, Status> ParseKeyPath(std::string_view path);

// ERROR_SUCCESS or ERROR_INVALID_PARAMETER.
Status CheckValueName(std::string_view name);

} // namespace winreg
