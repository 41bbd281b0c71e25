// Network discovery: the document-store servers of the network's domains,
// found through the share component and listed into a pane under an Entire
// Network root, one node per domain that has servers; and the discovery
// nodes opened in the trees.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_trap.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/frm_auto_detect.h"
#include "app/mainwindow/domain_servers.h"
#include "app/mainwindow/pane_items.h"
#include "platform/com/object.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/animation.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/placement.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace {

using AutoDetect = ui::FormInstance<frmAutoDetect>;

constexpr const char* kShareComponent = "NETPERM.CSPShares.1";
constexpr float kAnimationLeft = 1700;

bool Asked(const std::string& question) { return ui::MsgBox(question, ui::vbYesNo + ui::vbQuestion) == ui::vbYes; }

// Shown modeless and without owner, so that it stays usable while the
// window is disabled.
void ShowAutoDetectForm(ErrorTrap& trap)
{
    trap.step([] { AutoDetect::get().show(); });
    trap.step([] { AutoDetect::get().setCancelMarked(true); });
    trap.step([] {
        AutoDetect::get().Label1->setText(
            QStringLiteral("Finding SharePoint Portal Servers in the network. This may take few minutes..."));
    });
    trap.step([] { AutoDetect::get().Animation1->Open(sys::ProgramFolder() / "Findcomp.avi"); });
    trap.step([] { ui::Placed(*AutoDetect::get().Animation1).setLeft(kAnimationLeft); });
    trap.step([] { AutoDetect::get().Animation1->Play(); });
    trap.step(ui::DoEvents);
}

// The server found in a node's path: the server node at or above it in a
// tree that holds a discovery; none for any other node.
std::optional<std::string> DiscoveredServerOf(ui::TreeNode node)
{
    for (; node; node = node.Parent())
        if (NodeKindOf(node) == NodeKind::DomainServer) return node.Text();
    return std::nullopt;
}

// While alive, closing the window is refused: discovery keeps it disabled
// and works on its panes between the yields in which a close could arrive.
class CloseRefused : public QObject {
public:
    explicit CloseRefused(QWidget& window) : window_(window) { window_.installEventFilter(this); }
    ~CloseRefused() override { window_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &window_ || event->type() != QEvent::Close) return false;
        event->ignore();
        return true;
    }

private:
    QWidget& window_;
};

} // namespace

bool FrmMainGUI::AskToListNetwork()
{
    return Asked("Listing all SharePoint Portal Servers in the network will remove the present selection. "
                 "Do you want to continue?");
}

