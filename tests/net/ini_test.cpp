#include "platform/com/hresult.h"
#include "platform/net/case_fold.h"
#include "platform/net/ini_document.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

using namespace net;
using testing_support::ReadFile;
using testing_support::TempFolder;

TEST(IniDocument, ReadsSectionsKeysAndListsIgnoringCommentsAndKeyCase)
{
    const IniDocument ini = IniDocument::Parse("; comment\n[host]\r\nDomain = TARVEXNET \n# other\n"
                                               "services=MSDMSERV, ,W3SVC\n[other]\nkey=1\n[HOST]\nreachable = no\n");
    EXPECT_EQ(ini.value("host", "domain"), "TARVEXNET");
    EXPECT_EQ(SplitList(ini.valueOr("host", "SERVICES", "")), (std::vector<std::string>{"MSDMSERV", "W3SVC"}));
    EXPECT_EQ(ini.value("host", "reachable"), "no") << "a repeated section adds to the first";
    EXPECT_EQ(ini.value("other", "key"), "1");
    EXPECT_EQ(ini.value("host", "missing"), std::nullopt);
    EXPECT_EQ(ini.value("missing", "key"), std::nullopt);
}

TEST(IniDocument, RewritingKeepsUnknownEntriesAndRefusesWhatTheFormatCannotHold)
{
    IniDocument ini = IniDocument::Parse("[host]\nboot_id = 7\ndomain = A\n");
    ini.setValue("host", "DOMAIN", "B");
    ini.setValue("host", "comment", "new");
    const IniDocument reread = IniDocument::Parse(ini.toText());
    EXPECT_EQ(reread.value("host", "boot_id"), "7");
    EXPECT_EQ(reread.value("host", "domain"), "B");
    EXPECT_EQ(reread.value("host", "comment"), "new");

    EXPECT_THROW(ini.setValue("host", "comment", "two\nlines"), com::ComError);
    EXPECT_THROW(JoinList({"a,b"}), com::ComError);
    EXPECT_EQ(JoinList({"a", "b"}), "a, b");
}

TEST(IniDocument, FlagsAcceptTheUsualSpellings)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"yes", true}, {"TRUE", true}, {"1", true}, {"No", false}, {"false", false}, {"0", false}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseFlag(text, !expected), expected) << text;
    }
    EXPECT_TRUE(ParseFlag("maybe", true));
    EXPECT_FALSE(ParseFlag("", false));
}

TEST(CaseFold, FoldsAsciiAndOtherLetters)
{
    EXPECT_TRUE(EqualsIgnoringCase("SPSSource", "spssOURCE"));
    EXPECT_TRUE(EqualsIgnoringCase("ÄRGER Über", "ärger über"));
    EXPECT_FALSE(EqualsIgnoringCase("Ärger", "Arger"));
    EXPECT_FALSE(EqualsIgnoringCase("abc", "abcd"));
    EXPECT_EQ(CaseFold("Größe"), CaseFold("GRÖßE"));
}
