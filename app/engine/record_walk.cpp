#include "app/engine/record_walk.h"

#include "app/core/error_trap.h"
#include "platform/store/sps.h"

ado::Recordset EmptyRecordset() { return ado::Recordset({}, {}); }

bool AtEnd(ErrorTrap& trap, const ado::Recordset& rows)
{
    return trap.value([&] { return rows.eof(); }, true);
}

void MoveNext(ErrorTrap& trap, ado::Recordset& rows)
{
    trap.step([&] { rows.moveNext(); });
}

std::string FieldText(const ado::Recordset& rows, int index)
{
    const com::Variant& value = rows.field(index);
    return value.isNull() ? std::string() : value.toString();
}

std::string RowName(ErrorTrap& trap, const ado::Recordset& rows)
{
    return trap.value([&] { return FieldText(rows, 0); });
}

ado::Recordset FolderItemsOrEmpty(ErrorTrap& trap, const std::string& url)
{
    store::SpsFolder folder;
    folder.setPreOpenFlag(false);
    trap.step([&] { folder.DataSource().Open(url, 0, -1); });
    return trap.value([&] { return folder.Items(); }, EmptyRecordset());
}
