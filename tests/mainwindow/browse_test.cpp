// Connecting both panes through the connect dialog and browsing them: the
// workspace listings and their connection errors, tree navigation, the folder
// listing with its rules, right clicks, and the pending entries of the
// selection shown in the destination.

#include "app/core/shared_state.h"
#include "app/dialogs/frm_connecting.h"
#include "app/dialogs/frm_finding.h"
#include "app/mainwindow/browse_rules.h"
#include "app/mainwindow/frm_main_gui.h"
#include "app/mainwindow/node_keys.h"
#include "clips.h"
#include "command_states.h"
#include "core/core_fixture.h"
#include "platform/store/sps.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/modal_dialog.h"
#include "platform/ui/screen.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tool_bar.h"
#include "support/store_fixture.h"
#include "window_driver.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace {

using Texts = std::vector<std::string>;

const std::string kTime = "12/7/2026 10:44:30 PM"; // every item's last change, by the fixed clock

class BrowseTest : public CoreTest {
protected:
    BrowseTest()
    {
        avigen::WriteAviFile(programFolder() / "findingsp.avi", avigen::ConnectingClip(), avigen::Coding::Rle8);
        network_.addServer("SRC");
        network_.addServer("DEST");
        const std::string marketing = store::AddWorkspace("SRC", "Marketing");
        documents_ = marketing + "/Documents";
        const std::string campaigns = store::AddFolder(documents_, "Campaigns");
        store::AddDocument(store::AddFolder(campaigns, "Spring"), "plan.txt", store::DocumentSpec(std::string(1280, 'p')));
        store::AddDocument(store::AddFolder(campaigns, "Drafts"), "deep draft.txt", store::DocumentSpec("d"));
        store::AddDocument(campaigns, "PKMEvents", store::DocumentSpec("listed"));
        const std::string drafts = store::AddFolder(documents_, "Drafts");
        store::AddDocument(drafts, "top draft.txt", store::DocumentSpec("t"));
        store::AddFolder(drafts, "PKMevents");
        for (const char* name :
             {"_TEMP_", "LOCKS", "Verwaltung", "SHADOW", "Dashboards", "PubModels", "selectors", "System"})
            store::AddFolder(documents_, name);
        const std::pair<const char*, std::size_t> sizes[] = {
            {"a.txt", 0}, {"b.txt", 1024}, {"c.txt", 1025}, {"d.txt", 1331}, {"e.txt", 2048}, {"pkmevents", 3}};
        for (const auto& [name, size] : sizes)
            store::AddDocument(documents_, name, store::DocumentSpec(std::string(size, 'x')));
        for (const char* name : {"E1", "Root", "Old"}) store::AddWorkspace("SRC", name);
        store::SpsWorkspace old;
        old.DataSource().Open("http://SRC/Old");
        old.setHidden(true);
        old.DataSource().Save();
        team_ = store::AddWorkspace("DEST", "Team");
        store::AddFolder(team_ + "/Documents", "Drafts");
    }
    ~BrowseTest() override
    {
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }

    static FrmMainGUI& window() { return ui::FormInstance<FrmMainGUI>::get(); }

    // The window driven as a user does (window_driver.h).
    void connectSource(const char* server) { window_testing::ConnectSource(window(), server); }
    void connectDestination(const char* server) { window_testing::ConnectDestination(window(), server); }
    static QTreeWidgetItem* itemAt(ui::TreeView& tree, const Texts& path) { return window_testing::ItemAt(tree, path); }
    static ui::TreeNode nodeAt(ui::TreeView& tree, const Texts& path) { return window_testing::NodeAt(tree, path); }
    static void click(ui::TreeView& tree, const Texts& path, Qt::MouseButton button = Qt::LeftButton)
    {
        window_testing::Click(tree, path, button);
    }
    static void browseTo(ui::TreeView& tree, const Texts& path) { window_testing::BrowseTo(tree, path); }
    static Texts childTexts(ui::TreeView& tree, const Texts& path) { return window_testing::ChildTexts(tree, path); }
    static std::vector<Texts> rows(ui::ListView& list) { return window_testing::Rows(list); }
    static Texts rowNames(ui::ListView& list) { return window_testing::RowNames(list); }

