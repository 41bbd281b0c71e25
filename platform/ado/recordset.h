#pragma once
// A static, read-only record set: named fields and materialised rows with a
// cursor, as folder listings and database queries return them.

#include "platform/com/variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace ado {

// Error numbers of the data-access layer.
inline constexpr com::HRESULT adErrItemNotFound = 3265;     // no field of that name or position
inline constexpr com::HRESULT adErrNoCurrentRecord = 3021;  // BOF or EOF
inline constexpr com::HRESULT adErrObjectClosed = com::MakeHResult(0x800A0E78);

class Recordset {
public:
    using Row = std::vector<com::Variant>;

    // A closed record set: every read fails.
    Recordset() = default;
    // An open record set standing on its first row (EOF when there is none).
    Recordset(std::vector<std::string> fieldNames, std::vector<Row> rows);
    virtual ~Recordset() = default;
    Recordset(const Recordset&) = default;
    Recordset& operator=(const Recordset&) = default;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;

    bool isOpen() const { return open_; }
    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveNext();
    void moveLast();
    int recordCount() const;

    int fieldCount() const;
    const std::string& fieldName(int index) const;
    // Fields of the current row; names match without regard to case. Reading
    // at BOF/EOF throws adErrNoCurrentRecord, an unknown field adErrItemNotFound.
    const com::Variant& field(int index) const;
    const com::Variant& field(std::string_view name) const;

    void close();

protected:
    int fieldIndex(std::string_view name) const; // -1 when there is none
    std::vector<Row>& rows() { return rows_; }
    int position() const { return position_; }
    void setPosition(int position) { position_ = position; }
    const std::vector<std::string>& fieldNames() const { return fieldNames_; }

private:
    void requireOpen() const;
    const Row& currentRow() const;

    bool open_ = false;
    std::vector<std::string> fieldNames_;
    std::vector<Row> rows_;
    int position_ = 0;
};

} // namespace ado
