#include "app/core/settings_database.h"
#include "app/core/system_details.h"
#include "core_fixture.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

const std::string kRule(113, '-');

std::vector<std::string> headerOfNewLog(const std::string& dataRow)
{
    return {"\t\t\t\t Operating System Details ",
            kRule,
            "OS Installed \t\tOS Service pack \tOS Language\t\t\tSPS Client",
            kRule,
            "client language detection failed due to File not found error.",
            "path=",
            dataRow};
}

class ErrorLogTest : public CoreTest {
protected:
    std::filesystem::path webFolders() const { return WebFoldersFolder(folder_.systemDrive()); }
};

TEST_F(ErrorLogTest, AFreshProgramFolderGetsTheLogWithItsHeaderAndTheClientLanguageIsStored)
{
    CreateDatabase();
    CreateLogFolderandFile();

    EXPECT_EQ(logLines(), headerOfNewLog("Windows XP Or Windows .NET Server\t\tService Pack 2\t\t"
                                         "English (United States)\t\tLanguage Neutral"));
    EXPECT_EQ(gLanguageSPS, "Language Neutral");
    EXPECT_EQ(GetSPSClientConfig(), "Language Neutral");
}

TEST_F(ErrorLogTest, OperatingSystemNamesFollowTheVersionTable)
{
    const struct {
        int major, minor;
        const char* name;
    } cases[] = {{5, 0, "Windows 2000"},
                 {5, 1, "Windows XP Or Windows .NET Server"},
                 {4, 10, "Have installed Os version < Windows 2000"},
                 {3, 51, "Have installed Os version < Windows 2000"},
                 {5, 2, ""},
                 {6, 0, ""},
                 {6, 1, ""}};
    for (const auto& c : cases) EXPECT_EQ(OsNameForVersion(c.major, c.minor), c.name) << c.major << "." << c.minor;
}

TEST_F(ErrorLogTest, AnUnreadableVersionWritesTheNotFoundLinesAndEmptyColumns)
{
    sys::SetOsVersionForTesting([] { return std::nullopt; });
    testing_support::ScopedEnv german("LANG", "de_DE.UTF-8");
    CreateDatabase();
    CreateLogFolderandFile();

    EXPECT_EQ(logLines(), (std::vector<std::string>{"OS Installed     =   ** NOT FOUND ** ",
                                                    "OS Service pack  =   ** NOT FOUND ** ",
                                                    "client language detection failed due to File not found error.",
                                                    "path=", "\t\t\t\tGerman (Germany)\t\tLanguage Neutral"}));
}

TEST_F(ErrorLogTest, AnInstalledClientFileIsFoundAndNoDetectionFailureIsLogged)
{
    std::filesystem::create_directories(webFolders() / "1031");
    WriteFile(webFolders() / "1033" / "nsextint.dll", "client");
    CreateDatabase();
    CreateLogFolderandFile();

    EXPECT_EQ(FindClientFile(webFolders()), webFolders() / "1033" / "nsextint.dll");
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "Windows XP Or Windows .NET Server\t\tService Pack 2\t\tEnglish (United States)\t\tLanguage Neutral");
}

TEST_F(ErrorLogTest, AWebFoldersFolderThatCannotBeListedEndsTheHeaderWithoutADataRow)
{
    WriteFile(webFolders(), "not a folder");
    gLanguageSPS = "before";
    CreateLogFolderandFile();

    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], kRule);
    EXPECT_EQ(lines[4], kLogTime + "No=76-due to -Path not foundin WriteSystemConfig");
    EXPECT_EQ(gLanguageSPS, "before");
}

TEST_F(ErrorLogTest, AnExistingLogIsAppendedToAndKeepsItsHeader)
{
    WriteFile(ErrorLogFile(), "old header\r\n");
    CreateLogFolderandFile();
    WriteErrorLog("No=5-due to -Invalid procedure call or argumentin GetDir");

    EXPECT_EQ(logLines(), (std::vector<std::string>{"old header", kLogTime + "No=5-due to -Invalid procedure call or argumentin GetDir"}));
}

TEST_F(ErrorLogTest, ADeletedLogIsCreatedAgainWithItsHeaderByTheNextError)
{
    CreateDatabase();
    CreateLogFolderandFile();
    std::filesystem::remove(ErrorLogFile());

    WriteErrorLog("No=13-due to -Type mismatchin AddDefaultSettings");
    auto expected = headerOfNewLog("Windows XP Or Windows .NET Server\t\tService Pack 2\t\t"
                                   "English (United States)\t\tLanguage Neutral");
    expected.push_back(kLogTime + "No=13-due to -Type mismatchin AddDefaultSettings");
    EXPECT_EQ(logLines(), expected);
}

TEST_F(ErrorLogTest, AnErrorBeforeTheDatabaseExistsStillGivesALogThatOpensWithItsHeader)
{
    WriteErrorLog("first");
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "\t\t\t\t Operating System Details ");
    // Storing the client language failed (no database yet) and said so.
    EXPECT_EQ(lines[6], kLogTime + "No=-2147467259-due to -Could not find file '" + SettingsDatabasePath().string() +
                            "'.in storeSPSClientConfig");
    EXPECT_EQ(lines[8], kLogTime + "first");
}

TEST_F(ErrorLogTest, ALogThatCannotBeWrittenSendsTheLineToStandardErrorAndTheStartGoesOn)
{
    // The program folder lies below a plain file: nothing can be created in it.
    WriteFile(programFolder() / "blocked", "");
    sys::SetProgramFolderForTesting(programFolder() / "blocked" / "Tarvex");

    testing::internal::CaptureStderr();
    CreateDatabase();
    CreateLogFolderandFile();
    WriteErrorLog("No=1-due to -lostin Test");
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_NE(errors.find(kLogTime + "No=1-due to -lostin Test\n"), std::string::npos);
    EXPECT_NE(errors.find("in CreateDatabase\n"), std::string::npos);
    EXPECT_NE(errors.find("in CreateLogFolderandFile\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(ErrorLogFile()));
}

TEST(StripNulls, DropsLeadingStarsCutsAtTheFirstNulAndTrims)
{
    const struct {
        std::string text;
        const char* result;
        const char* argumentAfter;
    } cases[] = {
        {std::string("**abc\0xyz", 9), "abc", "abc"},
        {" abc ", "abc", " abc "},
        {" *x", "*x", " *x"},
        {"*", "", ""},
        {"", "", ""},
        {"a*b", "a*b", "a*b"},
        {std::string("English (United States)\0\0\0", 26), "English (United States)", "English (United States)"},
    };
    for (const auto& c : cases) {
        std::string argument = c.text;
        EXPECT_EQ(StripNulls(argument), c.result);
        EXPECT_EQ(argument, c.argumentAfter);
    }
}

TEST(ErrorLogEntryText, RunsNumberDescriptionAndTagTogether)
{
    EXPECT_EQ(ErrorLogEntry(com::MakeHResult(0x80070057), "The parameter is incorrect.", "in CreateSubFolder"),
              "No=-2147024809-due to -The parameter is incorrect.in CreateSubFolder");
    EXPECT_EQ(ErrorLogEntry(91, "Object variable not set", " in Main"), "No=91-due to -Object variable not set in Main");
}

} // namespace
