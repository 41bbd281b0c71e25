#pragma once
// SettingsConnection: the one way every procedure reads or rewrites a table of
// the settings database TarvexDB.mdb in the program folder.

#include "platform/ado/connection.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

std::filesystem::path SettingsDatabasePath();

// One new row: (column name, text) pairs.
using SettingsRow = std::vector<std::pair<std::string, std::string>>;

// A connection to the settings database for one operation; nothing stays open
// beyond it.
class SettingsConnection {
public:
    // Opens the database file; raises an error when it is missing or unreadable.
    void open();
    bool isOpen() const { return connection_.state() == ado::adStateOpen; }
    void execute(const std::string& statement);
    // "select * from <table>": the table's rows in the order they were added.
    ado::Recordset select(const std::string& table);
    // Replaces every row of the table by the new rows in one transaction, in
    // which the message loop gets no turn: two writes of this process never
    // meet, and when a step fails the table keeps its old rows. While another
    // process holds the database's lock, the rewrite waits for it up to two
    // seconds, giving the message loop turns outside the transaction, then
    // raises ado::DatabaseLocked. A rewrite that a newer one of the same
    // table overtook during those turns is not written over it.
    void rewriteTable(const std::string& table, const std::vector<SettingsRow>& rows);
    void close() { connection_.close(); }

private:
    ado::Connection connection_;
};

// The rows of a table as "select * from <table>" gives them. They are read
// through a SettingsConnection the first time and again only once the
// database has changed: written by this process, or replaced or written by
// another one (the file's identity, size and times tell). Raises what open()
// and select() raise.
ado::Recordset SelectSettingsTable(const std::string& table);
