#include "platform/ado/recordset.h"

#include <strings.h>

namespace ado {

Recordset::Recordset(std::vector<std::string> fieldNames, std::vector<Row> rows)
    : open_(true), fieldNames_(std::move(fieldNames)), rows_(std::move(rows))
{
}

void Recordset::requireOpen() const
{
    if (!open_) throw com::ComError(adErrObjectClosed, "Operation is not allowed when the object is closed.");
}

bool Recordset::eof() const
{
    requireOpen();
    return position_ >= int(rows_.size());
}

bool Recordset::bof() const
{
    requireOpen();
    return position_ < 0 || rows_.empty();
}

void Recordset::moveFirst()
{
    requireOpen();
    position_ = 0;
}

void Recordset::moveNext()
{
    if (eof()) throw com::ComError(adErrNoCurrentRecord, "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    ++position_;
}

void Recordset::moveLast()
{
    requireOpen();
    position_ = rows_.empty() ? 0 : int(rows_.size()) - 1;
}

int Recordset::recordCount() const
{
    requireOpen();
    return int(rows_.size());
}

int Recordset::fieldCount() const
{
    requireOpen();
    return int(fieldNames_.size());
}

const std::string& Recordset::fieldName(int index) const
{
    requireOpen();
    if (index < 0 || index >= int(fieldNames_.size()))
        throw com::ComError(adErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    return fieldNames_[std::size_t(index)];
}

int Recordset::fieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < fieldNames_.size(); ++i)
        if (fieldNames_[i].size() == name.size() && strncasecmp(fieldNames_[i].data(), name.data(), name.size()) == 0)
            return int(i);
    return -1;
}

const Recordset::Row& Recordset::currentRow() const
{
    if (eof() || bof())
        throw com::ComError(adErrNoCurrentRecord, "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    return rows_[std::size_t(position_)];
}

const com::Variant& Recordset::field(int index) const
{
    fieldName(index);
    const Row& row = currentRow();
    static const com::Variant empty;
    return std::size_t(index) < row.size() ? row[std::size_t(index)] : empty;
}

const com::Variant& Recordset::field(std::string_view name) const
{
    requireOpen();
    const int index = fieldIndex(name);
    if (index < 0)
        throw com::ComError(adErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    return field(index);
}

void Recordset::close()
{
    open_ = false;
    rows_.clear();
    fieldNames_.clear();
    position_ = 0;
}

} // namespace ado
