#pragma once
// What the program reports about the machine it runs on: the operating-system
// version, the system language and the language names, and the system drive
// below which shared client components are installed.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace sys {

struct OsVersion {
    int major = 0;
    int minor = 0;
    std::string servicePack; // at most 128 characters
};

// The kernel's version numbers and, as the service-pack text, the
// distribution's name; empty when the version cannot be read.
std::optional<OsVersion> GetOsVersion();
// Replaces the version reader (empty restores the real one).
void SetOsVersionForTesting(std::function<std::optional<OsVersion>()> reader);

// Language identifiers are 16-bit values: primary language in the low ten
// bits, sub-language above (0x0409 English (United States)).
using LanguageId = std::uint16_t;

// The language of the system's locale (LC_ALL, else LC_MESSAGES, else LANG).
// The C and POSIX locales count as English (United States); a locale missing
// from the language table gives 0.
LanguageId SystemDefaultLanguageId();
// The locale name such as "de_DE.UTF-8" or "fr_FR@euro" as a language
// identifier: 0x0409 for C, POSIX or an empty name, 0 when it is not known.
LanguageId LanguageIdForLocale(const std::string& locale);
// The display name of a language identifier ("Language Neutral" for 0,
// "Unknown language" for an identifier missing from the table).
std::string LanguageName(LanguageId id);

// The id of this process, without a system call each time; a child made by
// fork() gets its own.
int ProcessId();

// The decimal separator of the user's number format: that of Qt's default
// locale, which is the system locale (LC_ALL, else LC_NUMERIC, else LANG)
// unless one was set in its place.
std::string DecimalSeparator();

// The language recorded in a file's version data. Files on this platform
// carry no version resource with a translation table, and a file without
// version data has the identifier 0.
LanguageId FileVersionLanguageId(const std::filesystem::path& file);

// The root of the drive that holds the system folder ("/" here).
std::filesystem::path SystemDrive();
// Points the system drive at another folder (empty restores "/").
void SetSystemDriveForTesting(const std::filesystem::path& root);

} // namespace sys
