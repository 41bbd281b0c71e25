#include "platform/sys/system_info.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ScopedEnv;

TEST(LanguageTable, LocaleNamesGiveTheirLanguageIdentifiers)
{
    const struct {
        const char* locale;
        sys::LanguageId id;
    } cases[] = {
        {"en_US.UTF-8", 0x0409}, {"de_DE.UTF-8", 0x0407}, {"fr_FR@euro", 0x040C}, {"de_AT", 0x0C07},
        {"en_GB.ISO-8859-1", 0x0809}, {"C", 0x0409}, {"C.UTF-8", 0x0409}, {"POSIX", 0x0409}, {"", 0x0409},
        {"xx_YY.UTF-8", 0}, {"de", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(sys::LanguageIdForLocale(c.locale), c.id) << c.locale;
}

TEST(LanguageTable, IdentifiersGiveTheirNames)
{
    EXPECT_EQ(sys::LanguageName(0), "Language Neutral");
    EXPECT_EQ(sys::LanguageName(0x0409), "English (United States)");
    EXPECT_EQ(sys::LanguageName(0x0407), "German (Germany)");
    EXPECT_EQ(sys::LanguageName(0x040C), "French (France)");
    EXPECT_EQ(sys::LanguageName(0x7777), "Unknown language");
}

TEST(LanguageTable, SystemLanguageFollowsTheLocaleVariablesInTheirPrecedence)
{
    {
        ScopedEnv all("LC_ALL", "fr_FR.UTF-8"), messages("LC_MESSAGES", "de_DE.UTF-8"), lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(sys::SystemDefaultLanguageId(), 0x040C);
    }
    {
        ScopedEnv all("LC_ALL", std::nullopt), messages("LC_MESSAGES", "de_DE.UTF-8"), lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(sys::SystemDefaultLanguageId(), 0x0407);
    }
    {
        ScopedEnv all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt), lang("LANG", std::nullopt);
        EXPECT_EQ(sys::SystemDefaultLanguageId(), 0x0409);
    }
}

TEST(OsVersion, TheRunningKernelIsReadAndTestsCanReplaceIt)
{
    const auto real = sys::GetOsVersion();
    ASSERT_TRUE(real.has_value());
    EXPECT_GT(real->major, 0);
    EXPECT_LE(real->servicePack.size(), 128u);

    sys::SetOsVersionForTesting([] { return std::nullopt; });
    EXPECT_FALSE(sys::GetOsVersion().has_value());
    sys::SetOsVersionForTesting({});
    EXPECT_TRUE(sys::GetOsVersion().has_value());
}

} // namespace
