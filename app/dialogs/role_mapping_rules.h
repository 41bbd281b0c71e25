#pragma once
// The role mapping as the role-mapping dialog shows and stores it: each source
// role's drop-down list holds the three role names, and the selected position
// (0 Readers, 1 Authors, 2 Coordinators, -1 none) is the stored code.

#include "app/core/forms.h"
#include "app/core/settings_database.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

class ErrorTrap;

// The roles in the order of the table's rows and of each list's entries.
inline constexpr std::array<const char*, 3> kRoleNames = {"Readers", "Authors", "Coordinators"};

// The list position a stored code selects: -1 for none. A code that is no
// number raises kTypeMismatch, one outside -1 to 2 kInvalidPropertyValue.
int RolePositionFromCode(std::string_view code);

// The rows of tblPermissions for the selected positions of the Readers,
// Authors and Coordinators lists, in that order.
std::vector<SettingsRow> RoleMappingRows(const std::array<int, 3>& positions);

// Reads the stored mapping (tblPermissions by position) and hands the list
// position of each of the three source roles to select; every failure goes to
// the trap, and a role whose code cannot be shown is not handed over.
RoleMapping ReadRoleMappingPositions(ErrorTrap& trap, const std::function<void(int role, int position)>& select);
