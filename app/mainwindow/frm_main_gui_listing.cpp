// The listing of one level of a server into a pane's tree and list, with the
// pending folders of the selection listed from their source.

#include "app/mainwindow/frm_main_gui.h"

// The listing comes with the browsing work; until then nothing is listed and
// no pending folder has a source.

void FrmMainGUI::Get_FilesFolders(std::string, bool, ui::TreeNode) {}
std::string FrmMainGUI::FindOrigin(const std::string&) { return "Null String"; }
std::string FrmMainGUI::RepeatSubFolders(const std::string&, const std::string&) { return {}; }
