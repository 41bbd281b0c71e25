// The settings dialogs that the menus and tool bars show modally, owned by the
// main window.

#include "app/mainwindow/frm_main_gui.h"

// The filter-settings (frmFilterSettings) and role-mapping (frmPermissions)
// dialogs come with the dialogs work.

void FrmMainGUI::ShowFilterSettings() {}
void FrmMainGUI::ShowRoleMapping() {}
