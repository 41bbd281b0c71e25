#include "platform/ado/connection.h"

#include <sqlite3.h>

#include <regex>

namespace ado {

namespace {

constexpr int kBusyTimeoutMilliseconds = 2000;

com::Variant columnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return com::Variant::Null();
    case SQLITE_INTEGER: return com::Variant(std::int32_t(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT: return com::Variant(sqlite3_column_double(statement, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return com::Variant(std::string(text ? text : ""));
    }
    }
}

// Finalizes the prepared statement whatever happens.
class Statement {
public:
    Statement(sqlite3* database, std::string_view sql)
    {
        const std::string translated = ToSqliteDialect(sql);
        result_ = sqlite3_prepare_v2(database, translated.c_str(), int(translated.size()), &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool prepared() const { return result_ == SQLITE_OK && statement_; }
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
    int result_ = SQLITE_OK;
};

} // namespace

void FailWithDatabaseError(sqlite3* database, com::HRESULT number)
{
    const std::string message = sqlite3_errmsg(database);
    const int code = sqlite3_errcode(database) & 0xFF;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) throw DatabaseLocked(adErrDatabase, message);
    throw com::ComError(number, message);
}

void CreateDatabaseFile(const std::filesystem::path& file)
{
    if (std::filesystem::exists(file))
        throw com::ComError(adErrDatabase, "Database already exists.");
    sqlite3* database = nullptr;
    const int result = sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // Writing the schema version makes SQLite lay down the file's header now.
    const int written = result == SQLITE_OK ? sqlite3_exec(database, "PRAGMA user_version = 0", nullptr, nullptr, nullptr) : result;
    const std::string message = database ? sqlite3_errmsg(database) : "out of memory";
    sqlite3_close(database);
    if (result != SQLITE_OK || written != SQLITE_OK)
        throw com::ComError(adErrDatabase, "Could not create the database '" + file.string() + "': " + message);
}

std::string ToSqliteDialect(std::string_view statement)
{
    static const std::regex jetDelete(R"(^\s*delete\s+\*\s+from\s)", std::regex::icase);
    return std::regex_replace(std::string(statement), jetDelete, "delete from ", std::regex_constants::format_first_only);
}

Connection::~Connection() { close(); }

void Connection::open(const std::filesystem::path& file, const std::string&, const std::string&)
{
    close();
    if (!std::filesystem::is_regular_file(file))
        throw com::ComError(adErrDatabase, "Could not find file '" + file.string() + "'.");
    if (sqlite3_open_v2(file.c_str(), &database_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string message = database_ ? sqlite3_errmsg(database_) : "out of memory";
        close();
        throw com::ComError(adErrDatabase, "Could not open '" + file.string() + "': " + message);
    }
    sqlite3_busy_timeout(database_, kBusyTimeoutMilliseconds);
}

void Connection::setBusyTimeout(std::chrono::milliseconds timeout)
{
    sqlite3_busy_timeout(handle(), int(timeout.count()));
}

void Connection::close()
{
    if (!database_) return;
    sqlite3_close_v2(database_);
    database_ = nullptr;
}

sqlite3* Connection::handle() const
{
    if (!database_) throw com::ComError(adErrObjectClosed, "Operation is not allowed when the object is closed.");
    return database_;
}

void Connection::fail(com::HRESULT number) const { FailWithDatabaseError(database_, number); }

void Connection::execute(std::string_view sql)
{
    Statement statement(handle(), sql);
    if (!statement.prepared()) fail(adErrStatement);
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (step != SQLITE_DONE) fail(adErrDatabase);
}

Recordset Connection::openStatic(std::string_view sql)
{
    Statement statement(handle(), sql);
    if (!statement.prepared()) fail(adErrStatement);
    std::vector<std::string> names;
    const int columns = sqlite3_column_count(statement.get());
    for (int column = 0; column < columns; ++column) names.emplace_back(sqlite3_column_name(statement.get(), column));

    std::vector<Recordset::Row> rows;
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        Recordset::Row row;
        for (int column = 0; column < columns; ++column) row.push_back(columnValue(statement.get(), column));
        rows.push_back(std::move(row));
    }
    if (step != SQLITE_DONE) fail(adErrDatabase);
    return Recordset(std::move(names), std::move(rows));
}

void Connection::beginTrans() { execute("BEGIN IMMEDIATE"); }
void Connection::commitTrans() { execute("COMMIT"); }

Transaction::Transaction(Connection& connection) : connection_(connection) { connection_.beginTrans(); }

Transaction::~Transaction()
{
    if (finished_ || connection_.state() != adStateOpen) return;
    if (sqlite3_get_autocommit(connection_.handle()) == 0)
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    connection_.commitTrans();
    finished_ = true;
}

} // namespace ado
