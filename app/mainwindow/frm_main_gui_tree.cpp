// Tree navigation: clicks, expansion, collapse, right clicks and keys in the
// two trees, and the pending entries of the selection shown again in the
// destination tree.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_trap.h"
#include "app/core/shared_state.h"
#include "app/engine/cart_entries.h"
#include "app/engine/runtime_values.h"
#include "app/engine/size_text.h"
#include "app/engine/url_levels.h"
#include "app/mainwindow/browse_rules.h"
#include "app/mainwindow/pane_items.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/control_errors.h"
#include "platform/ui/image_list.h"
#include "platform/ui/mouse_keys.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/tool_bar.h"

#include <QLineEdit>
#include <QAction>

namespace {

constexpr int kCtrlV = 22;

bool IsNetworkMode(const ui::TreeNode& node) { return NodeKindOf(node.Root()) == NodeKind::EntireNetwork; }

std::string UrlOfNode(const ui::TreeNode& node) { return NodeUrl(node.FullPath(), IsNetworkMode(node)); }

// The pop-up menu comes up only over the tree's selected node, and only when
// it is selected. An empty handle on the way raises 91.
bool PointsAtSelectedNode(ui::TreeView& tree, float x, float y)
{
    const ui::TreeNode selected = tree.SelectedItem();
    if (!selected.Selected()) return false;
    const ui::TreeNode under = tree.HitTest(x, y);
    return !under.Text().empty() && under == selected;
}

} // namespace

void FrmMainGUI::tvTop_Collapse(ui::TreeNode node) { TreeCollapse(node, true); }
void FrmMainGUI::tvBottom_Collapse(ui::TreeNode node) { TreeCollapse(node, false); }

// The node's children give way to one placeholder, and the node's level is
// read again into the list and a fresh level of children.
void FrmMainGUI::TreeCollapse(ui::TreeNode node, bool isSource)
{
    const Pane p = pane(isSource);
    ErrorTrap trap(isSource ? "in MainGUI-tvTop_Collapse" : "in MainGUI-tvBottom_Collapse");
    trap.step([&] { p.list.ListItems().Clear(); });
    const int children = trap.value([&] { return node.Children(); });
    for (int i = 0; i < children; ++i) trap.step([&] { p.tree.Nodes().Remove(node.Child()); });
    trap.step([&] { AddPlaceholder(p.tree, node); });
    trap.step([&] { node.setSelected(true); });
    trap.step([&] { isSource ? tvTop_Expand(node) : tvBottom_Expand(node); });
}

void FrmMainGUI::tvTop_Expand(ui::TreeNode node)
{
    ErrorTrap trap("in MainGUI-tvTop_Expand");
    trap.step([&] { node.setSelected(true); });
    trap.step([&] { tvTop_NodeClick(node); });
}

void FrmMainGUI::tvBottom_Expand(ui::TreeNode node)
{
    ErrorTrap trap("in MainGUI-tvBottom_Expand");
    trap.step([&] { node.setSelected(true); });
    trap.step([&] { tvBottom_NodeClick(node); });
}

void FrmMainGUI::tvTop_NodeClick(ui::TreeNode node) { TreeNodeClick(node, true); }
void FrmMainGUI::tvBottom_NodeClick(ui::TreeNode node) { TreeNodeClick(node, false); }

// A node's level is read into the tree and the list, and its URL becomes the
// pane's address; the destination shows its pending entries beside it. A
// click that a right button brought only points the address at the node.
// The Entire Network root searches the network again, and a domain shows the
// servers its discovery found.
void FrmMainGUI::TreeNodeClick(ui::TreeNode node, bool isSource)
{
    if (gTreeRightClick) {
        TreeRightClick(node, isSource);
        return;
    }
    const Pane p = pane(isSource);
    ErrorTrap trap(isSource ? "in MainGUI-tvTop_NodeClick" : "in MainGUI-tvBottom_NodeClick");
    trap.on({ui::kKeyNotUnique, ui::kObjectNotSet});
    if (!isSource) trap.on(store::errPropertyNotFound);

    const NodeKind kind = trap.value([&] { return NodeKindOf(node); });
    trap.step([] { ui::SetMousePointer(ui::vbHourglass); });
    if (kind != NodeKind::EntireNetwork) trap.step([&] { p.list.ListItems().Clear(); });
    if (kind == NodeKind::Domain && !gDomainServerList.empty()) {
        ExpandDomain(node, isSource, trap);
        return;
    }
    if (kind == NodeKind::EntireNetwork) {
        trap.step([&] { OpenEntireNetwork(isSource); });
        return;
    }
    trap.step([&] {
        p.address.setText(QString::fromStdString(UrlOfNode(node)));
        p.currentUrl = p.address.text().toStdString();
    });
    trap.step([&] { FollowDiscoveredServer(node, isSource); });
    trap.step([&] { EnableByAddressLevels(); });
    trap.step([&] { Get_FilesFolders(p.address.text().toStdString(), isSource, node); });
    if (!isSource) trap.step([&] { ShowPendingEntries(node); });
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
}

