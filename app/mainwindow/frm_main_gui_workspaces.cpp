// The workspaces of a server listed into a pane, the connection errors, and
// the server's titles of a workspace's Documents and Categories folders.

#include "app/mainwindow/frm_main_gui.h"

#include "app/engine/workspace_titles.h"

// The listing comes with the connection work; until then a pane stays empty.

void FrmMainGUI::DisplaySourceWorkspaces(std::string) {}
void FrmMainGUI::DisplayDestWorkspaces(std::string) {}

std::string FrmMainGUI::FindDocumentsFolderTitle(const std::string& server)
{
    return WorkspaceFolderTitle(server, kDocumentsFolderField, "in MainGUI-FindDocumentsFolderTitle");
}

std::string FrmMainGUI::FindCategoriesFolderTitle(const std::string& server)
{
    return WorkspaceFolderTitle(server, kCategoriesFolderField, "in MainGUI-FindCategoriesFolderTitle");
}
