#pragma once
// Driving the main window as a user does: connecting a pane through the
// connect dialog, clicking tree nodes and list rows, pressing tool-bar
// buttons, and reading what the panes show.

#include "app/mainwindow/frm_main_gui.h"
#include "platform/ui/message_box.h"

#include <QTreeWidgetItem>

#include <string>
#include <vector>

namespace ui {
// A message box as a test failure shows it.
void PrintTo(const ShownMessage& message, std::ostream* out);
} // namespace ui

namespace window_testing {

using Texts = std::vector<std::string>;

// The connect commands, with the name typed into the dialog and OK pressed.
void ConnectSource(FrmMainGUI& window, const char* server);
void ConnectDestination(FrmMainGUI& window, const char* server);

// The tree's item for the node at that path of texts below the top node.
QTreeWidgetItem* ItemAt(ui::TreeView& tree, const Texts& path);
ui::TreeNode NodeAt(ui::TreeView& tree, const Texts& path);
Texts ChildTexts(ui::TreeView& tree, const Texts& path);

// A click on the node's text, as the user makes it; the nodes above it are
// opened first, without reading them again.
void Click(ui::TreeView& tree, const Texts& path, Qt::MouseButton button = Qt::LeftButton);
// Clicks each node on the way down to the one at the path.
void BrowseTo(ui::TreeView& tree, const Texts& path);

// A click on the row with the text; with more, those rows are selected too.
void ClickRows(ui::ListView& list, const Texts& texts);
// Each row as its texts: name, then the columns after it.
std::vector<Texts> Rows(ui::ListView& list);
Texts RowNames(ui::ListView& list);

// A click on the tool-bar button; a disabled button does nothing.
void Press(ui::ToolBar& bar, int button);

} // namespace window_testing
