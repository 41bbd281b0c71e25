#pragma once
// The registry search: the first key name, value name or value data that
// contains a text, looking through HKEY_LOCAL_MACHINE and then HKEY_USERS of
// a machine, each depth first.

#include "platform/registry/registry.h"

#include <optional>
#include <string>

namespace vornik {

// What to match; the flags combine.
enum RegSearchType : std::int32_t { SearchKey = 1, SearchValue = 2, SearchData = 4 };

inline constexpr std::size_t MaxSearchText = 1024;

struct SearchHit {
    winreg::HKEY hive = winreg::HKEY_LOCAL_MACHINE;
    std::string keyPath;     // the hit key below the hive
    std::string fullKeyPath; // "HKEY_LOCAL_MACHINE\..." or "HKEY_USERS\..."
    std::string valueName;   // empty for a key hit
    std::string data;        // empty unless the hit was on value data
};

// nullopt when nothing matches, when the text is empty, or when a hive of
// the machine cannot be reached. A text longer than 1024 characters throws
// ComError(0x80040206).
std::optional<SearchHit> SearchRegistry(const std::string& computer, const std::string& text, std::int32_t searchType);

} // namespace vornik
