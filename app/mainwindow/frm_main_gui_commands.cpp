// The window's commands: connect, disconnect and refresh each pane, queue and
// run profile copies, replicate, and exit. While a run is active every one of
// them but Exit shows disabled and is refused: the run goes on with the
// selection, the connections and the window it started with. Exit asks, and
// stops the run as its Cancel does before the window closes.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/activity_report.h"
#include "app/core/forms.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/core/text_lists.h"
#include "app/dialogs/frm_connecting.h"
#include "app/dialogs/frm_importing.h"
#include "app/dialogs/frm_option.h"
#include "app/engine/cart_entries.h"
#include "app/engine/profiles.h"
#include "app/engine/replication_drivers.h"
#include "app/engine/url_levels.h"
#include "app/mainwindow/manage_during_add.h"
#include "app/mainwindow/selection_rules.h"
#include "platform/sys/datetime.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal_dialog.h"
#include "platform/ui/tool_bar.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

std::string NowText() { return sys::GeneralDateText(sys::Now()); }

std::string TextOf(const QLineEdit& box) { return box.text().toStdString(); }

bool Confirmed(const std::string& question) { return ui::MsgBox(question, ui::vbYesNo + ui::vbQuestion) == ui::vbYes; }

// While alive, the commands show disabled, and a connect dialog left open
// connects nothing; afterwards they come back as they were, with whatever the
// run switched meanwhile (each action keeps the state it is given while its
// group is off).
class CommandsHeld {
public:
    explicit CommandsHeld(QActionGroup& commands) : commands_(commands)
    {
        commands_.setEnabled(false);
        if (ui::FormInstance<frmConnecting>::isLoaded()) connectOk_ = ui::FormInstance<frmConnecting>::get().CmdOk;
        if (connectOk_) connectOk_->setEnabled(false);
    }
    ~CommandsHeld()
    {
        commands_.setEnabled(true);
        if (connectOk_) connectOk_->setEnabled(true);
    }
    CommandsHeld(const CommandsHeld&) = delete;
    CommandsHeld& operator=(const CommandsHeld&) = delete;

private:
    QActionGroup& commands_;
    QPointer<QPushButton> connectOk_;
};

// Every run ends alike, also one that ended early: the progress dialog goes,
// and the report of the run is written and opened.
void EndRun()
{
    ImportingDialog().unload();
    gRunEndTime = NowText();
    WriteActivityReport();
}

// The drivers in their order: the queued profile copies (when chosen), the
// folder and document entries, then the whole workspaces.
void RunReplicationDrivers(bool workspacesInCart)
{
    if (gCopyProfilePairs && !gProfileSources.empty()) DoDirectProfileReplication();
    DoDefaultReplication();
    if (workspacesInCart) gWorkspacesInCart = true;
    DoWorkspaceReplication();
}

} // namespace

// There is one connect dialog: connecting the source replaces a destination
// dialog left open.
void FrmMainGUI::DoRealConnection()
{
    if (RunGuard::active()) return;
    gIsSourceConnection = true;
    ui::FormInstance<frmConnecting>::unload();
    ui::ShowModal(ui::FormInstance<frmConnecting>::get());
    ui::DoEvents();
}

