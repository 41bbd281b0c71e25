#pragma once
// An updatable record set on one table: the table's rows as they stand, plus
// new rows added with addNew / setField / update, which go into the table over
// the same connection (and so inside its transaction, when one is open).

#include "platform/ado/connection.h"

#include <optional>
#include <string>
#include <string_view>

namespace ado {

inline constexpr com::HRESULT adErrIllegalOperation = com::MakeHResult(0x800A0C93); // 3219

// Refuses (adErrStatement) a table name that is not a plain identifier, so
// that no name can carry SQL of its own.
void RequirePlainTableName(const std::string& table);

class TableRecordset : public Recordset {
public:
    // Opens "select * from <table>"; the name must be a plain identifier.
    TableRecordset(Connection& connection, std::string table);

    // Starts a new row with every field empty.
    void addNew();
    // Sets a field of the new row by name (without regard to case).
    void setField(std::string_view name, const com::Variant& value);
    // Writes the new row to the table; it becomes the current row.
    void update();

private:
    Connection& connection_;
    std::string table_;
    std::optional<Row> pending_;
};

} // namespace ado
