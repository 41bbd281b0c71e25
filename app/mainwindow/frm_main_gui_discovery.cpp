// Network discovery: the servers of the network's domains listed into a pane.

#include "app/mainwindow/frm_main_gui.h"

// Discovery comes with its own work; until then List Servers does nothing.

void FrmMainGUI::picAutoDetectOn_Click(bool) {}