void FrmMainGUI::DoRealConnectionD()
{
    if (RunGuard::active()) return;
    gIsSourceConnection = false;
    frmConnecting& dialog = ui::FormInstance<frmConnecting>::get();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void FrmMainGUI::DoRealDisconnect() { DisconnectPane(true); }
void FrmMainGUI::DoRealDisconnectD() { DisconnectPane(false); }

// The pane is emptied and can be connected again; the server names and URLs
// stay until the next connect. The destination's selection goes with it. Add
// stays off until the pane is connected again and an item is chosen: it would
// add into a folder no pane shows.
void FrmMainGUI::DisconnectPane(bool isSource)
{
    if (RunGuard::active() || !Confirmed("Do you want to disconnect the connection?")) return;
    const Pane p = pane(isSource);
    SwitchCommand(*tbBottom, 7, mnuAdd, false);
    SwitchCommand(p.bar, p.refreshButton, p.refreshItem, false);
    p.tree.Nodes().Clear();
    p.list.ListItems().Clear();
    SwitchCommand(p.bar, p.disconnectButton, p.disconnectItem, false);
    SwitchCommand(p.bar, 1, isSource ? mnuConnectS : mnuConnectD, true);
    p.address.clear();
    ClearColumnHeaders(isSource);
    if (isSource) ui::DoEvents();
    else ResetReplicationState();
}

void FrmMainGUI::DoRealRefresh()
{
    if (RunGuard::active() || !Confirmed("Do you want to refresh the connection?")) return;
    ui::DoEvents();
    DisplaySourceWorkspaces(gSourceServerName);
}

void FrmMainGUI::DoRealRefreshD()
{
    if (RunGuard::active() || !Confirmed("Do you want to refresh the connection?")) return;
    ResetReplicationState();
    SwitchCommand(*tbBottom, 12, mnuReplicate, true);
    ui::DoEvents();
    DisplayDestWorkspaces(gDestServerName);
}

// Queues the workspace pair of the two address boxes for a profile copy at
// the next replication.
void FrmMainGUI::DoRealProfileCreation_Test()
{
    if (RunGuard::active()) return;
    const std::string source = TextOf(*txtTop);
    const std::string destination = TextOf(*txtBottom);
    if (source.empty() || destination.empty()) {
        ui::MsgBox("Unknown Error");
        return;
    }
    if (Count_SlashPresent(source) != 3 || Count_SlashPresent(destination) != 3) {
        ui::MsgBox("Please select workspaces only", ui::vbExclamation);
        return;
    }
    if (!CheckPermissionForCoordinator()) {
        ui::MsgBox(kCoordinatorReminder, ui::vbExclamation);
        return;
    }
    if (RefusedForSeparator(source, destination) || !check11()) return;
    gProfileSources += source + "|";
    gProfileDestinations += destination + "=";
    SwitchCommand(*tbBottom, 12, mnuReplicate, true);
}

// The source items selected in the source list may be queued with the
// destination folder shown when the queue is in step and holds none of them
// with that folder already (both compared whole); nothing selected, nothing
// to refuse.
bool FrmMainGUI::check11()
{
    const std::vector<std::string> queuedSources = SplitEntries(gProfileSources, "|");
    const std::vector<std::string> queuedDestinations = SplitEntries(gProfileDestinations, "=");
    for (const std::string& source : FindSelectedItems_Source()) {
        if (SplitText(gProfileSources, "|").size() != SplitText(gProfileDestinations, "=").size()) {
            ui::MsgBox("Number of Source and Destination Paths does not match. Terminating...", ui::vbExclamation);
            return false;
        }
        if (HoldsPair(queuedSources, queuedDestinations, source, gCurrentDestUrl)) {
            ui::MsgBox(source + " - Has already been added to the Destination.", ui::vbExclamation);
            return false;
        }
    }
    return true;
}

// Copies the profiles of the source pane's workspace into the destination
// pane's workspace at once.
void FrmMainGUI::DoRealProfileCreation()
{
    if (RunGuard::active()) return;
    RunInWindow([] {
        gRunStartTime = NowText();
        ImportingDialog().show();
        ui::DoEvents();
        CheckPerm_CreateProfiles();
        gCancelImport = false;
        EndRun();
    });
}

// The selection is replicated with the options chosen in the options dialog.
// The start time is taken before the dialog opens; a dialog left without
// Proceed runs nothing and keeps the selection, unless a profile copy that
// Proceed started was cancelled.
void FrmMainGUI::DoRealReplication()
{
    if (RunGuard::active()) return;
    if (gSelectedSources.empty() || gSelectedDestinations.empty()) {
        ui::MsgBox("You have not added any documents (or) folders to the destination Sharepoint. Please add the "
                   "items to the destination and then Replicate.",
                   ui::vbInformation);
        return;
    }
    RunInWindow([this] {
        gOptionsCancelled = false;
        gRunStartTime = NowText();
        const bool workspacesInCart = IsWorkspaceAdded();
        ShowOptionsDialog(this, workspacesInCart, IsFolAdded());
        ui::DoEvents();
        if (gOptionsCancelled && !gCancelImport) return;
        if (!gCancelImport) RunReplicationDrivers(workspacesInCart);
        ResetReplicationState();
        EndRun();
    });
}

void FrmMainGUI::RunInWindow(const std::function<void()>& run)
{
    {
        const RunGuard guard(TextOf(*txtTop), TextOf(*txtBottom));
        const CommandsHeld held(*commandsHeldDuringRuns_);
        run();
    }
    if (closeAfterRun_) ui::FormInstance<FrmMainGUI>::unloadSelf();
}

void FrmMainGUI::GroupCommandsHeldDuringRuns()
{
    commandsHeldDuringRuns_ = new QActionGroup(this);
    commandsHeldDuringRuns_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const int button : {1, 2, 4, 6}) commandsHeldDuringRuns_->addAction(tbTop->Buttons(button).action());
    for (const int button : {1, 2, 3, 5, 7, 8, 10, 11, 12})
        commandsHeldDuringRuns_->addAction(tbBottom->Buttons(button).action());
    for (QAction* item : {mnuAdd, mnuRemove, mnuCreateProfile, mnuReplicate, mnuConnectS, mnuDisconnectS, mnuRefreshS,
                          mnuRefreshD, mnuConnectD, mnuDisconnectD, mnuFilter, mnuMapRoles, mnuPaste, mnuPasteProfiles,
                          mnuDelete})
        commandsHeldDuringRuns_->addAction(item);
}

// Exit and Esc arrive inside the window's own handlers: the window unloads
// itself the safe way. During a run, Yes stops the run as the progress
// dialog's Cancel does; the run then ends as a cancelled run ends, its report
// written and opened, and the window closes after it.
void FrmMainGUI::DoExit()
{
    if (closeAfterRun_ || !Confirmed("Do you want to close the application?")) return;
    if (!RunGuard::active()) {
        ui::FormInstance<FrmMainGUI>::unloadSelf();
        return;
    }
    closeAfterRun_ = true;
    if (ui::FormInstance<frmImporting>::isLoaded()) ui::FormInstance<frmImporting>::get().CmdCancel_Click();
    else gCancelImport = true;
}
