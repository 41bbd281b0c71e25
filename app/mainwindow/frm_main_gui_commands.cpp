// The window's commands: connect, disconnect and refresh each pane, queue and
// run profile copies, replicate, and exit.

#include "app/mainwindow/frm_main_gui.h"

#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"

// The connection, profile and replication commands come with their own work;
// until then they do nothing.

void FrmMainGUI::DoRealConnection() {}
void FrmMainGUI::DoRealConnectionD() {}
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
