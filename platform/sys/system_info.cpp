#include "platform/sys/system_info.h"

#include <QLocale>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pthread.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace sys {

namespace {

struct Language {
    LanguageId id;
    const char* locale; // language_TERRITORY as locale names spell it
    const char* name;
};

constexpr LanguageId kEnglishUnitedStates = 0x0409;

constexpr std::array kLanguages{
    Language{0x0000, "", "Language Neutral"},
    Language{0x0401, "ar_SA", "Arabic (Saudi Arabia)"},
    Language{0x0404, "zh_TW", "Chinese (Taiwan)"},
    Language{0x0405, "cs_CZ", "Czech (Czech Republic)"},
    Language{0x0406, "da_DK", "Danish (Denmark)"},
    Language{0x0407, "de_DE", "German (Germany)"},
    Language{0x0408, "el_GR", "Greek (Greece)"},
    Language{0x0409, "en_US", "English (United States)"},
    Language{0x040B, "fi_FI", "Finnish (Finland)"},
    Language{0x040C, "fr_FR", "French (France)"},
    Language{0x040D, "he_IL", "Hebrew (Israel)"},
    Language{0x040E, "hu_HU", "Hungarian (Hungary)"},
    Language{0x0410, "it_IT", "Italian (Italy)"},
    Language{0x0411, "ja_JP", "Japanese (Japan)"},
    Language{0x0412, "ko_KR", "Korean (Korea)"},
    Language{0x0413, "nl_NL", "Dutch (Netherlands)"},
    Language{0x0414, "nb_NO", "Norwegian, Bokmal (Norway)"},
    Language{0x0415, "pl_PL", "Polish (Poland)"},
    Language{0x0416, "pt_BR", "Portuguese (Brazil)"},
    Language{0x0419, "ru_RU", "Russian (Russia)"},
    Language{0x041D, "sv_SE", "Swedish (Sweden)"},
    Language{0x041F, "tr_TR", "Turkish (Turkey)"},
    Language{0x0804, "zh_CN", "Chinese (People's Republic of China)"},
    Language{0x0807, "de_CH", "German (Switzerland)"},
    Language{0x0809, "en_GB", "English (United Kingdom)"},
    Language{0x080C, "fr_BE", "French (Belgium)"},
    Language{0x0816, "pt_PT", "Portuguese (Portugal)"},
    Language{0x0C07, "de_AT", "German (Austria)"},
    Language{0x0C09, "en_AU", "English (Australia)"},
    Language{0x0C0A, "es_ES", "Spanish (Spain)"},
    Language{0x0C0C, "fr_CA", "French (Canada)"},
    Language{0x100C, "fr_CH", "French (Switzerland)"},
};

constexpr std::size_t kServicePackLength = 128;

std::function<std::optional<OsVersion>()>& versionOverride()
{
    static std::function<std::optional<OsVersion>()> reader;
    return reader;
}

std::filesystem::path& systemDriveOverride()
{
    static std::filesystem::path root;
    return root;
}

// PRETTY_NAME of /etc/os-release without its quotes, or empty.
std::string distributionName()
{
    std::ifstream release("/etc/os-release");
    const std::string key = "PRETTY_NAME=";
    for (std::string line; std::getline(release, line);) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return {};
}

std::optional<OsVersion> kernelVersion()
{
    utsname names{};
    if (uname(&names) != 0) return std::nullopt;
    OsVersion version;
    if (std::sscanf(names.release, "%d.%d", &version.major, &version.minor) != 2) return std::nullopt;
    version.servicePack = distributionName().substr(0, kServicePackLength);
    return version;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::optional<OsVersion> GetOsVersion()
{
    if (auto& reader = versionOverride()) return reader();
    return kernelVersion();
}

void SetOsVersionForTesting(std::function<std::optional<OsVersion>()> reader) { versionOverride() = std::move(reader); }

LanguageId LanguageIdForLocale(const std::string& locale)
{
    const std::string name = locale.substr(0, locale.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return kEnglishUnitedStates;
    for (const Language& language : kLanguages)
        if (name == language.locale) return language.id;
    return 0;
}

LanguageId SystemDefaultLanguageId()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (std::string locale = environment(variable); !locale.empty()) return LanguageIdForLocale(locale);
    return kEnglishUnitedStates;
}

std::string LanguageName(LanguageId id)
{
    for (const Language& language : kLanguages)
        if (language.id == id) return language.name;
    return "Unknown language";
}

LanguageId FileVersionLanguageId(const std::filesystem::path&) { return 0; }

std::filesystem::path SystemDrive()
{
    return systemDriveOverride().empty() ? std::filesystem::path("/") : systemDriveOverride();
}

void SetSystemDriveForTesting(const std::filesystem::path& root) { systemDriveOverride() = root; }

int ProcessId()
{
    static int id = [] {
        ::pthread_atfork(nullptr, nullptr, [] { id = ::getpid(); });
        return ::getpid();
    }();
    return id;
}

std::string DecimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

} // namespace sys