// Only the pane's address and the commands that depend on it change; the
// destination's current folder follows its address, the source's does not.
// The source's Entire Network root asks to search the network again.
void FrmMainGUI::TreeRightClick(ui::TreeNode node, bool isSource)
{
    const Pane p = pane(isSource);
    ErrorTrap trap(isSource ? "in MainGUI-tvTop_NodeClick" : "in MainGUI-tvBottom_NodeClick");
    trap.on({ui::kKeyNotUnique, ui::kObjectNotSet});
    if (!isSource) trap.on(store::errPropertyNotFound);

    gTreeRightClick = false;
    if (isSource && trap.value([&] { return NodeKindOf(node); }) == NodeKind::EntireNetwork) {
        trap.step([&] { OpenEntireNetwork(true); });
        return;
    }
    trap.step([&] { p.address.setText(QString::fromStdString(UrlOfNode(node))); });
    trap.step([&] { FollowDiscoveredServer(node, isSource); });
    if (!isSource) trap.step([&] { gCurrentDestUrl = txtBottom->text().toStdString(); });
    trap.step([&] { EnableByAddressLevels(); });
}

void FrmMainGUI::tvTop_MouseDown(int button, int, float x, float y)
{
    if (button == ui::vbLeftButton || button == ui::vbMiddleButton) mnuPaste->setEnabled(false);
    TreeMouseDown(*tvTop, button, x, y);
}

void FrmMainGUI::tvBottom_MouseDown(int button, int, float x, float y) { TreeMouseDown(*tvBottom, button, x, y); }

// A right button over the selected node pops up the menu with the entries
// that fit the tree: Copy in the source, Paste and Paste Profiles in the
// destination once something was copied.
void FrmMainGUI::TreeMouseDown(ui::TreeView& tree, int button, float x, float y)
{
    gTreeRightClick = button == ui::vbRightButton;
    ErrorTrap trap("");
    trap.onAnyOther().leave();
    trap.step([&] {
        if (button != ui::vbRightButton || !PointsAtSelectedNode(tree, x, y)) return;
        const bool isSource = &tree == tvTop;
        mnuCopy->setEnabled(isSource);
        mnuCopyProfiles->setEnabled(isSource && Count_SlashPresent(txtTop->text().toStdString()) == 3);
        mnuPaste->setEnabled(!isSource && tbBottom->Buttons(7).Enabled() && gItemsCopied);
        mnuPasteProfiles->setEnabled(!isSource && tbBottom->Buttons(10).Enabled() && gProfilesCopied);
        mnuDelete->setEnabled(false);
        ShowPopUpMenu();
    });
}

void FrmMainGUI::tvBottom_KeyPress(int keyAscii)
{
    if (keyAscii == kCtrlV) DoRealAdd();
}

// The items that the selection will copy into the opened destination folder
// show beside its content: a row for each, and a node for each folder the
// folder does not hold yet. Each entry's item is read afresh from its
// source; one that cannot be read shows nothing.
void FrmMainGUI::ShowPendingEntries(ui::TreeNode node)
{
    ErrorTrap trap("in MainGUI-tvBottom_NodeClick");
    trap.on({ui::kKeyNotUnique, ui::kObjectNotSet, store::errPropertyNotFound});
    const std::vector<std::string> sources = SplitEntries(gSelectedSources, "|");
    const std::vector<std::string> destinations = SplitEntries(gSelectedDestinations, "=");
    const std::string folder = Trim(txtBottom->text().toStdString());

    for (std::size_t i = 0; i < sources.size() && i < destinations.size(); ++i) {
        if (!net::EqualsIgnoringCase(Trim(destinations[i]), folder)) continue;
        store::SpsDocument item;
        if (!Opened(trap, item, sources[i])) continue;
        const bool isFolder = trap.value([&] { return item.field("DAV:isfolder").toBool(); });
        const std::string name = trap.value([&] { return item.displayName(); });
        const int position = lvBottom->ListItems().Count() + 1;
        if (!isFolder) {
            const std::string type = GetKey(name);
            // The source pane may never have listed a document of this type.
            StoreIcons(name, std::int16_t(ImageList_BottomTreeList->Count() + 1), false);
            const ui::ListItem row =
                trap.value([&] { return lvBottom->ListItems().Add(position, name, name, type, type); });
            trap.step([&] { AddRowDetails(row, LastModifiedText(item), SizeText(item.size()), type); });
            continue;
        }
        const std::string image = PendingFolderImageKey(trap.value([&] { return item.contentClass(); }));
        trap.step([&] {
            if (HasChildNamed(node, name)) return;
            AddOpenableNode(*tvBottom, node, NamedNodeKey(folder + "/" + name), name, image, NodeKind::PendingFolder);
        });
        trap.step([&] {
            if (HasRowNamed(*lvBottom, name)) return;
            AddRowDetails(lvBottom->ListItems().Add(position, name, name, image, image), LastModifiedText(item), " ",
                          "Folder");
        });
    }
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
}
