#pragma once
// The dialogs the replication engine reaches through app/core/forms.h.

// Installs frmImporting and frmPermissions as the engine's progress dialog and
// role-mapping dialog; the program calls it once at start-up.
void InstallDialogForms();
