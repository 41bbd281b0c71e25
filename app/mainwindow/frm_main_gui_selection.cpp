// The Add command and the queries on the selection.

#include "app/mainwindow/frm_main_gui.h"

// The selection comes with the selection work; until then Add adds nothing
// and the selection holds no entries.

void FrmMainGUI::DoRealAdd() {}
bool FrmMainGUI::IsItFolder() { return false; }
bool FrmMainGUI::IsWorkspaceAdded() { return false; }
bool FrmMainGUI::IsFolAdded() { return false; }
