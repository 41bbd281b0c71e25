#include "app/dialogs/installed_forms.h"

#include "app/dialogs/frm_importing.h"
#include "app/dialogs/frm_permissions.h"

void InstallDialogForms()
{
    static ImportingDialogView importing;
    static StoredRoleMapping roleMapping;
    InstallImportingForm(&importing);
    InstallRoleMappingForm(&roleMapping);
}
