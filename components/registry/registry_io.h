#pragma once
// Registry access as the component's members need it: failures become the
// component's registry error (0x80040200 with the system text of the code),
// and open keys are shared so that whatever was read from a key keeps it open.

#include "platform/com/registry_handle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

using SharedKey = std::shared_ptr<const com::RegistryHandle>;

// The system text of a Windows error code, or "Unknown Error <code>".
std::string SystemErrorText(winreg::Status code);

// Throws ComError(0x80040200, SystemErrorText(code)) unless code is 0.
void Check(winreg::Status code);
[[noreturn]] void FailWith(winreg::Status code);

// Names longer than the registry calls take are refused (error 87), never cut.
void CheckNameLength(std::string_view name, std::size_t maxCharacters);
inline constexpr std::size_t MaxKeyOrValueName = 254;

// A hive of the machine named by computer (empty: the local host).
SharedKey ConnectHive(const std::string& computer, winreg::HKEY hive);
// Opens subKey below parent with the component's access.
SharedKey OpenSubKey(const SharedKey& parent, std::string_view subKey);

// The bytes of a value that must be of the given type (error 87 otherwise;
// error 2 for a missing value).
std::vector<std::uint8_t> ReadTypedValue(winreg::HKEY key, std::string_view name, std::uint32_t type);
void WriteValue(winreg::HKEY key, std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data);

} // namespace vornik
