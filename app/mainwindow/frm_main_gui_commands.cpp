// The window's commands: connect, disconnect and refresh each pane, queue and
// run profile copies, replicate, and exit.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/shared_state.h"
#include "app/dialogs/frm_connecting.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal_dialog.h"

// There is one connect dialog: connecting the source replaces a destination
// dialog left open.
void FrmMainGUI::DoRealConnection()
{
    gIsSourceConnection = true;
    ui::FormInstance<frmConnecting>::unload();
    ui::ShowModal(ui::FormInstance<frmConnecting>::get());
    ui::DoEvents();
}

void FrmMainGUI::DoRealConnectionD()
{
    gIsSourceConnection = false;
    frmConnecting& dialog = ui::FormInstance<frmConnecting>::get();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

// The disconnect, refresh, profile and replication commands come with their
// own work; until then they do nothing.

void FrmMainGUI::DoRealDisconnect() {}
void FrmMainGUI::DoRealDisconnectD() {}
void FrmMainGUI::DoRealRefresh() {}
void FrmMainGUI::DoRealRefreshD() {}
void FrmMainGUI::DoRealProfileCreation_Test() {}
bool FrmMainGUI::check11() { return false; }
void FrmMainGUI::DoRealProfileCreation() {}
void FrmMainGUI::DoRealReplication() {}

// Exit and Esc arrive inside the window's own handlers (and perhaps while a
// run yields): the window unloads itself the safe way.
void FrmMainGUI::DoExit()
{
    if (ui::MsgBox("Do you want to close the application?", ui::vbYesNo + ui::vbQuestion) == ui::vbYes)
        ui::FormInstance<FrmMainGUI>::unloadSelf();
}
