// The workspaces of a server listed into a pane, the connection errors, and
// the server's titles of a workspace's Documents and Categories folders.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_trap.h"
#include "app/core/shared_state.h"
#include "app/dialogs/frm_finding.h"
#include "app/engine/record_walk.h"
#include "app/engine/runtime_values.h"
#include "app/engine/url_levels.h"
#include "app/engine/workspace_titles.h"
#include "app/mainwindow/pane_items.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/tool_bar.h"

#include <QLineEdit>

namespace {

const std::string kNotRunning = "Connection could not be established to the specified SPS. Check whether SharePoint "
                                "is properly installed and is currently running";
const std::string kShutDown = "Connection could not be established to the specified SPS. Server may be shutdown.";
const std::string kNoPermission = "Connection could not be established to the specified SPS. Check whether you have "
                                  "sufficient permissions in SPS or contact your system administrator.";
const std::string kNoClient = "Could not connect to the specified SharePoint Portal Server. Please make sure that the "
                              "client components of Microsoft Office SharePoint Portal Server 2003 is installed.";

} // namespace

void FrmMainGUI::DisplaySourceWorkspaces(std::string server) { DisplayWorkspaces(server, true); }

void FrmMainGUI::DisplayDestWorkspaces(std::string server) { DisplayWorkspaces(server, false); }

// The source pane keeps the server's workspace list for a whole-server add
// and switches its commands once the workspaces are there; the destination
// pane keys its workspace nodes and switches its commands first.
void FrmMainGUI::DisplayWorkspaces(const std::string& server, bool isSource)
{
    const Pane p = pane(isSource);
    ErrorTrap trap(isSource ? "in MainGUI-DisplaySourceWorkspaces" : "in MainGUI-DisplayDestWorkspaces");
    TrapConnectionErrors(trap, isSource);
    const auto switchCommands = [&] {
        if (isSource) {
            SwitchCommand(*tbTop, 2, mnuDisconnectS, true);
            SwitchCommand(*tbTop, 1, mnuConnectS, false);
        } else {
            SwitchCommand(*tbBottom, 1, mnuConnectD, false);
            SwitchCommand(*tbBottom, 3, mnuDisconnectD, true);
            // Add as the two addresses allow: a server or a workspace into
            // the server listed, not an item chosen earlier for a folder.
            Add_Enable(std::int16_t(Count_SlashPresent(txtTop->text().toStdString())),
                       std::int16_t(Count_SlashPresent(txtBottom->text().toStdString())));
            SwitchCommand(*tbBottom, 12, mnuReplicate, true);
        }
        p.tree.Nodes().Item(1).setSelected(true);
    };

    std::int16_t row = 1;
    trap.step([&] {
        p.address.clear();
        p.list.ListItems().Clear();
        p.tree.Nodes().Clear();
    });
    store::SpsServer container;
    container.setPreOpenFlag(true);
    trap.step([&] { container.DataSource().Open(WorkspaceContainerUrl(server), 0, -1, 0); });
    trap.step([&] {
        p.address.setText(QString::fromStdString("http://" + server));
        p.currentUrl = Trim(p.address.text().toStdString());
    });
    ado::Recordset workspaces = EmptyRecordset();
    trap.step([&] { workspaces = container.Workspaces(); });
    const ui::TreeNode root = trap.value([&] {
        const ui::TreeNode added =
            p.tree.Nodes().Add(ui::TreeNode(), ui::Relationship::Last, RootNodeKey(), server, "server");
        SetNodeKind(added, NodeKind::ServerRoot);
        added.setExpanded(true);
        return added;
    });
    if (isSource) trap.step([&] { gSourceWorkspaces = container.Workspaces(); });
    trap.step([&] { GUIColHeaderSettings(isSource); });
    if (!isSource) trap.step(switchCommands);

    for (; !AtEnd(trap, workspaces); MoveNext(trap, workspaces)) {
        const std::string name = RowName(trap, workspaces);
        const std::string url = p.address.text().toStdString() + "/" + name;
        trap.step([&] {
            AddOpenableNode(p.tree, root, isSource ? std::string() : NamedNodeKey(url), name, "workspace",
                            NodeKind::Workspace);
        });
        const ui::ListItem item =
            trap.value([&] { return p.list.ListItems().Add(row, "", name, "workspace", "workspace"); });
        trap.step([&] {
            container.DataSource().Open(url, 0, -1, 0);
            AddRowDetails(item, LastModifiedText(container), "", "Folder");
        });
        ++row;
    }
    if (isSource) trap.step(switchCommands);
}

// A server that cannot be listed ends the listing with the reason. The first
// three reasons take back the pane's Refresh command and the wait form; the
// source pane then shows no address in either pane.
void FrmMainGUI::TrapConnectionErrors(ErrorTrap& trap, bool isSource)
{
    const auto refuse = [this, isSource](std::string message, bool emptiesDestinationAddress) {
        return [this, isSource, message, emptiesDestinationAddress] {
            ui::FormInstance<frmFinding>::unload();
            ui::DoEvents();
            ui::MsgBox(message, ui::vbExclamation);
            const Pane p = pane(isSource);
            SwitchCommand(p.bar, p.refreshButton, p.refreshItem, false);
            if (isSource) txtTop->clear();
            if (emptiesDestinationAddress) txtBottom->clear();
        };
    };
    trap.on({store::errNoStoreOnHost, store::errItemNotFound}, refuse(isSource ? kNotRunning : kNotRunning + ".", isSource))
        .leave();
    trap.on({store::errHostNotFound, store::errDamagedItem, store::errHostUnreachable}, refuse(kShutDown, true)).leave();
    trap.on(store::errPermissionDenied, refuse(kNoPermission, true)).leave();
    trap.on(store::errStoreUnreachable, [this] { ShowNoClientMessage(); }).leave();
}

void FrmMainGUI::ShowNoClientMessage()
{
    ui::SetMousePointer(ui::vbDefault);
    ui::MsgBox(kNoClient, ui::vbInformation);
}

std::string FrmMainGUI::FindDocumentsFolderTitle(const std::string& server)
{
    return WorkspaceFolderTitle(server, kDocumentsFolderField, "in MainGUI-FindDocumentsFolderTitle");
}

std::string FrmMainGUI::FindCategoriesFolderTitle(const std::string& server)
{
    return WorkspaceFolderTitle(server, kCategoriesFolderField, "in MainGUI-FindCategoriesFolderTitle");
}