    testing_support::StoreNetwork network_;
    ui::ScopedScreenSize screen_{{12000, 9000}};
    std::string documents_;
    std::string team_;
};

TEST_F(BrowseTest, ConnectingBothPanesByTheDialogListsEachServersWorkspaces)
{
    FrmMainGUI& w = window();
    w.show();
    w.DoRealConnectionD(); // left open: connecting the source takes its place
    connectSource(" SRC ");
    EXPECT_TRUE(gDestServerName.empty());

    const ui::TreeNode root = w.tvTop->Nodes().Item(1);
    EXPECT_EQ(root.Key(), "Root");
    EXPECT_EQ(root.Text(), "SRC");
    EXPECT_EQ(root.Image(), "server");
    EXPECT_TRUE(root.Expanded() && root.Selected());
    EXPECT_EQ(childTexts(*w.tvTop, {}), (Texts{"E1", "Marketing", "Old", "Root"}));
    const ui::TreeNode marketing = root.Child().Next();
    EXPECT_EQ(marketing.Key(), "");
    EXPECT_EQ(marketing.Image(), "workspace");
    EXPECT_EQ(marketing.Child().Text(), "Searching...");
    EXPECT_EQ(marketing.Child().Image(), "finding1");
    EXPECT_EQ(rows(*w.lvTop)[1], (Texts{"Marketing", "Folder", "", kTime}));
    EXPECT_EQ(w.lvTop->ListItems().Item(2).SmallIcon(), "workspace");
    EXPECT_EQ(w.lvTop->ColumnHeaders().Count(), 4);
    EXPECT_EQ(w.txtTop->text(), "http://SRC");
    EXPECT_EQ(gCurrentSourceUrl, "http://SRC");
    EXPECT_EQ(gSourceServerName, "SRC");
    EXPECT_EQ(gSourceWorkspaces.recordCount(), 4);

    connectDestination("DEST");
    const ui::TreeNode team = w.tvBottom->Nodes().Item(1).Child();
    EXPECT_EQ(team.Text(), "Team");
    EXPECT_EQ(team.Key(), NamedNodeKey("http://DEST/Team"));
    EXPECT_EQ(rows(*w.lvBottom), (std::vector<Texts>{{"Team", "Folder", "", kTime}}));
    EXPECT_EQ(w.txtBottom->text(), "http://DEST");
    EXPECT_EQ(w.txtTop->text(), "http://SRC");

    ExpectCommandStates({
        {w.tbTop, 1, w.mnuConnectS, false},      {w.tbTop, 2, w.mnuDisconnectS, true},
        {w.tbTop, 4, w.mnuRefreshS, true},       {w.tbBottom, 1, w.mnuConnectD, false},
        {w.tbBottom, 3, w.mnuDisconnectD, true}, {w.tbBottom, 5, w.mnuRefreshD, true},
        {w.tbBottom, 7, w.mnuAdd, true},         {w.tbBottom, 12, w.mnuReplicate, true},
    });
    EXPECT_FALSE(ui::FormInstance<frmConnecting>::isLoaded());
    EXPECT_FALSE(ui::FormInstance<frmFinding>::isLoaded());
    EXPECT_TRUE(messageBoxes_.shown().empty());
    EXPECT_TRUE(logLines().empty());
}

