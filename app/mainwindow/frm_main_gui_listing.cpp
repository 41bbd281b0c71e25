// The listing of one level of a server into a pane's tree and list, with the
// pending folders of the selection listed from their source.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_catch.h"
#include "app/core/error_trap.h"
#include "app/core/runtime_errors.h"
#include "app/core/shared_state.h"
#include "app/engine/record_walk.h"
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
#include "platform/ui/message_box.h"
#include "platform/ui/status_bar.h"

#include <memory>
#include <vector>

namespace {

const std::string kNoOrigin = "Null String";

// The rows keep the order they are added in while a level is listed; a
// sorted list is sorted once, when the listing ends.
class SortingPaused {
public:
    explicit SortingPaused(ui::ListView& list) : list_(list), sorted_(list.Sorted()) { list_.setSorted(false); }
    ~SortingPaused() { list_.setSorted(sorted_); }
    SortingPaused(const SortingPaused&) = delete;
    SortingPaused& operator=(const SortingPaused&) = delete;

private:
    ui::ListView& list_;
    bool sorted_;
};

// The progress step of the first row shown: its share of 100 among all rows
// of the level, as the level's count of one kind (subfolders or items)
// divided among that kind.
double FirstRowStep(double kindCount, double total) { return Divide(Divide(100 * kindCount, total), kindCount); }

// A document of the level and its type name.
struct LevelDocument {
    std::string name;
    std::string type;
};

} // namespace

// A server node lists its workspaces: a server connected by name leaves out
// the hidden ones and shows no documents, a server found by discovery lists
// like a folder. Any other node lists its subfolders and documents, leaving
// out the store's own. A node whose children were listed before keeps them
// and only its list is rebuilt. A pending folder of the selection, not yet in
// the destination, lists its source folder.
void FrmMainGUI::Get_FilesFolders(std::string url, bool isSource, ui::TreeNode node)
{
    const Pane p = pane(isSource);
    ErrorTrap trap("in MainGUI-Get_FilesFolders");
    store::SpsFolder level;
    double subfolderCount = 0;
    double itemCount = 0;
    std::int16_t rows = 0;
    std::string rowName; // the name of the row being added
    ui::ListItem row;    // that row, once added

    trap.on(store::errPropertyNotFound);
    trap.on(kDivisionByZero, [&] { subfolderCount = 1; });
    trap.on({ui::kObjectNotSet, ado::adErrNoCurrentRecord});
    trap.on(store::errPermissionDenied, [&] {
            ui::MsgBox("Permission denied.Please Contact the administrator.", ui::vbInformation);
            StatusBar1->Panels(4).setText("");
            initiateProgressBar();
        })
        .leave();
    trap.on({ui::kIndexOutOfBounds, ui::kElementNotFound});
    trap.on(ui::kInvalidImageKey, [&] { row = p.list.ListItems().Add(rows + 1, "", rowName, "Unknown", "Unknown"); });
    trap.on(store::errStoreUnreachable, [this] { ShowNoClientMessage(); }).leave();

    const std::string firstChild = trap.value([&] { return node.Child().Text(); });
    gProgressStep = 0;
    trap.step([&] { initiateProgressBar(); });
    if (firstChild == kPlaceholderText) trap.step([&] { p.tree.Nodes().Remove(node.Child()); });

    const NodeKind kind = trap.value([&] { return NodeKindOf(node); });
    const bool serverNode = IsServerNode(kind);
    const bool rootNode = kind == NodeKind::ServerRoot;
    level.setPreOpenFlag(serverNode);
    OpenLevel(level, url, serverNode ? url + "/sharepoint portal server/workspaces" : url, trap);
    if (serverNode) trap.step([&] { GUIColHeaderSettings(isSource); });

    // A record set copies all its rows when it is assigned: the level's
    // items, which may be many, are kept where they are read.
    std::unique_ptr<ado::Recordset> itemsRead;
    ado::Recordset subfolders = EmptyRecordset();
    trap.step([&] { itemsRead.reset(new ado::Recordset(level.Items())); });
    trap.step([&] { subfolders = level.Subfolders(); });
    ado::Recordset noItems = EmptyRecordset();
    ado::Recordset& items = itemsRead ? *itemsRead : noItems;
    const SortingPaused sortingPaused(p.list);
    trap.step([&] { p.list.ListItems().Clear(); });

    // Counting pass: the step of the progress bar is known before the first row.
    const auto shownWorkspace = [&](const std::string& name) {
        store::SpsFolder workspace;
        return Opened(trap, workspace, level.url() + "/" + name) && !trap.value([&] { return workspace.hidden(); }, true);
    };
    for (; !AtEnd(trap, subfolders); MoveNext(trap, subfolders)) {
        const std::string name = RowName(trap, subfolders);
        if (rootNode ? shownWorkspace(name) : !IsNeverListedFolder(name)) ++subfolderCount;
    }
    if (!rootNode) itemCount = trap.value([&] { return items.recordCount(); });
    const double total = subfolderCount + itemCount;
    trap.step([&] { subfolders.moveFirst(); });

    const std::string levelImage = serverNode ? "workspace" : "folder";
    // Icon pass: each type of document that the pane (and, for the source,
    // the destination's pending entries) has no icon for yet gets one. The
    // documents read here, names and type names in the order of the records,
    // serve the document pass, which walks the same records again.
    const auto readDocument = [&] {
        std::string name = RowName(trap, items);
        std::string type = GetKey(name);
        return LevelDocument{std::move(name), std::move(type)};
    };
    std::vector<LevelDocument> documents;
    documents.reserve(std::size_t(itemCount));
    std::int16_t nextImage = std::int16_t(p.images.Count() + 1);
    for (; !AtEnd(trap, items); MoveNext(trap, items)) {
        const LevelDocument& document = documents.emplace_back(readDocument());
        if (p.images.HasKey(document.type) && ImageList_BottomTreeList->HasKey(document.type)) continue;
        if (StoreIcons(document.name, nextImage, isSource)) ++nextImage;
    }
    const auto documentAt = [&](std::size_t record) {
        return record < documents.size() ? std::move(documents[record]) : readDocument();
    };
    trap.step([&] {
        p.list.setIcons(&p.images);
        p.list.setSmallIcons(&p.images);
        p.tree.setImageList(&p.images);
    });

    const auto addRow = [&](const std::string& name, const std::string& image) {
        rowName = name;
        row = ui::ListItem();
        trap.step([&] { row = p.list.ListItems().Add(rows + 1, "", name, image, image); });
    };
    const auto advanceProgress = [&](double kindCount) {
        trap.step([&] {
            if (gProgressStep == 0) gProgressStep += FirstRowStep(kindCount, total);
        });
        trap.step([&] { UpdateProgressBar(); });
        ++rows;
    };

    bool childrenAdded = false;
    for (; !AtEnd(trap, subfolders); MoveNext(trap, subfolders)) {
        const std::string name = RowName(trap, subfolders);
        if (!rootNode && IsNeverListedFolder(name)) continue;
        store::SpsFolder subfolder;
        if (!Opened(trap, subfolder, (rootNode ? level.url() : url) + "/" + name)) continue;
        if (rootNode && trap.value([&] { return subfolder.hidden(); }, true)) continue;
        const std::string image =
            rootNode ? levelImage : FolderImageKey(trap.value([&] { return subfolder.contentClass(); }), levelImage);

        trap.step([&] {
            if (!childrenAdded && node.Children() > 0) return;
            childrenAdded = true;
            AddOpenableNode(p.tree, node, "", name, image, rootNode ? NodeKind::Workspace : NodeKind::Folder);
        });
        addRow(name, image);
        trap.step([&] {
            AddRowDetails(row, LastModifiedText(subfolder), rootNode ? "" : " ", rootNode ? "Folder" : "folder");
        });
        advanceProgress(subfolderCount);
    }

    trap.step([&] { items.moveFirst(); });
    for (std::size_t record = 0; !rootNode && !AtEnd(trap, items); MoveNext(trap, items), ++record) {
        const LevelDocument listed = documentAt(record);
        if (IsNeverListedDocument(listed.name)) continue;
        addRow(listed.name, listed.type);
        store::SpsDocument document;
        if (Opened(trap, document, url + "/" + listed.name))
            trap.step([&] { AddRowDetails(row, LastModifiedText(document), SizeText(document.size()), listed.type); });
        advanceProgress(itemCount);
    }

    trap.step([&] { StatusBar1->Panels(4).setText(""); });
    trap.step([&] { initiateProgressBar(); });
    trap.step([&] { SwitchCommand(p.bar, p.disconnectButton, p.disconnectItem, true); });
}

