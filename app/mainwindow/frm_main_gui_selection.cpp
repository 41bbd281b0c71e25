// The Add command and the queries on the selection.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_trap.h"
#include "app/core/shared_state.h"
#include "app/engine/cart_entries.h"
#include "app/engine/runtime_values.h"
#include "app/engine/url_levels.h"
#include "app/mainwindow/manage_during_add.h"
#include "app/mainwindow/pane_items.h"
#include "app/mainwindow/selection_rules.h"
#include "platform/store/sps.h"
#include "platform/ui/message_box.h"
#include "platform/ui/tool_bar.h"

#include <QLineEdit>

#include <algorithm>
#include <cctype>

namespace {

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

} // namespace

// The items selected in the source go into the destination folder shown: all
// workspaces of the source server when both panes show a server (not when
// they show one server), and folders only into a workspace the user
// coordinates. Add runs only while its command is on, whichever way it comes
// (button, menu, Paste or Ctrl+V): not after a pane was disconnected, nor
// while a run lasts.
void FrmMainGUI::DoRealAdd()
{
    if (!tbBottom->Buttons(7).Enabled()) return;
    FindReplicationType();
    switch (gReplicationType) {
    case 1:
        if (RefusedOntoItself("http://" + gSourceServerName, "http://" + gDestServerName)) break;
        if (ui::MsgBox("Do you want to copy all workspaces from " + UpperCase(gSourceServerName) + " to " +
                           UpperCase(gDestServerName) + "?\r\nDo select the desired workspace from the list to copy it.",
                       ui::vbYesNo + ui::vbQuestion) == ui::vbYes)
            AddFilesToCartSR();
        break;
    case 2: AddFilesToCart(); break;
    default:
        if (CheckPermissionForCoordinator() || !IsItFolder()) AddFilesToCart();
        else ui::MsgBox(kCoordinatorReminder, ui::vbExclamation);
        break;
    }
}

bool FrmMainGUI::IsItFolder()
{
    ErrorTrap trap("in MainGUI- IsItFolder");
    store::SpsDocument item;
    if (!Opened(trap, item, Trim(txtTop->text().toStdString()))) return false;
    return trap.value([&] { return item.field("DAV:isfolder").toBool(); });
}

bool FrmMainGUI::IsWorkspaceAdded() { return HoldsReplicationType(SplitEntries(gSelectedTypes, "~"), {1, 2}); }

bool FrmMainGUI::IsFolAdded() { return HoldsReplicationType(SplitEntries(gSelectedTypes, "~"), {3, 0}); }
