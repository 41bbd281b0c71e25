#pragma once
// The role mapping as the settings table tblPermissions keeps it. The
// role-mapping dialog's AddDefaultSettings reads it through this.

#include "app/core/forms.h"

class ErrorTrap;

// The DestinationRole texts of the table's rows by position: Readers,
// Authors, Coordinators, and a fourth row or empty. A fifth row fails with
// kSubscriptOutOfRange and is skipped; every failure goes to the trap, and
// what could not be read stays empty.
RoleMapping ReadRoleMapping(ErrorTrap& trap);
