#include "app/dialogs/role_mapping_rules.h"

#include "app/core/error_trap.h"
#include "app/engine/role_mapping_table.h"
#include "app/engine/runtime_values.h"
#include "platform/ui/control_errors.h"

int RolePositionFromCode(std::string_view code)
{
    const int position = IntegerFromText(code);
    if (position < -1 || position >= int(kRoleNames.size())) ui::RaiseControlError(ui::kInvalidPropertyValue);
    return position;
}

std::vector<SettingsRow> RoleMappingRows(const std::array<int, 3>& positions)
{
    std::vector<SettingsRow> rows;
    for (std::size_t role = 0; role < kRoleNames.size(); ++role)
        rows.push_back({{"SourceRole", kRoleNames[role]}, {"DestinationRole", std::to_string(positions[role])}});
    return rows;
}

RoleMapping ReadRoleMappingPositions(ErrorTrap& trap, const std::function<void(int role, int position)>& select)
{
    const RoleMapping mapping = ReadRoleMapping(trap);
    for (std::size_t role = 0; role < kRoleNames.size(); ++role)
        trap.step([&] { select(int(role), RolePositionFromCode(mapping[role])); });
    return mapping;
}
