#include "app/core/error_trap.h"
#include "app/core/settings_database.h"
#include "core_fixture.h"
#include "platform/ui/do_events.h"

#include <stdexcept>
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

// Holds the settings database's lock from another process, as another
// program writing the file would, until released.
class LockHeldByAnotherProcess {
public:
    LockHeldByAnotherProcess()
    {
        int locked[2], release[2];
        if (::pipe(locked) != 0 || ::pipe(release) != 0) throw std::runtime_error("no pipe");
        child_ = ::fork();
        if (child_ == 0) {
            ::close(locked[0]);
            ::close(release[1]);
            ado::Connection connection;
            connection.open(SettingsDatabasePath(), "", "");
            connection.execute("BEGIN EXCLUSIVE");
            char byte = 1;
            (void)!::write(locked[1], &byte, 1);
            (void)!::read(release[0], &byte, 1); // until the write end closes
            ::_exit(0);
        }
        ::close(locked[1]);
        ::close(release[0]);
        releaseEnd_ = release[1];
        char byte = 0;
        if (::read(locked[0], &byte, 1) != 1) throw std::runtime_error("the other process took no lock");
        ::close(locked[0]);
    }
    ~LockHeldByAnotherProcess() { release(); }

    void release()
    {
        if (releaseEnd_ < 0) return;
        ::close(releaseEnd_);
        releaseEnd_ = -1;
        ::waitpid(child_, nullptr, 0);
    }

private:
    pid_t child_ = -1;
    int releaseEnd_ = -1;
};

// While another process holds the lock, a rewrite waits with the message
// loop turning; writes the user starts in those turns wait too, and once the
// lock is gone every one of them lands: the newest rows of a table win, and
// no write fails for meeting another of this process.
TEST_F(SettingsDatabaseTest, WritesStartedWhileAnotherProcessHoldsTheLockAllLand)
{
    CreateDatabase();
    const auto mapping = [](const std::string& readers, const std::string& authors) {
        return std::vector<SettingsRow>{{{"SourceRole", "Readers"}, {"DestinationRole", readers}},
                                        {{"SourceRole", "Authors"}, {"DestinationRole", authors}}};
    };
    LockHeldByAnotherProcess lock;
    int turns = 0;
    ui::DoEventsHook hook([&](int turn) {
        turns = turn;
        if (turn == 1) {
            ErrorTrap trap("in Second");
            RewriteSettingsTable(trap, "tblPermissions", mapping("2", "0"));
        }
        if (turn == 2) storeSPSClientConfig("German (Germany)");
        if (turn == 3) lock.release();
    });
    ErrorTrap trap("in First");
    RewriteSettingsTable(trap, "tblPermissions", mapping("1", "1"));

    EXPECT_GE(turns, 3);
    EXPECT_EQ(tableRows("tblPermissions"), (Rows{{"Readers", "2"}, {"Authors", "0"}})) << "the newer mapping stays";
    EXPECT_EQ(tableRows("tblSPSClient"), (Rows{{"German (Germany)"}}));
    EXPECT_TRUE(logLines().empty()) << lastLogLine();
}

// A lock that another process keeps beyond the wait fails the write as any
// failed step of the procedure does: logged with its tag, the old rows kept.
// The window was not frozen meanwhile.
TEST_F(SettingsDatabaseTest, AWriteThatFindsTheDatabaseLockedThroughoutIsLogged)
{
    CreateDatabase();
    CreateLogFolderandFile();
    storeSPSClientConfig("English (United States)");
    const std::size_t logged = logLines().size();
    LockHeldByAnotherProcess lock;
    int turns = 0;
    ui::DoEventsHook hook([&](int turn) { turns = turn; });

    storeSPSClientConfig("German (Germany)");

    EXPECT_GE(turns, 5) << "the message loop turned while the write waited";
    EXPECT_EQ(logLines().size(), logged + 1);
    EXPECT_EQ(lastLogLine(), kLogTime + "No=-2147467259-due to -database is lockedin storeSPSClientConfig");
    lock.release();
    EXPECT_EQ(tableRows("tblSPSClient"), (Rows{{"English (United States)"}}));
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
