#include "app/engine/workspace_creation.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/shared_state.h"
#include "app/core/text_lists.h"
#include "app/engine/url_levels.h"
#include "platform/com/object.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"
#include "platform/ui/message_box.h"

namespace {

// A second way the destination refuses the creation, treated as the missing
// administrative rights are.
constexpr com::HRESULT kCreationRefused = com::MakeHResult(0x80072EE6);
// A failure the creation passes over silently.
constexpr com::HRESULT kIgnoredCreationError = com::MakeHResult(0x80040224);

constexpr int kModeReadWrite = 3;
constexpr int kOverwrite = 0x4000000;

} // namespace

WorkspaceOutcome CreateWorkspace(const std::string& url, const com::Variant& coordinators, const com::Variant& authors,
                                 const com::Variant& readers, CreationAttempt attempt)
{
    bool exists = false;
    bool created = false;
    ErrorTrap trap("in CreateWorkspace");
    OnItemExists(trap, attempt, exists);
    trap.on({store::errNotHostAdministrator, kCreationRefused}, [] {
            ui::MsgBox("You should have administrative privileges on Microsoft Windows server to create a workspace. "
                       "Contact your system administrator.",
                       ui::vbExclamation);
            gAbortWorkspaceCopy = true;
        })
        .leave();
    trap.on(kIgnoredCreationError, [&] { created = true; });

    store::SpsServer server;
    server.setPreOpenFlag(true);
    trap.step([&] { server.DataSource().Open(WorkspaceContainerUrl(gDestServerName), kModeReadWrite, -1, kOverwrite); });
    const std::string bin = trap.value([] { return FindSPSInstallationPath(gDestServerName); });
    // A replacement is built whole before it takes the old workspace's place.
    trap.step([&] {
        if (attempt == CreationAttempt::Replacement)
            server.ReplaceWorkspace(url, bin + "localschema.xml", bin + "defaultworkspace.cab");
        else
            server.CreateWorkspace(url, bin + "localschema.xml", bin + "defaultworkspace.cab", 0);
        created = true;
    });
    if (trap.hasLeft()) return WorkspaceOutcome::NotCreated;

    if (!exists) {
        // A creation that failed leaves nothing to give roles to or to show,
        // whatever opening the URL would find (the server, for a URL that
        // names no workspace).
        if (!created) return attempt == CreationAttempt::Replacement ? WorkspaceOutcome::NotReplaced : WorkspaceOutcome::NotCreated;
        store::SpsFolder workspace;
        workspace.setPreOpenFlag(false);
        bool opened = false;
        trap.step([&] {
            workspace.DataSource().Open(url, 0, -1);
            opened = true;
        });
        if (!opened) return WorkspaceOutcome::NotCreated;
        trap.step([&] { workspace.setCoordinators(coordinators); });
        trap.step([&] { workspace.setAuthors(authors); });
        trap.step([&] { workspace.setReaders(readers); });
        trap.step([&] { workspace.DataSource().Save(); });
        trap.step([] { MainWindow().DisplayDestWorkspaces(gDestServerName); });
        trap.step([] { ui::DoEvents(); });
        return WorkspaceOutcome::Created;
    }

    if (attempt == CreationAttempt::Replacement) return WorkspaceOutcome::NotReplaced;
    trap.step([] { ui::DoEvents(); });
    trap.step([] { MainWindow().DisplayDestWorkspaces(gDestServerName); });
    trap.step([] { ui::DoEvents(); });
    const WorkspaceOutcome outcome = CreateWorkspace(url, coordinators, authors, readers, CreationAttempt::Replacement);
    trap.step([] { ui::DoEvents(); });
    return outcome;
}

std::string FindSPSInstallationPath(const std::string& server)
{
    ErrorTrap trap("in FindSPSInstallationPath");
    com::Object registry;
    com::Object key;
    com::Object value;
    std::string installPath;
    trap.step([&] { registry = com::CreateObject("Vornik.Registry"); });
    trap.step([&] { registry.put("ComputerName", server); });
    trap.step([&] { key = registry.get("HKeyLocalMachine", "SOFTWARE\\Microsoft\\SharePoint Portal Server"); });
    trap.step([&] { value = key.get("StringValue", "InstallPath"); });
    trap.step([&] { installPath = value.get("ValueData").toString(); });
    return TemplateFolderPath(server, installPath);
}

std::string TemplateFolderPath(const std::string& server, const std::string& installPath)
{
    const std::vector<std::string> parts = SplitText(installPath, ":");
    std::string folder;
    for (std::size_t i = 0; i < parts.size(); ++i) folder += i == 0 ? parts[i] + "$" : parts[i];
    return "\\\\" + server + "\\" + folder + "\\bin\\";
}
