#include "app/core/settings_connection.h"

#include "platform/ado/table_recordset.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/do_events.h"

#include <chrono>
#include <map>
#include <optional>
#include <sys/stat.h>

namespace {

// How long a rewrite waits for another process's lock in all, as a read
// does; and how long each attempt waits before the message loop gets a turn.
constexpr std::chrono::milliseconds kLockWait{2000};
constexpr std::chrono::milliseconds kLockAttempt{50};

// Raised by every write of this process, so that what was read before it is
// read again even when the file's times do not tell the change.
std::uint64_t writesMade = 0;

// What tells one state of the database file from another.
struct FileStamp {
    std::filesystem::path path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    std::uint64_t writes = 0;

    bool operator==(const FileStamp& other) const
    {
        const auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
        return path == other.path && device == other.device && inode == other.inode && size == other.size
            && same(modified, other.modified) && same(changed, other.changed) && writes == other.writes;
    }
};

std::optional<FileStamp> stampOf(const std::filesystem::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileStamp{path, status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim, writesMade};
}

struct CachedTable {
    FileStamp stamp;
    ado::Recordset rows;
};

std::map<std::string, CachedTable>& cachedTables()
{
    static std::map<std::string, CachedTable> tables;
    return tables;
}

// Per table, the number (in writesMade) of the newest rewrite written.
std::map<std::string, std::uint64_t>& writtenRewrites()
{
    static std::map<std::string, std::uint64_t> rewrites;
    return rewrites;
}

void replaceRows(ado::Connection& connection, const std::string& table, const std::vector<SettingsRow>& rows)
{
    ado::Transaction transaction(connection);
    connection.execute("delete * from " + table);
    ado::TableRecordset records(connection, table);
    for (const SettingsRow& row : rows) {
        records.addNew();
        for (const auto& [column, value] : row) records.setField(column, value);
        records.update();
    }
    transaction.commit();
}

} // namespace

std::filesystem::path SettingsDatabasePath() { return sys::ProgramFolder() / "TarvexDB.mdb"; }

void SettingsConnection::open() { connection_.open(SettingsDatabasePath(), "", ""); }

void SettingsConnection::execute(const std::string& statement)
{
    ++writesMade;
    connection_.execute(statement);
}

ado::Recordset SettingsConnection::select(const std::string& table)
{
    ado::RequirePlainTableName(table);
    return connection_.openStatic("select * from " + table);
}

void SettingsConnection::rewriteTable(const std::string& table, const std::vector<SettingsRow>& rows)
{
    ado::RequirePlainTableName(table);
    const std::uint64_t rewrite = ++writesMade;
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    connection_.setBusyTimeout(kLockAttempt);
    std::uint64_t& newestWritten = writtenRewrites()[table];
    while (newestWritten < rewrite) {
        try {
            replaceRows(connection_, table, rows);
            newestWritten = rewrite;
        } catch (const ado::DatabaseLocked&) {
            if (std::chrono::steady_clock::now() >= deadline) throw;
            ui::DoEvents();
        }
    }
}

ado::Recordset SelectSettingsTable(const std::string& table)
{
    const std::optional<FileStamp> before = stampOf(SettingsDatabasePath());
    auto& tables = cachedTables();
    if (const auto cached = tables.find(table); before && cached != tables.end() && cached->second.stamp == *before)
        return cached->second.rows;

    SettingsConnection connection;
    connection.open();
    ado::Recordset rows = connection.select(table);
    connection.close();
    // Kept only when nothing changed the file while it was read.
    if (before && stampOf(SettingsDatabasePath()) == before) tables.insert_or_assign(table, CachedTable{*before, rows});
    return rows;
}