TEST_F(BrowseTest, BrowsingThreeLevelsDownShowsFoldersAndDocumentsAndCollapsingReadsTheLevelAgain)
{
    FrmMainGUI& w = window();
    w.show();
    connectSource("SRC");

    click(*w.tvTop, {});
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"E1", "Marketing", "Root"})) << "the hidden workspace is left out";
    EXPECT_EQ(childTexts(*w.tvTop, {}), (Texts{"E1", "Marketing", "Old", "Root"})) << "listed before: kept";
    EXPECT_DOUBLE_EQ(gProgressStep, 100.0 / 3);

    itemAt(*w.tvTop, {"Marketing"})->setExpanded(true);
    EXPECT_EQ(w.txtTop->text(), "http://SRC/Marketing");
    EXPECT_EQ(childTexts(*w.tvTop, {"Marketing"}), (Texts{"Categories", "Documents"}));
    EXPECT_EQ(nodeAt(*w.tvTop, {"Marketing", "Documents"}).Image(), "enhanced");
    EXPECT_EQ(rows(*w.lvTop), (std::vector<Texts>{{"Categories", "folder", " ", kTime}, {"Documents", "folder", " ", kTime}}));

    click(*w.tvTop, {"Marketing", "Documents"});
    EXPECT_EQ(w.txtTop->text(), "http://SRC/Marketing/Documents");
    EXPECT_EQ(gCurrentSourceUrl, "http://SRC/Marketing/Documents");
    EXPECT_EQ(childTexts(*w.tvTop, {"Marketing", "Documents"}), (Texts{"Campaigns", "Drafts", "System"}));
    const std::string text = w.GetKey("a.txt");
    EXPECT_EQ(rows(*w.lvTop), (std::vector<Texts>{{"Campaigns", "folder", " ", kTime},
                                                   {"Drafts", "folder", " ", kTime},
                                                   {"System", "folder", " ", kTime},
                                                   {"a.txt", text, "0 Bytes", kTime},
                                                   {"b.txt", text, "1024 Bytes", kTime},
                                                   {"c.txt", text, "1 KB", kTime},
                                                   {"d.txt", text, "1.3 KB", kTime},
                                                   {"e.txt", text, "2 KB", kTime}}));
    EXPECT_EQ(w.lvTop->ListItems().Item(4).SmallIcon(), text);
    EXPECT_DOUBLE_EQ(gProgressStep, 100.0 / 9) << "3 folders shown and 6 documents, one of them never shown";
    EXPECT_EQ(w.StatusBar1->Panels(4).Text(), "");

    click(*w.tvTop, {"Marketing", "Documents", "Campaigns"});
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"Drafts", "Spring", "PKMEvents"}));
    click(*w.tvTop, {"Marketing", "Documents", "Campaigns", "Spring"});
    EXPECT_EQ(rows(*w.lvTop), (std::vector<Texts>{{"plan.txt", text, "1.2 KB", kTime}}));
    EXPECT_TRUE(childTexts(*w.tvTop, {"Marketing", "Documents", "Campaigns", "Spring"}).empty());

    itemAt(*w.tvTop, {"Marketing"})->setExpanded(false);
    EXPECT_EQ(w.txtTop->text(), "http://SRC/Marketing");
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"Categories", "Documents"}));
    EXPECT_EQ(childTexts(*w.tvTop, {"Marketing", "Documents"}), Texts{"Searching..."}) << "one fresh level";
    EXPECT_FALSE(itemAt(*w.tvTop, {"Marketing"})->isExpanded());
    EXPECT_TRUE(w.tbTop->Buttons(2).Enabled());
    EXPECT_TRUE(logLines().empty());
}

