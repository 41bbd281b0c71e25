#pragma once
// A connection to a database file (SQLite underneath): statements, transactions
// and static record sets. Statements may be written in the Jet dialect the
// program uses ("delete * from T"); they are translated before they run.

#include "platform/ado/recordset.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

struct sqlite3;

namespace ado {

inline constexpr int adStateClosed = 0;
inline constexpr int adStateOpen = 1;

// Error numbers of the database layer.
inline constexpr com::HRESULT adErrDatabase = com::MakeHResult(0x80004005);  // cannot open / create / locked
inline constexpr com::HRESULT adErrStatement = com::MakeHResult(0x80040E14); // a statement the engine refuses

// A statement that could not run because another connection (of this or of
// another process) holds the lock it needs, and did not let go within the
// connection's busy timeout. Nothing of the statement was done.
class DatabaseLocked : public com::ComError {
public:
    using ComError::ComError;
};

// Throws what the database reported for its last call: DatabaseLocked when
// that call met another connection's lock, else ComError(number).
[[noreturn]] void FailWithDatabaseError(sqlite3* database, com::HRESULT number);

// Creates a new, empty database file; fails when the file exists already.
void CreateDatabaseFile(const std::filesystem::path& file);

// The statement in SQLite's dialect: "delete * from T" becomes "delete from T";
// everything else is passed on unchanged.
std::string ToSqliteDialect(std::string_view statement);

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file; a missing file is an error (it is
    // never created here). User and password are accepted and not used.
    void open(const std::filesystem::path& file, const std::string& user = "", const std::string& password = "");
    int state() const { return database_ ? adStateOpen : adStateClosed; }
    void close();
    // How long a statement waits for another connection's lock before it
    // fails with DatabaseLocked; two seconds unless set.
    void setBusyTimeout(std::chrono::milliseconds timeout);

    void execute(std::string_view statement);
    // A read-only snapshot of the statement's rows, standing on the first.
    Recordset openStatic(std::string_view statement);

    void beginTrans();
    void commitTrans();

    sqlite3* handle() const;

private:
    [[noreturn]] void fail(com::HRESULT number) const;

    sqlite3* database_ = nullptr;
};

// Rolls the transaction back when it goes out of scope without commit(), so
// that a failure half-way leaves the tables as they were.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    bool finished_ = false;
};

} // namespace ado
