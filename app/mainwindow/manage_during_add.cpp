#include "app/mainwindow/manage_during_add.h"

#include "app/core/error_trap.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/core/text_lists.h"
#include "app/engine/cart_entries.h"
#include "app/engine/record_walk.h"
#include "app/engine/size_text.h"
#include "app/engine/url_levels.h"
#include "app/mainwindow/browse_rules.h"
#include "app/mainwindow/frm_main_gui.h"
#include "app/mainwindow/pane_items.h"
#include "app/mainwindow/selection_rules.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/control_errors.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/tool_bar.h"

#include <QLineEdit>

#include <optional>

namespace {

FrmMainGUI& Window() { return ui::FormInstance<FrmMainGUI>::get(); }

CartEntries CurrentCart() { return CartEntries::Parse(gSelectedSources, gSelectedDestinations, gSelectedTypes); }

void StoreCart(const CartEntries& cart)
{
    gSelectedSources = cart.sourcesText();
    gSelectedDestinations = cart.destinationsText();
    gSelectedTypes = cart.typesText();
}

void AppendEntry(const std::string& source, const std::string& destination)
{
    gSelectedSources += source + "|";
    gSelectedDestinations += destination + "=";
    gSelectedTypes += std::to_string(gReplicationType) + "~";
}

// The source and destination strings split into as many pieces each, as
// their writers keep them; an add stops when they do not.
bool CartInStep() { return SplitText(gSelectedSources, "|").size() == SplitText(gSelectedDestinations, "=").size(); }

// Drops the pending entry that the row at the address stood for, if any.
void DropEntryAt(const std::string& address)
{
    CartEntries cart = CurrentCart();
    if (cart.removeEntriesAt(address)) StoreCart(cart);
}

// How a pending document shows its type: by the type of its file name, or by
// the content type the store reports (with the plain document image).
enum class DocumentLook { FileType, ContentType };

// What the pending node and row of a source item show.
struct PendingItem {
    std::string name;
    bool isFolder = false;
    std::string image;
    std::string lastModified;
    std::string size;
    std::string type;
};

// Reads the source item at url; nothing when it cannot be opened, or when
// the procedure has left meanwhile.
std::optional<PendingItem> ReadPendingItem(ErrorTrap& trap, const std::string& url, DocumentLook look)
{
    store::SpsDocument item;
    if (!Opened(trap, item, url)) return std::nullopt;
    PendingItem pending;
    pending.isFolder = trap.value([&] { return item.field("DAV:isfolder").toBool(); });
    pending.name = trap.value([&] { return item.displayName(); });
    pending.lastModified = trap.value([&] { return LastModifiedText(item); });
    if (pending.isFolder) {
        pending.image = PendingFolderImageKey(trap.value([&] { return item.contentClass(); }));
        pending.size = " ";
        pending.type = "Folder";
    } else if (look == DocumentLook::FileType) {
        pending.type = Window().GetKey(pending.name);
        pending.image = pending.type;
        pending.size = trap.value([&] { return SizeText(item.size()); });
    } else {
        pending.image = "DocumentTemp";
        pending.type = trap.value([&] { return item.contentType(); });
        pending.size = trap.value([&] { return SizeText(item.size()); });
    }
    if (trap.hasLeft()) return std::nullopt;
    return pending;
}

// The first row of the destination list named like the item, in any letter
// case, is replaced when the user says so: its row goes, with the pending
// entry it stood for, and (when asked) the tree node keyed by its URL. False
// when the user keeps it.
bool ReplacesItemOfSameName(ErrorTrap& trap, const std::string& name, const std::string& folderUrl, bool removesNode)
{
    ui::ListView& list = *Window().lvBottom;
    const std::optional<int> index = trap.value([&]() -> std::optional<int> {
        for (int i = 1; i <= list.ListItems().Count(); ++i)
            if (net::EqualsIgnoringCase(list.ListItems().Item(i).Text(), name)) return i;
        return std::nullopt;
    });
    if (!index) return true;
    const std::string text = trap.value([&] { return list.ListItems().Item(*index).Text(); });
    if (ui::MsgBox("This folder already contains an item named '" + text + "'.\r\n" +
                       "Do you want to replace the existing one with the new item?",
                   ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
        return false;
    trap.step([&] { list.ListItems().Remove(*index); });
    DropEntryAt(folderUrl + "/" + text);
    if (removesNode) trap.step([&] { Window().tvBottom->Nodes().Remove(NamedNodeKey(folderUrl + "/" + text)); });
    trap.step(ui::DoEvents);
    return true;
}

// The parent of pending folders: the destination tree's selected node, or
// its first node when none is selected.
ui::TreeNode PendingFolderParent(ui::TreeView& tree)
{
    const ui::TreeNode selected = tree.SelectedItem();
    return selected ? selected : tree.Nodes().Item(1);
}

// A destination folder's node named like the pending folder gives way to it.
void RemoveChildNamed(ui::TreeView& tree, const ui::TreeNode& parent, const std::string& name)
{
    for (ui::TreeNode child = parent.Child(); child; child = child.Next()) {
        if (!net::EqualsIgnoringCase(child.Text(), name)) continue;
        tree.Nodes().Remove(child);
        ui::DoEvents();
        return;
    }
}

// Adds the pending folder's node under the parent, with its placeholder.
void AddPendingNode(ErrorTrap& trap, const ui::TreeNode& parent, const std::string& folderUrl, const PendingItem& item)
{
    ui::TreeView& tree = *Window().tvBottom;
    trap.step([&] {
        AddOpenableNode(tree, parent, NamedNodeKey(folderUrl + "/" + item.name), item.name, item.image,
                        NodeKind::PendingFolder);
    });
}

// The row being added to the destination list, for the error trap that
// adds it again with another image.
struct RowInProgress {
    int position = 0;
    std::string name;
    ui::ListItem row;
};

// The pending row at the end of the destination list.
void AddPendingRow(ErrorTrap& trap, RowInProgress& adding, const PendingItem& item)
{
    ui::ListView& list = *Window().lvBottom;
    adding = {list.ListItems().Count() + 1, item.name, {}};
    trap.step([&] { adding.row = list.ListItems().Add(adding.position, item.name, item.name, item.image, item.image); });
    trap.step([&] { AddRowDetails(adding.row, item.lastModified, item.size, item.type); });
}

void EnableRemoveAndReplicate()
{
    FrmMainGUI& w = Window();
    SwitchCommand(*w.tbBottom, 8, w.mnuRemove, true);
    SwitchCommand(*w.tbBottom, 12, w.mnuReplicate, true);
}

std::vector<std::string> SelectedRowTexts(ui::ListView& list)
{
    std::vector<std::string> texts;
    for (int i = 1; i <= list.ListItems().Count(); ++i)
        if (list.ListItems().Item(i).Selected()) texts.push_back(list.ListItems().Item(i).Text());
    return texts;
}

} // namespace

void FindReplicationType()
{
    ErrorTrap trap("in FindReplicationType");
    trap.step([] {
        FrmMainGUI& w = Window();
        gReplicationType = ReplicationTypeForLevels(Count_SlashPresent(w.txtTop->text().toStdString()),
                                                    Count_SlashPresent(w.txtBottom->text().toStdString()));
    });
}

void AddFilesToCart()
{
    FrmMainGUI& w = Window();
    ErrorTrap trap("in AddFilesToCart");
    trap.on(store::errPropertyNotFound).leave();
    trap.on({ui::kObjectNotSet, ui::kElementNotFound});
    RowInProgress adding;
    // An image the list lacks: the row shows the image "Unknown".
    trap.on(ui::kInvalidImageKey, [&] {
        adding.row = Window().lvBottom->ListItems().Add(adding.position, adding.name, adding.name, "Unknown", "Unknown");
    });

    const std::vector<std::string> sources = FindSelectedItems_Source();
    const std::vector<std::string> destinations = FindSelectedItems_Dest();
    for (std::size_t k = 0; k < sources.size() && k < destinations.size() && !trap.hasLeft(); ++k) {
        if (!CartInStep()) break;
        const CartEntries cart = CurrentCart();
        if (HoldsPair(cart.sources, cart.destinations, sources[k], gCurrentDestUrl)) continue;
        if (RefusedOntoItself(sources[k], destinations[k])) continue;
        const std::optional<PendingItem> item = ReadPendingItem(trap, sources[k], DocumentLook::FileType);
        if (!item || RefusedForSeparator(sources[k], destinations[k])) continue;
        if (!ReplacesItemOfSameName(trap, item->name, gCurrentDestUrl, false)) continue;
        if (item->isFolder) {
            const ui::TreeNode parent = trap.value([&] { return PendingFolderParent(*w.tvBottom); });
            trap.step([&] { RemoveChildNamed(*w.tvBottom, parent, item->name); });
            AddPendingNode(trap, parent, gCurrentDestUrl, *item);
        }
        AddPendingRow(trap, adding, *item);
        AppendEntry(sources[k], destinations[k]);
        trap.step(EnableRemoveAndReplicate);
    }
}

// The workspaces are walked from the record set's current row; it is moved
// back to its first row however the walk ends, so that the next whole-server
// add sees every workspace again.
void AddFilesToCartSR()
{
    FrmMainGUI& w = Window();
    ErrorTrap trap("in AddFilesToCartSR");
    trap.on(store::errPropertyNotFound);
    trap.on(ui::kElementNotFound); // a replaced row without a node of its own
    if (!gSourceWorkspaces.isOpen()) return;

    const std::string destination = "http://" + gDestServerName;
    RowInProgress adding;
    bool folderAdded = false;
    for (; !AtEnd(trap, gSourceWorkspaces) && CartInStep(); MoveNext(trap, gSourceWorkspaces)) {
        const std::string name = RowName(trap, gSourceWorkspaces);
        const std::string source = "http://" + gSourceServerName + "/" + name;
        if (HoldsText(CurrentCart().sources, source)) continue;
        const std::optional<PendingItem> item = ReadPendingItem(trap, source, DocumentLook::ContentType);
        if (!item || RefusedForSeparator(source, destination)) continue;
        if (!ReplacesItemOfSameName(trap, name, destination, true)) continue;
        if (item->isFolder) {
            AddPendingNode(trap, trap.value([&] { return w.tvBottom->Nodes().Item(1); }), destination, *item);
            folderAdded = true;
        }
        AddPendingRow(trap, adding, *item);
        AppendEntry(source, destination);
    }
    trap.step([] { gSourceWorkspaces.moveFirst(); });
    if (!folderAdded) return;
    trap.step([&] { SwitchCommand(*w.tbBottom, 7, w.mnuAdd, false); });
    trap.step(EnableRemoveAndReplicate);
}

// The selected row of the destination list names the pending item: the
// entries that copy an item of that name into the destination folder shown go
// from the selection, with the item's row and node, and so do the entries
// added into it (their nodes are below its node). Items the destination
// server holds are never deleted from it.
void RemoveAddedItems()
{
    if (RunGuard::active()) return;
    FrmMainGUI& w = Window();
    ErrorTrap trap("in RemoveAddedItems");
    trap.on({ui::kElementNotFound, ui::kObjectNotSet});

    const std::optional<int> selected = trap.value([&]() -> std::optional<int> {
        for (int i = 1; i <= w.lvBottom->ListItems().Count(); ++i)
            if (w.lvBottom->ListItems().Item(i).Selected()) return i;
        return std::nullopt;
    });
    if (!selected) {
        ui::MsgBox("Please select file or folder from the bottom pane.", ui::vbExclamation);
        return;
    }
    const std::string address = gCurrentDestUrl + "/" + w.lvBottom->ListItems().Item(*selected).Text();
    CartEntries cart = CurrentCart();
    const bool removed = cart.removeEntriesAtAndBelow(address);
    if (removed) {
        trap.step([&] { w.lvBottom->ListItems().Remove(*selected); });
        trap.step([&] { w.tvBottom->Nodes().Remove(NamedNodeKey(address)); });
        trap.step(ui::DoEvents);
        StoreCart(cart);
    }
    if (gSelectedSources.empty() || gSelectedDestinations.empty()) {
        trap.step([&] {
            SwitchCommand(*w.tbBottom, 8, w.mnuRemove, false);
            SwitchCommand(*w.tbBottom, 12, w.mnuReplicate, false);
        });
        trap.step(ui::DoEvents);
    }
    if (!removed) ui::MsgBox("Tarvex allows you to remove an item copied in the current session only.", ui::vbExclamation);
}

std::vector<std::string> FindSelectedItems_Source()
{
    ErrorTrap trap("in FindSelectedItems_Source");
    return trap.value([] {
        FrmMainGUI& w = Window();
        return SelectedSourceUrls(SelectedRowTexts(*w.lvTop), gCurrentSourceUrl, w.txtTop->text().toStdString());
    });
}

std::vector<std::string> FindSelectedItems_Dest()
{
    ErrorTrap trap("in FindSelectedItems_Dest");
    return trap.value(
        [] { return std::vector<std::string>(SelectedRowTexts(*Window().lvTop).size(), gCurrentDestUrl); });
}

std::string FindFilenameinUrl(const std::string& url)
{
    ErrorTrap trap("in FindFilenameinUrl");
    return trap.value([&] { return LastUrlPart(url); });
}

bool RefusedForSeparator(const std::string& source, const std::string& destination)
{
    if (BreaksSourceList(source)) ui::MsgBox(SourceSeparatorRefusal(source), ui::vbExclamation);
    else if (BreaksDestinationList(destination)) ui::MsgBox(DestinationSeparatorRefusal(destination), ui::vbExclamation);
    else return false;
    return true;
}

bool RefusedOntoItself(const std::string& source, const std::string& destination)
{
    if (!CopyMeetsItsSource(source, destination)) return false;
    ui::MsgBox("Tarvex cannot replicate \"" + source + "\" onto itself or into a folder inside it.", ui::vbExclamation);
    return true;
}