TEST_F(BrowseTest, NamesLikeTheFixedKeysAndFoldersOfOneNameEachBrowseTheirOwnLevel)
{
    FrmMainGUI& w = window();
    w.show();
    store::AddWorkspace("DEST", "E1");
    store::AddWorkspace("DEST", "Root");
    connectSource("SRC");
    connectDestination("DEST");

    click(*w.tvTop, {"E1"});
    EXPECT_EQ(w.txtTop->text(), "http://SRC/E1");
    EXPECT_EQ(childTexts(*w.tvTop, {"E1"}), (Texts{"Categories", "Documents"}));
    browseTo(*w.tvTop, {"Root", "Documents"});
    EXPECT_EQ(w.txtTop->text(), "http://SRC/Root/Documents");

    browseTo(*w.tvTop, {"Marketing", "Documents", "Drafts"});
    browseTo(*w.tvTop, {"Marketing", "Documents", "Campaigns", "Drafts"});
    EXPECT_EQ(rowNames(*w.lvTop), Texts{"deep draft.txt"});
    click(*w.tvTop, {"Marketing", "Documents", "Drafts"});
    EXPECT_EQ(rowNames(*w.lvTop), Texts{"top draft.txt"});

    EXPECT_EQ(w.tvBottom->Nodes().Item(NamedNodeKey("http://DEST/E1")).Text(), "E1");
    click(*w.tvBottom, {"Root"});
    EXPECT_EQ(w.txtBottom->text(), "http://DEST/Root");
    EXPECT_EQ(gCurrentDestUrl, "http://DEST/Root");
    EXPECT_EQ(childTexts(*w.tvBottom, {"Root"}), (Texts{"Categories", "Documents"}));
    EXPECT_TRUE(logLines().empty());
}

// Each row of the connection errors from its real cause, for both panes.
TEST_F(BrowseTest, AServerThatCannotBeListedEndsTheListingWithItsReason)
{
    network_.addHost("PLAIN");
    network_.addServer("DOWN");
    network_.setReachable("DOWN", false);
    network_.addServer("LOCKED");
    store::AddWorkspace("LOCKED", "Secret");
    network_.addServer("BROKEN");
    store::AddWorkspace("BROKEN", "Damaged");
    testing_support::WriteFile(network_.storeFolder("BROKEN") / "Damaged" / ".tvx.folder.json", "not a folder");

    const std::string notRunning = "Connection could not be established to the specified SPS. Check whether "
                                   "SharePoint is properly installed and is currently running";
    const std::string shutDown = "Connection could not be established to the specified SPS. Server may be shutdown.";
    const std::string noPermission = "Connection could not be established to the specified SPS. Check whether you "
                                     "have sufficient permissions in SPS or contact your system administrator.";
    const std::string noClient = "Could not connect to the specified SharePoint Portal Server. Please make sure that "
                                 "the client components of Microsoft Office SharePoint Portal Server 2003 is installed.";
    enum Cause { kUnknownHost, kUnreachable, kNoStore, kNotAReader, kNoNetwork, kDamaged };
    const struct {
        Cause cause;
        const char* server;
        bool source;
        ui::ShownMessage message;
        const char *top, *bottom; // the address boxes after, both "x" before
        bool refreshTakenBack, findingUnloaded;
    } cases[] = {
        {kUnknownHost, "NOPE", true, {shutDown, 48}, "", "", true, true},
        {kUnreachable, "DOWN", true, {shutDown, 48}, "", "", true, true},
        {kNoStore, "PLAIN", true, {notRunning, 48}, "", "", true, true},
        {kNotAReader, "LOCKED", true, {noPermission, 48}, "", "", true, true},
        {kNoNetwork, "SRC", true, {noClient, 64}, "", "x", false, false},
        {kDamaged, "BROKEN", true, {shutDown, 48}, "", "", true, true},
        // Names the connect dialog lets through: each answers as a host that is not there.
        {kUnknownHost, "two words", true, {shutDown, 48}, "", "", true, true},
        {kUnknownHost, "..", true, {shutDown, 48}, "", "", true, true},
        {kUnknownHost, "host:80", true, {shutDown, 48}, "", "", true, true},
        {kUnknownHost, "~n\u00e4me", false, {shutDown, 48}, "x", "", true, true},
        {kUnknownHost, "NOPE", false, {shutDown, 48}, "x", "", true, true},
        {kNoStore, "PLAIN", false, {notRunning + ".", 48}, "x", "", true, true},
        {kNotAReader, "LOCKED", false, {noPermission, 48}, "x", "", true, true},
        {kNoNetwork, "DEST", false, {noClient, 64}, "x", "", false, false},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(c.server) + (c.source ? " source" : " destination");
        FrmMainGUI& w = window();
        w.txtTop->setText("x");
        w.txtBottom->setText("x");
        SwitchCommand(*w.tbTop, 4, w.mnuRefreshS, true);
        SwitchCommand(*w.tbBottom, 5, w.mnuRefreshD, true);
        ui::FormInstance<frmFinding>::get();
        {
            testing_support::TempFolder empty;
            std::optional<testing_support::ScopedEnv> noNetwork;
            if (c.cause == kNoNetwork) noNetwork.emplace("TARVEX_NETWORK", empty.path().string());
            if (c.cause == kNotAReader) network_.actAs("TARVEXNET", "stranger");
            c.source ? w.DisplaySourceWorkspaces(c.server) : w.DisplayDestWorkspaces(c.server);
            network_.actAs("TARVEXNET", "tester");
        }
        ASSERT_FALSE(messageBoxes_.shown().empty()) << label;
        EXPECT_EQ(messageBoxes_.shown().back(), c.message) << label;
        EXPECT_EQ(w.txtTop->text().toStdString(), c.top) << label;
        EXPECT_EQ(w.txtBottom->text().toStdString(), c.bottom) << label;
        EXPECT_EQ(!w.tbTop->Buttons(4).Enabled(), c.refreshTakenBack && c.source) << label;
        EXPECT_EQ(!w.mnuRefreshD->isEnabled(), c.refreshTakenBack && !c.source) << label;
        EXPECT_EQ(!ui::FormInstance<frmFinding>::isLoaded(), c.findingUnloaded) << label;
        ui::FormInstance<FrmMainGUI>::unload();
    }
    EXPECT_EQ(messageBoxes_.shown().size(), std::size(cases));
    EXPECT_TRUE(logLines().empty());
}

