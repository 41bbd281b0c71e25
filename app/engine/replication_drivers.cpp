#include "app/engine/replication_drivers.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/report_entries.h"
#include "app/core/runtime_errors.h"
#include "app/core/shared_state.h"
#include "app/core/text_lists.h"
#include "app/engine/cart_entries.h"
#include "app/engine/document_creation.h"
#include "app/engine/folder_creation.h"
#include "app/engine/import_progress.h"
#include "app/engine/profiles.h"
#include "app/engine/runtime_values.h"
#include "app/engine/url_levels.h"
#include "app/engine/workspace_creation.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"

#include <algorithm>

namespace {

constexpr const char* kNewLine = "\r\n";

// The current selection: entry i of the three lists belongs together.
struct Cart {
    std::vector<std::string> sources = SplitEntries(gSelectedSources, "|");
    std::vector<std::string> destinations = SplitEntries(gSelectedDestinations, "=");
    std::vector<std::string> types = SplitEntries(gSelectedTypes, "~");

    bool isEntryOfType(ErrorTrap& trap, std::size_t index, std::initializer_list<int> codes) const
    {
        const std::string type = trap.value([&] { return EntryAt(types, index); });
        return std::any_of(codes.begin(), codes.end(), [&](int code) { return IsReplicationType(type, code); });
    }
    int countOfType(std::initializer_list<int> codes) const
    {
        return int(std::count_if(types.begin(), types.end(), [&](const std::string& type) {
            return std::any_of(codes.begin(), codes.end(), [&](int code) { return IsReplicationType(type, code); });
        }));
    }
};

void Yield(ErrorTrap& trap)
{
    trap.step([] { ui::DoEvents(); });
}

void ShowLabels(ErrorTrap& trap, const std::string& caption, const std::string& status, const std::string& source,
                const std::string& destination)
{
    trap.step([&] { ImportingDialog().setCaption(caption); });
    trap.step([&] { ImportingDialog().setLblStatus(status); });
    trap.step([&] { ImportingDialog().setLblSource(source); });
    trap.step([&] { ImportingDialog().setLblDest(destination); });
}

// Advances the bar by amount and shows the percentage, giving the message
// loop a turn after each.
void ShowProgress(ErrorTrap& trap, double amount)
{
    gProgressStep = amount;
    trap.step([] { UpdateImportProgress(); });
    Yield(trap);
    trap.step([] {
        ImportingForm& dialog = ImportingDialog();
        dialog.setLblPercentage(PercentageText(dialog.progressBar1Value(), kCompletedSuffix));
    });
    Yield(trap);
}

// An entry whose copy would land on its source or inside it is reported
// failed before anything is read or written.
bool RefusedOntoItself(ErrorTrap& trap, bool ontoItself, const std::string& source, const std::string& destination)
{
    if (ontoItself) ReportRefusedCopy(trap, CopyRefusal::OntoItself, {source, destination, "", ""});
    return ontoItself;
}

std::string ImportingStatus(const std::string& source)
{
    return " Importing " + source + kNewLine + "  Destination sharepoint - " + gDestServerName + "...";
}

std::string FolderName(ErrorTrap& trap, const std::string& url)
{
    store::SpsFolder folder;
    folder.setPreOpenFlag(false);
    trap.step([&] { folder.DataSource().Open(url, 0, -1); });
    return trap.value([&] { return folder.displayName(); });
}

// Copies the content of a created workspace: its Documents and its Categories
// tree, each under the title its own server gives it.
void CopyWorkspaceContent(ErrorTrap& trap, const std::string& source, const std::string& target)
{
    trap.step([] { ImportingDialog().setCaption("Importing Contents..."); });
    trap.step([] {
        ImportingDialog().setLblStatus(std::string(" Importing Folders and Documents... ") + kNewLine +
                                       "  Destination sharepoint - " + gDestServerName + "..." + kNewLine +
                                       "  It may take some time.. Please Wait!");
    });
    const std::string sourceDocuments = trap.value([] { return MainWindow().FindDocumentsFolderTitle(gSourceServerName); });
    const std::string sourceCategories = trap.value([] { return MainWindow().FindCategoriesFolderTitle(gSourceServerName); });
    const std::string targetDocuments = trap.value([] { return MainWindow().FindDocumentsFolderTitle(gDestServerName); });
    const std::string targetCategories = trap.value([] { return MainWindow().FindCategoriesFolderTitle(gDestServerName); });

    for (const auto& [sourceTitle, targetTitle] : {std::pair{sourceDocuments, targetDocuments},
                                                   std::pair{sourceCategories, targetCategories}}) {
        const std::string from = source + "/" + sourceTitle;
        const std::string to = target + "/" + targetTitle;
        trap.step([&] { ImportingDialog().setLblSource("Source: " + from); });
        trap.step([&] { ImportingDialog().setLblDest("Target: " + to); });
        Yield(trap);
        trap.step([&] { GetChildRecursive(from, to); });
        Yield(trap);
    }
}

} // namespace

