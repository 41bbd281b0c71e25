// The settings dialogs that the menus and tool bars show modally, owned by the
// main window: each loads afresh and is unloaded when it closes.

#include "app/mainwindow/frm_main_gui.h"

#include "app/dialogs/frm_filter_settings.h"
#include "app/dialogs/frm_permissions.h"
#include "platform/ui/modal_dialog.h"

void FrmMainGUI::ShowFilterSettings()
{
    frmFilterSettings filter(this);
    ui::ShowModal(filter);
}

void FrmMainGUI::ShowRoleMapping()
{
    frmPermissions mapping(this);
    ui::ShowModal(mapping);
}