// A level that is not there may be a pending folder of the selection, not yet
// in the destination: its source is opened instead, and url becomes the
// source's. When it is none, or its source cannot be opened, the caller
// hears of it. Other failures go to the listing's trap.
void FrmMainGUI::OpenLevel(store::SpsFolder& level, std::string& url, const std::string& levelUrl, ErrorTrap& trap)
{
    const std::optional<CaughtError> failure = CatchError([&] { level.DataSource().Open(levelUrl, 0, -1, 0); });
    if (!failure) return;
    const auto raise = [&] { throw com::ComError(failure->number, failure->description); };
    if (failure->number != store::errItemNotFound && failure->number != store::errItemExists) {
        trap.step(raise);
        return;
    }
    url = FindOrigin(url);
    if (url == kNoOrigin) raise();
    level.DataSource().Open(url, 0, -1, 0);
}

// The source of the pending item that the destination URL lies in, followed
// down the folders below it; each pending item that holds the URL is tried in
// the selection's order until one leads there (a pending folder added into
// another one lies in both, and only its own source holds it). "Null String"
// when none does.
std::string FrmMainGUI::FindOrigin(const std::string& url)
{
    for (const PendingOrigin& origin : FindPendingOrigins(url, gSelectedSources, gSelectedDestinations)) {
        std::string found = origin.sourceUrl;
        for (auto name = origin.below.begin(); name != origin.below.end() && !found.empty(); ++name)
            found = RepeatSubFolders(found, *name);
        if (!found.empty()) return found;
    }
    return kNoOrigin;
}

// The folder right below sourceUrl whose name is the name sought, in any
// letter case; an empty text when there is none.
std::string FrmMainGUI::RepeatSubFolders(const std::string& sourceUrl, const std::string& name)
{
    store::SpsFolder folder;
    folder.DataSource().Open(sourceUrl, 0, -1, 0);
    ado::Recordset subfolders = folder.Subfolders();
    for (; !subfolders.eof(); subfolders.moveNext()) {
        if (net::EqualsIgnoringCase(subfolders.field("DAV:displayname").toString(), name))
            return Trim(sourceUrl + "/" + FieldText(subfolders, 0));
    }
    return {};
}
