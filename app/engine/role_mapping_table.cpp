#include "app/engine/role_mapping_table.h"

#include "app/core/error_trap.h"
#include "app/core/runtime_errors.h"
#include "app/core/settings_database.h"
#include "app/engine/record_walk.h"

RoleMapping ReadRoleMapping(ErrorTrap& trap)
{
    RoleMapping mapping;
    ado::Recordset rows = trap.value([] { return SelectSettingsTable("tblPermissions"); }, EmptyRecordset());
    std::size_t position = 0;
    for (; !AtEnd(trap, rows); MoveNext(trap, rows), ++position) {
        trap.step([&] {
            if (position >= mapping.size()) RaiseRuntimeError(kSubscriptOutOfRange);
            mapping[position] = FieldText(rows, 1);
        });
    }
    return mapping;
}
