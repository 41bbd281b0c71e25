#include "app/core/error_trap.h"
#include "app/core/settings_database.h"
#include "core_fixture.h"
#include "platform/ui/do_events.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

using Rows = std::vector<std::vector<std::string>>;

Rows tableRows(const std::string& table)
{
    SettingsConnection connection;
    connection.open();
    Rows rows;
    for (ado::Recordset records = connection.select(table); !records.eof(); records.moveNext()) {
        std::vector<std::string> row;
        for (int field = 0; field < records.fieldCount(); ++field) row.push_back(records.field(field).toString());
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> tableDefinitions()
{
    SettingsConnection connection;
    connection.open();
    std::vector<std::string> definitions;
    for (ado::Recordset records = connection.select("sqlite_master"); !records.eof(); records.moveNext())
        definitions.push_back(records.field("sql").toString());
    return definitions;
}

using SettingsDatabaseTest = CoreTest;

TEST_F(SettingsDatabaseTest, AFreshFolderGetsTheFourTablesAndTheDefaultRows)
{
    CreateDatabase();

    // SQLite keeps each statement as written, with its first two words in capitals.
    std::vector<std::string> expected;
    for (const std::string& statement : SettingsTableDefinitions()) expected.push_back("CREATE TABLE" + statement.substr(12));
    EXPECT_EQ(tableDefinitions(), expected);
    EXPECT_EQ(SettingsTableDefinitions()[1], "Create Table tblPermissions(SourceRole  text(255),DestinationRole text(255))");
    EXPECT_EQ(tableRows("tblPermissions"), (Rows{{"Readers", "0"}, {"Authors", "1"}, {"Coordinators", "2"}}));
    EXPECT_EQ(tableRows("tblSecurity"), (Rows{{"True"}}));
    EXPECT_TRUE(tableRows("tblPreimportSettings").empty());
    EXPECT_TRUE(tableRows("tblSPSClient").empty());
    EXPECT_FALSE(std::filesystem::exists(ErrorLogFile())); // nothing failed
}

TEST_F(SettingsDatabaseTest, AnExistingFileIsLeftAsItIs)
{
    WriteFile(SettingsDatabasePath(), "someone else's data");
    CreateDatabase();
    EXPECT_EQ(ReadFile(SettingsDatabasePath()), "someone else's data");
}

TEST_F(SettingsDatabaseTest, ADeletedDatabaseIsCreatedAgainWithTheDefaults)
{
    CreateDatabase();
    ErrorTrap trap("in Test");
    RewriteSettingsTable(trap, "tblPermissions", {{{"SourceRole", "Readers"}, {"DestinationRole", "2"}}});
    std::filesystem::remove(SettingsDatabasePath());

    CreateDatabase();
    EXPECT_EQ(tableRows("tblPermissions"), (Rows{{"Readers", "0"}, {"Authors", "1"}, {"Coordinators", "2"}}));
}

TEST_F(SettingsDatabaseTest, TheClientLanguageRowIsReplacedNotAdded)
{
    CreateDatabase();
    storeSPSClientConfig("English (United States)");
    storeSPSClientConfig("German (Germany)");

    EXPECT_EQ(tableRows("tblSPSClient"), (Rows{{"German (Germany)"}}));
    EXPECT_EQ(GetSPSClientConfig(), "German (Germany)");
}

TEST_F(SettingsDatabaseTest, AnEmptyClientTableReadsAsEmptyTextAndTheFailureIsLogged)
{
    CreateDatabase();
    EXPECT_EQ(GetSPSClientConfig(), "");
    EXPECT_EQ(lastLogLine(), kLogTime + "No=3021-due to -Either BOF or EOF is True, or the current record has been "
                                        "deleted. Requested operation requires a current record.in GetSPSClientConfig");
}

TEST_F(SettingsDatabaseTest, WithoutTheDatabaseARewriteLogsAndCreatesNothing)
{
    storeSPSClientConfig("French (France)");
    EXPECT_FALSE(std::filesystem::exists(SettingsDatabasePath()));
    EXPECT_EQ(lastLogLine(), kLogTime + "No=-2147467259-due to -Could not find file '" + SettingsDatabasePath().string() +
                                 "'.in storeSPSClientConfig");
}

TEST_F(SettingsDatabaseTest, ARewriteThatFailsHalfWayKeepsTheOldRows)
{
    CreateDatabase();
    SettingsConnection connection;
    connection.open();
    EXPECT_THROW(connection.rewriteTable("tblPermissions", {{{"SourceRole", "Readers"}, {"DestinationRole", "1"}},
                                                            {{"NoSuchColumn", "x"}}}),
                 com::ComError);
    connection.close();
    EXPECT_EQ(tableRows("tblPermissions"), (Rows{{"Readers", "0"}, {"Authors", "1"}, {"Coordinators", "2"}}));
}

TEST_F(SettingsDatabaseTest, ARewriteGivesTheMessageLoopATurnBetweenItsSteps)
{
    CreateDatabase();
    int turns = 0;
    ui::DoEventsHook hook([&](int turn) { turns = turn; });
    SettingsConnection connection;
    connection.open();
    connection.rewriteTable("tblPreimportSettings",
                            {{{"PropertyName", "Author"}, {"MetaData", "Smith"}, {"Checked", "True"}, {"DataType", "Text"}},
                             {{"PropertyName", "Due"}, {"MetaData", "1/2/2026"}, {"Checked", "False"}, {"DataType", "Date"}}});
    connection.close();

    EXPECT_EQ(turns, 4); // after the deletion, after opening the rows, after each new row
    EXPECT_EQ(tableRows("tblPreimportSettings"),
              (Rows{{"Author", "Smith", "True", "Text"}, {"Due", "1/2/2026", "False", "Date"}}));
}

} // namespace

// The rows of a settings table, once read, are read again after the
// database changed: rewritten by this process, written by another one, or
// replaced by another file.
TEST_F(SettingsDatabaseTest, TableRowsAreReadAgainOnceTheDatabaseChanged)
{
    CreateDatabase();
    const auto permissionRows = [] {
        Rows rows;
        for (ado::Recordset records = SelectSettingsTable("tblPermissions"); !records.eof(); records.moveNext())
            rows.push_back({records.field(0).toString(), records.field(1).toString()});
        return rows;
    };
    const auto mappingTo = [](const std::string& destination) {
        return std::vector<SettingsRow>{{{"SourceRole", "Readers"}, {"DestinationRole", destination}}};
    };
    const auto rewrite = [](const std::vector<SettingsRow>& rows) {
        SettingsConnection connection;
        connection.open();
        connection.rewriteTable("tblPermissions", rows);
    };
    struct Change {
        const char* how;
        std::function<void(const std::vector<SettingsRow>&)> write;
    };
    const Change changes[] = {
        {"rewritten by this process", rewrite},
        {"written by another process",
         [&](const std::vector<SettingsRow>& rows) {
             const pid_t child = ::fork();
             if (child == 0) {
                 rewrite(rows);
                 ::_exit(0);
             }
             int status = 1;
             ::waitpid(child, &status, 0);
             ASSERT_EQ(status, 0);
         }},
        {"replaced by another file",
         [](const std::vector<SettingsRow>& rows) {
             const std::filesystem::path file = SettingsDatabasePath();
             const std::filesystem::path replacement = file.string() + ".new";
             std::filesystem::copy_file(file, replacement);
             ado::Connection connection;
             connection.open(replacement, "", "");
             connection.execute("delete from tblPermissions");
             connection.execute("insert into tblPermissions values ('Readers', '" + rows[0][1].second + "')");
             connection.close();
             std::filesystem::rename(replacement, file);
         }},
    };
    EXPECT_EQ(permissionRows(), (Rows{{"Readers", "0"}, {"Authors", "1"}, {"Coordinators", "2"}}));
    int destination = 0;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.how);
        const std::string expected = std::to_string(++destination);
        change.write(mappingTo(expected));
        EXPECT_EQ(permissionRows(), (Rows{{"Readers", expected}}));
    }
}