TEST_F(BrowseTest, AConnectionThatFailsThroughTheDialogLeavesRefreshOff)
{
    FrmMainGUI& w = window();
    connectSource("NOPE");
    EXPECT_FALSE(w.tbTop->Buttons(4).Enabled());
    EXPECT_FALSE(w.mnuRefreshS->isEnabled());
    EXPECT_EQ(w.tvTop->Nodes().Count(), 0);
    EXPECT_FALSE(ui::FormInstance<frmFinding>::isLoaded());
}

TEST_F(BrowseTest, AFolderTheUserMayNotReadEndsTheListingWithThePermissionMessage)
{
    FrmMainGUI& w = window();
    w.show();
    store::SetRoles("http://SRC/Marketing", {{"\\Everyone"}, {}, {network_.user()}});
    store::SetRoles(documents_ + "/System", {{"TARVEXNET\\anna"}, {}, {network_.user()}});
    connectSource("SRC");
    browseTo(*w.tvTop, {"Marketing"});
    network_.actAs("TARVEXNET", "reader");
    click(*w.tvTop, {"Marketing", "Documents"});
    EXPECT_EQ(messageBoxes_.shown(),
              (std::vector<ui::ShownMessage>{{"Permission denied.Please Contact the administrator.", 64}}));
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"Campaigns", "Drafts"})) << "the rows before it stay";
    EXPECT_EQ(w.StatusBar1->Panels(4).Text(), "");
    EXPECT_TRUE(logLines().empty());
}

TEST_F(BrowseTest, AColumnClickSortsTheListedFolderAndTheNextListingKeepsThatOrder)
{
    FrmMainGUI& w = window();
    w.show();
    connectSource("SRC");
    browseTo(*w.tvTop, {"Marketing", "Documents"});
    const auto clickHeader = [&](int column) {
        QHeaderView* header = w.lvTop->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column - 1) + 5, header->height() / 2));
    };
    clickHeader(1);
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"System", "e.txt", "Drafts", "d.txt", "Campaigns", "c.txt", "b.txt", "a.txt"}));
    clickHeader(3);
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"System", "Drafts", "Campaigns", "a.txt", "c.txt", "d.txt", "b.txt", "e.txt"}))
        << "ascending by the size's text";
    click(*w.tvTop, {"Marketing", "Documents"});
    EXPECT_EQ(rowNames(*w.lvTop), (Texts{"Campaigns", "Drafts", "System", "a.txt", "c.txt", "d.txt", "b.txt", "e.txt"}));
    EXPECT_EQ(rows(*w.lvTop)[7], (Texts{"e.txt", w.GetKey("e.txt"), "2 KB", kTime}));
}