// The pane's tree and list give way to the Entire Network root and one node
// and row per domain that has document-store servers; the servers themselves
// are kept in gDomainServerList and shown when a domain is opened. The window
// takes no input while the search runs; the wait form's Cancel is noticed
// between domains, and the window cannot be closed meanwhile. Refused while
// a run is active.
void FrmMainGUI::picAutoDetectOn_Click(bool isTop)
{
    if (RunGuard::active()) return;
    const Pane p = pane(isTop);
    ErrorTrap trap("in MainGUI-picAutoDetectOn_Click");

    com::Object shares;
    trap.step([&] { shares = com::CreateObject(kShareComponent); });
    trap.step([] { ui::SetMousePointer(ui::vbHourglass); });
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
    if (!isTop && !AskToListNetwork()) return;

    const CloseRefused keepOpen(*this);
    trap.step([&] { txtBottom->clear(); });
    trap.step([] { ui::SetMousePointer(ui::vbHourglass); });
    if (!isTop) trap.step([&] { ClearColumnHeaders(false); });
    trap.step([&] { setEnabled(false); });
    ShowAutoDetectForm(trap);

    // Without the component (its failure is logged) there is no domain list.
    com::Variant domainCount;
    std::vector<std::string> domains;
    if (shares)
        domains = trap.value([&] { return NamesInList(shares.call("GetDomains", com::Variant::ByRef(&domainCount))); });

    trap.step([&] {
        p.tree.Nodes().Clear();
        p.list.ListItems().Clear();
        p.tree.setVisible(true);
    });
    const ui::TreeNode root = trap.value([&] {
        const ui::TreeNode added = p.tree.Nodes().Add(ui::TreeNode(), ui::Relationship::Last, EntireNetworkNodeKey(),
                                                      "Entire Network", "entirenet");
        SetNodeKind(added, NodeKind::EntireNetwork);
        added.setExpanded(true);
        return added;
    });
    gCancelAutoDetect = false;
    trap.step([&] { p.list.ListItems().Clear(); });
    // The domain nodes this discovery makes number their groups from the
    // start of the list.
    gDomainServerList.clear();

    int domainNumber = 0;
    for (const std::string& domain : domains) {
        trap.step(ui::DoEvents);
        if (gCancelAutoDetect) {
            if (Asked("Do you want to cancel detecting SharePoint Portal Servers?")) break;
            gCancelAutoDetect = false;
        }
        trap.step([&] {
            AutoDetect::get().Label1->setText(
                QString::fromStdString("Detecting SharePoint Portal Servers in the domain " + domain + " ..."));
        });
        trap.step(ui::DoEvents);
        if (domain.empty()) continue;

        // Fresh for every domain: a domain whose lookup fails lists nothing.
        com::Variant serverCount;
        const std::vector<std::string> servers = trap.value(
            [&] { return NamesInList(shares.call("GetSPServers", domain, com::Variant::ByRef(&serverCount))); });
        const int count = trap.value([&] { return serverCount.toInt32(); });
        if (count > 0) gDomainServerList += DomainServerGroup(servers);
        if (count == 0) continue;

        ++domainNumber;
        const std::string key = DomainNodeKey(domainNumber);
        trap.step([&] { AddOpenableNode(p.tree, root, key, domain, "listservers", NodeKind::Domain); });
        trap.step([&] { p.list.ListItems().Add(domainNumber, key, domain, "listservers", "listservers"); });
    }

    trap.step([&] { setEnabled(true); });
    trap.step([&] { p.tree.Nodes().Item(1).setSelected(true); });
    trap.step(ui::DoEvents);
    shares = com::Object();
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
    trap.step(AutoDetect::unload);
}

// The source asks first and empties its address once discovery is done; the
// destination hands over to discovery at once, which asks itself.
void FrmMainGUI::OpenEntireNetwork(bool isSource)
{
    if (isSource) {
        ui::SetMousePointer(ui::vbDefault);
        if (AskToListNetwork()) {
            lvTop->ListItems().Clear();
            picAutoDetectOn_Click(true);
            txtTop->clear();
        }
    } else {
        picAutoDetectOn_Click(false);
    }
    ui::SetMousePointer(ui::vbDefault);
}

// The domain's servers, from the group of its number in gDomainServerList,
// become its child nodes and the pane's rows. Opened again, the nodes are
// there already: the tree refuses them (the trap lets that pass) and the
// list, cleared first, shows each server once.
void FrmMainGUI::ExpandDomain(ui::TreeNode node, bool isSource, ErrorTrap& trap)
{
    const Pane p = pane(isSource);
    trap.step([&] {
        if (node.Child().Text() == kPlaceholderText) p.tree.Nodes().Remove(node.Child());
    });
    trap.step([&] {
        p.list.ListItems().Clear();
        p.address.clear();
    });
    const int domain = trap.value([&] { return DomainNumberOfKey(node.Key()).value_or(0); });
    const std::vector<std::string> servers = ServersOfDomain(gDomainServerList, domain);
    for (int server = 1; server <= int(servers.size()); ++server) {
        const std::string& name = servers[std::size_t(server - 1)];
        trap.step([&] {
            AddOpenableNode(p.tree, node, DomainServerNodeKey(domain, server), name, "server", NodeKind::DomainServer);
        });
        trap.step([&] { p.list.ListItems().Add(server, name, name, "server", "server"); });
    }
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
}

// A node at or below a server found by discovery makes that server the
// pane's server, as connecting to it by name would, so that what is copied
// into the pane goes to the server it shows.
void FrmMainGUI::FollowDiscoveredServer(const ui::TreeNode& node, bool isSource)
{
    if (const std::optional<std::string> server = DiscoveredServerOf(node))
        (isSource ? gSourceServerName : gDestServerName) = *server;
}