void DoWorkspaceReplication()
{
    ErrorTrap trap("in DoWorkspaceReplication");
    trap.on(kDivisionByZero);

    const Cart cart;
    const int count = cart.countOfType({1, 2});
    double step = 0;
    trap.step([&] { step = Divide(100, count); });
    if (count == 0) return;
    trap.step([] { ImportingDialog().show(); });
    Yield(trap);
    if (cart.sources.size() != cart.destinations.size()) return;

    for (std::size_t i = 0; i < cart.sources.size(); ++i) {
        if (!cart.isEntryOfType(trap, i, {1, 2})) continue;
        const std::string& source = cart.sources[i];
        const std::string& destination = cart.destinations[i];
        if (RefusedOntoItself(trap, CopyMeetsItsSource(source, destination), source, destination)) {
            ShowProgress(trap, step);
            continue;
        }
        const std::string workspaceName = FolderName(trap, source);
        const std::string target = destination + "/" + workspaceName;

        ShowLabels(trap, "Copying Workspace...",
                   "Creating Workspace(" + workspaceName + ")... It may take time! Please Wait..", "Source: " + source,
                   "Target: " + destination);
        Yield(trap);
        const com::Variant readers = trap.value([&] { return CollectAllReaderNames(source); });
        const com::Variant authors = trap.value([&] { return CollectAllAuthorNames(source); });
        const com::Variant coordinators = trap.value([&] { return CollectAllCoordinatorNames(source); });
        const WorkspaceOutcome outcome = trap.value(
            [&] { return CreateWorkspace(target, coordinators, authors, readers); }, WorkspaceOutcome::NotCreated);
        Yield(trap);
        if (gAbortWorkspaceCopy) {
            gAbortWorkspaceCopy = false;
            trap.step([] { ImportingDialog().unload(); });
            trap.step([] { ui::SetMousePointer(ui::vbDefault); });
            Yield(trap);
            return;
        }
        if (outcome != WorkspaceOutcome::Created) {
            // Nothing is copied into a workspace that was not made anew.
            ReportFailure({source, destination, "",
                           outcome == WorkspaceOutcome::NotReplaced ? "Existing workspace could not be replaced."
                                                                    : "Workspace could not be created."});
            ShowProgress(trap, step);
            continue;
        }

        ShowProgress(trap, step / 4);
        AppendReportEntry(source, destination, "", "Replicated Successfully.");
        if ((gWorkspacesWithProfilesOnly || gReplicateWorkspaceContent) && !gSkipWorkspaceProfiles) {
            ShowLabels(trap, "Copying Profiles...", " Copying source profiles in to " + workspaceName,
                       "Source: " + source, "Target: " + destination + "/" + workspaceName);
            Yield(trap);
            const std::string& type = cart.types[i];
            trap.step([&] { CreateProfilesInDestination(type, source, target); });
            if (!gCancelImport) {
                trap.step([&] { ImportingDialog().setLblStatus(" Copying Source Content Class in to " + workspaceName); });
                Yield(trap);
                trap.step([&] { ManageContentClasses(source, target); });
            }
        }
        Yield(trap);
        ShowProgress(trap, step / 4);

        if (gReplicateWorkspaceContent) {
            CopyWorkspaceContent(trap, source, target);
            if (gCancelImport) {
                ResetReplicationState();
                ui::MsgBox("Tarvex failed to replicate workspaces due to user action.", ui::vbInformation);
                return;
            }
        }
        ShowProgress(trap, step / 2);
    }
    trap.step([] { ImportingDialog().unload(); });
    Yield(trap);
}

void DoDirectProfileReplication()
{
    ErrorTrap trap("in DoDirectProfileReplication");
    const std::vector<std::string> sources = SplitEntries(gProfileSources, "|");
    const std::vector<std::string> destinations = SplitEntries(gProfileDestinations, "=");
    trap.step([] { ImportingDialog().show(); });
    Yield(trap);
    if (sources.empty()) return;
    if (sources.size() != destinations.size()) {
        ui::MsgBox("source,dest count nomatch", ui::vbOKOnly);
        return;
    }

    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (RefusedOntoItself(trap, IsSameOrWithin(destinations[i], sources[i]), sources[i], destinations[i])) continue;
        ShowLabels(trap, "Copying Profiles...", ImportingStatus(sources[i]), "Source: " + sources[i],
                   "Target: " + destinations[i]);
        trap.step([] { InitImportProgess(); });
        Yield(trap);
        trap.step([&] { CreateProfilesInDestination("3", sources[i], destinations[i]); });
        Yield(trap);
        if (!gCancelImport) trap.step([&] { ManageContentClasses(sources[i], destinations[i]); });
        Yield(trap);
    }
    trap.step([] { ImportingDialog().unload(); });
    Yield(trap);
}

