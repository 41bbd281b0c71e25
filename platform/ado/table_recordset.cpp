#include "platform/ado/table_recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace ado {

namespace {

bool isPlainIdentifier(std::string_view name)
{
    return !name.empty() && !std::isdigit(static_cast<unsigned char>(name.front())) &&
           std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

const std::string& checkedTableName(const std::string& table)
{
    RequirePlainTableName(table);
    return table;
}

void bindValue(sqlite3_stmt* statement, int position, const com::Variant& value)
{
    const com::Variant& v = value.deref();
    switch (v.type()) {
    case com::VT_EMPTY:
    case com::VT_NULL: sqlite3_bind_null(statement, position); break;
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1: sqlite3_bind_int(statement, position, v.toInt32()); break;
    case com::VT_R4:
    case com::VT_R8: sqlite3_bind_double(statement, position, v.toDouble()); break;
    default: {
        const std::string text = v.toString();
        sqlite3_bind_text(statement, position, text.c_str(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
}

[[noreturn]] void fail(sqlite3* database) { FailWithDatabaseError(database, adErrDatabase); }

} // namespace

void RequirePlainTableName(const std::string& table)
{
    if (!isPlainIdentifier(table)) throw com::ComError(adErrStatement, "Invalid table name '" + table + "'.");
}

TableRecordset::TableRecordset(Connection& connection, std::string table)
    : Recordset(connection.openStatic("select * from " + checkedTableName(table))),
      connection_(connection),
      table_(std::move(table))
{
}

void TableRecordset::addNew() { pending_ = Row(std::size_t(fieldCount())); }

void TableRecordset::setField(std::string_view name, const com::Variant& value)
{
    if (!pending_) throw com::ComError(adErrIllegalOperation, "Operation is not allowed in this context.");
    const int index = fieldIndex(name);
    if (index < 0)
        throw com::ComError(adErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    (*pending_)[std::size_t(index)] = value;
}

void TableRecordset::update()
{
    if (!pending_) throw com::ComError(adErrIllegalOperation, "Operation is not allowed in this context.");
    std::string columns, placeholders;
    for (const std::string& name : fieldNames()) {
        columns += (columns.empty() ? "\"" : ",\"") + name + "\"";
        placeholders += placeholders.empty() ? "?" : ",?";
    }
    const std::string sql = "insert into \"" + table_ + "\"(" + columns + ") values(" + placeholders + ")";

    sqlite3* database = connection_.handle();
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(database, sql.c_str(), int(sql.size()), &prepared, nullptr) != SQLITE_OK) fail(database);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(prepared, &sqlite3_finalize);
    for (std::size_t i = 0; i < pending_->size(); ++i) bindValue(statement.get(), int(i) + 1, (*pending_)[i]);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) fail(database);

    rows().push_back(std::move(*pending_));
    pending_.reset();
    setPosition(int(rows().size()) - 1);
}

} // namespace ado
