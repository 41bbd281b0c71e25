// Tree navigation: clicks, expansion, collapse, right clicks and keys in the
// two trees.

#include "app/mainwindow/frm_main_gui.h"

// Browsing comes with the connection work; until then the trees' events change
// nothing.

void FrmMainGUI::tvTop_Collapse(ui::TreeNode) {}
void FrmMainGUI::tvBottom_Collapse(ui::TreeNode) {}
void FrmMainGUI::tvTop_Expand(ui::TreeNode) {}
void FrmMainGUI::tvBottom_Expand(ui::TreeNode) {}
void FrmMainGUI::tvTop_NodeClick(ui::TreeNode) {}
void FrmMainGUI::tvBottom_NodeClick(ui::TreeNode) {}
void FrmMainGUI::tvTop_MouseDown(int, int, float, float) {}
void FrmMainGUI::tvBottom_MouseDown(int, int, float, float) {}
void FrmMainGUI::tvBottom_KeyPress(int) {}