TEST_F(BrowseTest, ARightClickPointsTheAddressAtTheNodeAndReadsNothing)
{
    FrmMainGUI& w = window();
    w.show();
    connectSource("SRC");
    connectDestination("DEST");
    click(*w.tvTop, {"Marketing"});
    const Texts listed = rowNames(*w.lvTop);

    click(*w.tvTop, {"Marketing"}, Qt::RightButton); // on the selected node: the pop-up menu
    EXPECT_TRUE(w.mnuNewPop->isVisible());
    w.mnuNewPop->hide();
    EXPECT_TRUE(w.mnuCopy->isEnabled());
    EXPECT_TRUE(w.mnuCopyProfiles->isEnabled()) << "a workspace";
    EXPECT_FALSE(w.mnuPaste->isEnabled() || w.mnuPasteProfiles->isEnabled() || w.mnuDelete->isEnabled());

    click(*w.tvTop, {"E1"}, Qt::RightButton); // not the selected node: no menu, the address only
    EXPECT_FALSE(w.mnuNewPop->isVisible());
    EXPECT_EQ(w.txtTop->text(), "http://SRC/E1");
    EXPECT_EQ(gCurrentSourceUrl, "http://SRC/Marketing");
    EXPECT_EQ(rowNames(*w.lvTop), listed);
    EXPECT_EQ(childTexts(*w.tvTop, {"E1"}), Texts{"Searching..."});

    gItemsCopied = true;
    click(*w.tvBottom, {"Team"}, Qt::RightButton);
    EXPECT_EQ(w.txtBottom->text(), "http://DEST/Team");
    EXPECT_EQ(gCurrentDestUrl, "http://DEST/Team");
    EXPECT_FALSE(w.tbBottom->Buttons(7).Enabled()) << "a workspace into a workspace";
    click(*w.tvBottom, {}, Qt::RightButton);
    click(*w.tvBottom, {}, Qt::RightButton);
    EXPECT_TRUE(w.mnuNewPop->isVisible());
    w.mnuNewPop->hide();
    EXPECT_FALSE(w.mnuCopy->isEnabled() || w.mnuCopyProfiles->isEnabled() || w.mnuDelete->isEnabled());
    EXPECT_TRUE(w.mnuPaste->isEnabled()) << "Add is on for a server into a server, and something was copied";
    EXPECT_TRUE(logLines().empty());
}