void DoDefaultReplication()
{
    ErrorTrap trap("in DoDefaultReplication");
    const Cart cart;
    const int count = cart.countOfType({3});
    if (count == 0) return;
    const double step = Divide(100, count);
    trap.step([] { ImportingDialog().show(); });
    Yield(trap);
    if (cart.sources.size() != cart.destinations.size()) return;

    for (std::size_t i = 0; i < cart.sources.size(); ++i) {
        if (!cart.isEntryOfType(trap, i, {3})) continue;
        const std::string& source = cart.sources[i];
        const std::string& destination = cart.destinations[i];
        ShowLabels(trap, "Importing Contents...", ImportingStatus(source), "Source: " + source,
                   "Target: " + destination);
        Yield(trap);
        trap.step([&] { DoDefaultReplicationA(source, destination); });
        if (gCancelImport) {
            ResetReplicationState();
            ui::MsgBox("Tarvex failed to replicate all documents due to user action.", ui::vbInformation);
            return;
        }
        ShowProgress(trap, step);
    }
    trap.step([] { ImportingDialog().unload(); });
    Yield(trap);
}

void DoDefaultReplicationA(const std::string& source, const std::string& destination)
{
    ErrorTrap trap("in DoDefaultReplicationA");
    if (RefusedOntoItself(trap, CopyMeetsItsSource(source, destination), source, destination)) return;
    store::SpsDocument item;
    item.setPreOpenFlag(false);
    trap.step([&] { item.DataSource().Open(source, 0, -1); });
    const bool isFolder = trap.value([&] { return item.property("DAV:isfolder").toBool(); }, false);
    Yield(trap);

    if (!isFolder) {
        if (gReplicateDocuments) trap.step([&] { CreateDocument(GetDir(source), destination, GetDoc(source)); });
        Yield(trap);
        return;
    }

    const std::string target = destination + "/" + FolderName(trap, source);
    if (IsFolderCatFolder(source)) {
        trap.step([&] { CreateCatFolder(target); });
    } else {
        const com::Variant coordinators = trap.value([&] { return CollectAllCoordinatorNames(source); });
        const com::Variant authors = trap.value([&] { return CollectAllAuthorNames(source); });
        const com::Variant readers = trap.value([&] { return CollectAllReaderNames(source); });
        if (gReplicateFolders) trap.step([&] { CreateSubFolder(source, target, coordinators, authors, readers); });
    }
    Yield(trap);
    trap.step([&] { GetChildRecursive(source, target); });
    Yield(trap);
}

void ResetReplicationState()
{
    MainWindow().setReplicateEnabled(false);
    MainWindow().setRemoveEnabled(false);

    for (std::string* list : {&gSelectedSources, &gSelectedDestinations, &gSelectedTypes, &gProfileSources,
                              &gProfileDestinations})
        list->clear();
    for (bool* flag : {&gCopyProfilePairs, &gOptionsCancelled, &gCancelImport, &gWorkspacesOnly,
                       &gWorkspacesWithProfilesOnly, &gReplicateWorkspaceContent, &gReplicateFolders,
                       &gReplicateDocuments, &gWorkspacesInCart, &gAssignDocumentSecurity, &gAssignFolderProfiles,
                       &gAssignFolderSecurity, &gSkipWorkspaceProfiles, &gAssignDocumentMetadata, &gDocStateCheckIn,
                       &gDocStateAsInSource, &gDocStatePublish})
        *flag = false;
}

std::string GetDir(const std::string& url)
{
    std::vector<std::string> parts = SplitText(url, "/");
    if (parts.empty()) return {};
    parts.pop_back();
    std::string dir;
    for (std::size_t i = 0; i < parts.size(); ++i) dir += (i == 0 ? "" : "/") + parts[i];
    return dir;
}

std::string GetDoc(const std::string& url)
{
    const auto slash = url.rfind('/');
    return slash == std::string::npos ? url : url.substr(slash + 1);
}

bool IsFolderCatFolder(const std::string& url)
{
    const std::vector<std::string> parts = SplitText(url, "/");
    return std::find(parts.begin(), parts.end(), "Categories") != parts.end();
}