TEST_F(BrowseTest, PendingEntriesShowInTheirDestinationFolderAndPendingFoldersListTheirSource)
{
    FrmMainGUI& w = window();
    w.show();
    connectDestination("DEST");
    const std::string destination = team_ + "/Documents";
    gSelectedSources = documents_ + "/Campaigns|" + documents_ + "/c.txt|" + documents_ + "/Drafts|";
    gSelectedDestinations = destination + "=" + destination + "=" + destination + "=";
    gSelectedTypes = "3~3~3~";

    browseTo(*w.tvBottom, {"Team", "Documents"});
    EXPECT_EQ(rows(*w.lvBottom), (std::vector<Texts>{{"Drafts", "folder", " ", kTime},
                                                      {"Campaigns", "Folder", " ", kTime},
                                                      {"c.txt", w.GetKey("c.txt"), "1 KB", kTime}}));
    EXPECT_EQ(childTexts(*w.tvBottom, {"Team", "Documents"}), (Texts{"Drafts", "Campaigns"}));
    const ui::TreeNode pending = w.tvBottom->Nodes().Item(NamedNodeKey(destination + "/campaigns"));
    EXPECT_EQ(pending.Image(), "folder");
    EXPECT_EQ(pending.Child().Text(), "Searching...");

    click(*w.tvBottom, {"Team", "Documents", "Campaigns"});
    EXPECT_EQ(w.txtBottom->text().toStdString(), destination + "/Campaigns");
    EXPECT_EQ(rowNames(*w.lvBottom), (Texts{"Drafts", "Spring", "PKMEvents"}));
    click(*w.tvBottom, {"Team", "Documents", "Campaigns", "Spring"}); // two levels below the pending folder
    EXPECT_EQ(rowNames(*w.lvBottom), Texts{"plan.txt"});

    click(*w.tvBottom, {"Team", "Documents"});
    EXPECT_EQ(childTexts(*w.tvBottom, {"Team", "Documents"}), (Texts{"Drafts", "Campaigns"})) << "shown once";
    EXPECT_TRUE(logLines().empty());

    // A folder deleted meanwhile is not looked for in a pending folder's
    // source, which holds one of that name.
    gSelectedSources = documents_ + "/Campaigns|";
    gSelectedDestinations = destination + "=";
    gSelectedTypes = "3~";
    store::SpsFolder().Delete(destination + "/Drafts");
    click(*w.tvBottom, {"Team", "Documents", "Drafts"});
    EXPECT_TRUE(rows(*w.lvBottom).empty());
    const Texts lines = logLines();
    const auto logged = [](const std::string& line) { return line.find("MainGUI") != std::string::npos; };
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), logged), 1);
    EXPECT_EQ(lastLogLine().find(kLogTime + "No=-2147217895-due to -"), 0u) << lastLogLine();
    EXPECT_TRUE(lastLogLine().ends_with("in MainGUI-tvBottom_NodeClick")) << lastLogLine();
}

TEST(BrowseRules, NodeUrlsNamesNeverListedAndPendingOrigins)
{
    EXPECT_EQ(NodeUrl("Entire Network\\CORP\\SPS2\\Team", true), "http://SPS2/Team");

    for (const char* name : {"_TEMP_", "LOCKS", "Verwaltung", "Management", "SHADOW", "system", "Dashboards",
                             "PubModels", "selectors", "pkmevents", "PKMEVENTS"})
        EXPECT_TRUE(IsNeverListedFolder(name)) << name;
    for (const char* name : {"System", "locks", "_temp_", "Documents"}) EXPECT_FALSE(IsNeverListedFolder(name)) << name;
    EXPECT_TRUE(IsNeverListedDocument("pkmevents"));
    EXPECT_FALSE(IsNeverListedDocument("PKMEvents"));
    EXPECT_EQ(FolderImageKey("URN:Content-Classes:SmartFolder", "folder"), "enhanced");
    EXPECT_EQ(PendingFolderImageKey("urn:content-classes:workspace"), "workspace");

    // A pending folder B added into the pending folder A lies in both.
    const std::string sources = "http://S/W/Docs/A|http://S/W/Docs/B|http://S/W/Docs/B|";
    const std::string destinations = "http://D/T/Docs=http://D/T/Other=http://D/T/Docs/A=";
    const auto origins = [&](const char* url) {
        std::vector<std::pair<std::string, Texts>> found;
        for (const PendingOrigin& origin : FindPendingOrigins(url, sources, destinations))
            found.emplace_back(origin.sourceUrl, origin.below);
        return found;
    };
    using Origins = std::vector<std::pair<std::string, Texts>>;
    EXPECT_EQ(origins("http://d/t/docs/a"), (Origins{{"http://S/W/Docs/A", {}}}));
    EXPECT_EQ(origins("http://D/T/Other/B/x/y"), (Origins{{"http://S/W/Docs/B", {"x", "y"}}}));
    EXPECT_EQ(origins("http://D/T/Docs/A/B/x"),
              (Origins{{"http://S/W/Docs/A", {"B", "x"}}, {"http://S/W/Docs/B", {"x"}}}));
    EXPECT_TRUE(origins("http://D/T/Docs/B").empty()) << "B goes into another folder";
    EXPECT_TRUE(origins("http://D/T/Docs/AB").empty());
    EXPECT_TRUE(origins("http://D/T/Docs").empty());
}

} // namespace
