// Collecting the selection from the window: adding items into a folder and a
// whole server, the replace question, removing pending items, queueing
// profile pairs, and what disconnecting and refreshing do to the selection.

#include "window_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/cart_entries.h"
#include "app/mainwindow/node_keys.h"
#include "app/mainwindow/selection_rules.h"
#include "command_states.h"
#include "platform/store/admin.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/ui/tool_bar.h"

#include <QLineEdit>
#include <QTest>

#include <functional>
#include <optional>

namespace {

using namespace window_testing;
using Messages = std::vector<ui::ShownMessage>;

const std::string kTime = "12/7/2026 10:44:30 PM";

std::string ReplaceQuestion(const std::string& name)
{
    return "This folder already contains an item named '" + name +
           "'.\r\nDo you want to replace the existing one with the new item?";
}

class SelectionTest : public WindowTest {
protected:
    static void ExpectCart(const std::string& sources, const std::string& destinations, const std::string& types)
    {
        EXPECT_EQ(gSelectedSources, sources);
        EXPECT_EQ(gSelectedDestinations, destinations);
        EXPECT_EQ(gSelectedTypes, types);
    }
    static void ExpectRemoveAndReplicate(bool enabled)
    {
        FrmMainGUI& w = window();
        ExpectCommandStates({{w.tbBottom, 8, w.mnuRemove, enabled}, {w.tbBottom, 12, w.mnuReplicate, enabled}});
    }
};

TEST(SelectionRules, RemovalByAddressTypesAsNumbersAndSeparators)
{
    CartEntries cart = CartEntries::Parse("http://S/W/d/A.txt|http://S/W/e/a.txt|http://S/W/d/b|",
                                          "http://D/W/d=http://D/W/d=http://D/W/d=", "3~3~3~");
    EXPECT_TRUE(cart.removeEntriesAt("http://d/w/D/a.TXT"));
    EXPECT_EQ(cart.sourcesText() + cart.destinationsText() + cart.typesText(), "http://S/W/d/b|http://D/W/d=3~")
        << "every entry of that name goes";
    EXPECT_FALSE(cart.removeEntriesAt("http://D/W/d/c"));

    // A pending folder goes with what was added into it (in any letter case),
    // not with what went into a sibling of a longer name.
    CartEntries nested = CartEntries::Parse(
        "http://S/W/d/A|http://S/W/d/Z|http://S/W/d/y.txt|http://S/W/d/q.txt|http://S/W/d/r.txt|",
        "http://D/W/d=http://D/W/d/A=http://D/W/d/a/Z=http://D/W/d/AB=http://D/W/d=", "3~3~3~3~3~");
    EXPECT_FALSE(nested.removeEntriesAtAndBelow("http://D/W/d/AB")) << "no pending item there: nothing goes";
    EXPECT_TRUE(nested.removeEntriesAtAndBelow("http://D/W/d/a"));
    EXPECT_EQ(nested.sourcesText() + nested.destinationsText() + nested.typesText(),
              "http://S/W/d/q.txt|http://S/W/d/r.txt|http://D/W/d/AB=http://D/W/d=3~3~");

    EXPECT_TRUE(HoldsReplicationType({"3", " 0 "}, {0}));
    EXPECT_FALSE(HoldsReplicationType({"3", "x"}, {1, 2}));
    EXPECT_TRUE(BreaksSourceList("http://S/W/d/a|b"));
    EXPECT_FALSE(BreaksSourceList("http://S/W/d/~q1=final.txt"));
    EXPECT_TRUE(BreaksDestinationList("http://D/W/d/x=y"));
    EXPECT_FALSE(BreaksDestinationList("http://D/W/d/~a|b"));
}

TEST_F(SelectionTest, AnItemGoesOnceIntoAFolderAndAgainIntoAnother)
{
    FrmMainGUI& w = window();
    connectBoth();
    store::AddFolder(kTeamDocuments, "Archive");

    Press(*w.tbBottom, 12);
    EXPECT_EQ(messageBoxes_.shown(), (Messages{{"You have not added any documents (or) folders to the destination "
                                                "Sharepoint. Please add the items to the destination and then Replicate.",
                                                64}}));
    EXPECT_TRUE(dialogs_.shown().empty()) << "no options dialog";
    EXPECT_FALSE(w.IsWorkspaceAdded() || w.IsFolAdded());

    addRows({"Marketing", "Documents"}, {"Campaigns 2026"});
    Press(*w.tbBottom, 7); // the same item into the same folder: skipped without a word
    const std::string campaigns = kMarketingDocuments + "/Campaigns 2026";
    ExpectCart(campaigns + "|", kTeamDocuments + "=", "3~");
    const ui::TreeNode pending = NodeAt(*w.tvBottom, {"Team", "Documents", "Campaigns 2026"});
    EXPECT_EQ(pending.Key(), NamedNodeKey(kTeamDocuments + "/Campaigns 2026"));
    EXPECT_EQ(pending.Image(), "folder");
    EXPECT_EQ(pending.Child().Text(), "Searching...");
    EXPECT_EQ(Rows(*w.lvBottom), (std::vector<Texts>{{"Archive", "folder", " ", kTime},
                                                      {"Campaigns 2026", "Folder", " ", kTime}}));
    ExpectRemoveAndReplicate(true);
    EXPECT_TRUE(w.IsFolAdded());
    EXPECT_FALSE(w.IsWorkspaceAdded());

    BrowseTo(*w.tvBottom, {"Team", "Documents", "Archive"});
    ClickRows(*w.lvTop, {"Campaigns 2026"});
    Press(*w.tbBottom, 7);
    ExpectCart(campaigns + "|" + campaigns + "|", kTeamDocuments + "=" + kTeamDocuments + "/Archive=", "3~3~");
    EXPECT_EQ(messageBoxes_.shown().size(), 1u);
    EXPECT_TRUE(logLines().empty());

    // An item gone from the source meanwhile is not added.
    store::SpsDocument().Delete(kMarketingDocuments + "/empty notes.txt");
    ClickRows(*w.lvTop, {"empty notes.txt"});
    Press(*w.tbBottom, 7);
    EXPECT_EQ(gSelectedTypes, "3~3~");
    EXPECT_TRUE(lastLogLine().ends_with("notes.txt\" does not existin AddFilesToCart")) << lastLogLine();
}

TEST_F(SelectionTest, TheReplaceQuestionSkipsOnlyTheDeclinedItemAndAYesDropsThePendingOne)
{
    FrmMainGUI& w = window();
    connectBoth();
    store::AddDocument(kTeamDocuments, "Press Release.htm", store::DocumentSpec("old"));
    const std::string research = kSource + "/Research and Development/Documents";
    store::AddDocument(research, "empty notes.txt", store::DocumentSpec("other"));
    store::AddDocument(kMarketingDocuments, "a|b.txt", store::DocumentSpec("x"));

    messageBoxes_.queueAnswer(ui::vbNo);
    addRows({"Marketing", "Documents"}, {"press release.htm", "empty notes.txt", "Präsentationen", "a|b.txt"});
    EXPECT_EQ(w.txtTop->text().toStdString(), kMarketingDocuments + "/press release.htm");
    EXPECT_EQ(messageBoxes_.shown(),
              (Messages{{SourceSeparatorRefusal(kMarketingDocuments + "/a|b.txt"), 48},
                        {ReplaceQuestion("Press Release.htm"), 36}}));
    ExpectCart(kMarketingDocuments + "/Präsentationen|" + kMarketingDocuments + "/empty notes.txt|",
               kTeamDocuments + "=" + kTeamDocuments + "=", "3~3~");
    const std::string text = w.GetKey("empty notes.txt");
    EXPECT_EQ(Rows(*w.lvBottom), (std::vector<Texts>{{"Press Release.htm", w.GetKey("a.htm"), "3 Bytes", kTime},
                                                      {"Präsentationen", "Folder", " ", kTime},
                                                      {"empty notes.txt", text, "0 Bytes", kTime}}));

    messageBoxes_.queueAnswer(ui::vbYes);
    BrowseTo(*w.tvTop, {"Research and Development", "Documents"});
    ClickRows(*w.lvTop, {"empty notes.txt"});
    Press(*w.tbBottom, 7);
    EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{ReplaceQuestion("empty notes.txt"), 36}));
    ExpectCart(kMarketingDocuments + "/Präsentationen|" + research + "/empty notes.txt|",
               kTeamDocuments + "=" + kTeamDocuments + "=", "3~3~");
    EXPECT_EQ(RowNames(*w.lvBottom), (Texts{"Press Release.htm", "Präsentationen", "empty notes.txt"}));
    EXPECT_EQ(Rows(*w.lvBottom)[2][2], "5 Bytes");
    EXPECT_TRUE(logLines().empty());
}

TEST_F(SelectionTest, RemoveTakesTheSelectedPendingRowAndNeverAnItemOfTheServer)
{
    FrmMainGUI& w = window();
    connectBoth();
    store::AddDocument(kTeamDocuments, "old.txt", store::DocumentSpec("old"));
    addRows({"Marketing", "Documents"}, {"Präsentationen", "empty notes.txt"});

    Press(*w.tbBottom, 8);
    EXPECT_EQ(messageBoxes_.shown().back(),
              (ui::ShownMessage{"Please select file or folder from the bottom pane.", 48}));
    ClickRows(*w.lvBottom, {"old.txt"});
    Press(*w.tbBottom, 8);
    EXPECT_EQ(messageBoxes_.shown().back(),
              (ui::ShownMessage{"Tarvex allows you to remove an item copied in the current session only.", 48}));
    EXPECT_EQ(RowNames(*w.lvBottom).size(), 3u);

    // The address box names the row clicked; the arrow keys then select
    // another row without a click.
    ClickRows(*w.lvBottom, {"empty notes.txt"});
    QTest::keyClick(w.lvBottom, Qt::Key_Up);
    Press(*w.tbBottom, 8);
    ExpectCart(kMarketingDocuments + "/empty notes.txt|", kTeamDocuments + "=", "3~");
    EXPECT_EQ(RowNames(*w.lvBottom), (Texts{"old.txt", "empty notes.txt"}));
    EXPECT_EQ(ChildTexts(*w.tvBottom, {"Team", "Documents"}), Texts{});
    ExpectRemoveAndReplicate(true);

    ClickRows(*w.lvBottom, {"empty notes.txt"});
    Press(*w.tbBottom, 8);
    ExpectCart("", "", "");
    ExpectRemoveAndReplicate(false);
    EXPECT_EQ(messageBoxes_.shown().size(), 2u);
    EXPECT_TRUE(logLines().empty());
}

// A pending folder added into another pending folder opens with its own
// source's content, as the outer one's own subfolders open with theirs;
// removing the outer folder takes what was added inside it, nodes and
// entries, and nothing beside it.
TEST_F(SelectionTest, PendingFoldersInsidePendingFoldersOpenAndGoWithTheirParent)
{
    FrmMainGUI& w = window();
    connectBoth();
    const std::string campaigns = kTeamDocuments + "/Campaigns 2026";
    const std::string research = kSource + "/Research and Development/Documents";
    addRows({"Marketing", "Documents"}, {"Campaigns 2026", "empty notes.txt"});

    Click(*w.tvBottom, {"Team", "Documents", "Campaigns 2026"});
    EXPECT_EQ(RowNames(*w.lvBottom), (Texts{"Spring Launch", "budget.xlsx"}));
    BrowseTo(*w.tvTop, {"Research and Development", "Documents"});
    ClickRows(*w.lvTop, {"Datasheets"});
    Press(*w.tbBottom, 7);
    Click(*w.tvBottom, {"Team", "Documents", "Campaigns 2026", "Datasheets"});
    EXPECT_EQ(w.txtBottom->text().toStdString(), campaigns + "/Datasheets");
    EXPECT_EQ(RowNames(*w.lvBottom), (Texts{"test report.pdf", "widget datasheet v2.doc"}));
    ClickRows(*w.lvTop, {"large dataset.csv"});
    Press(*w.tbBottom, 7);
    EXPECT_EQ(RowNames(*w.lvBottom).back(), "large dataset.csv");
    Click(*w.tvBottom, {"Team", "Documents", "Campaigns 2026", "Spring Launch"});
    EXPECT_EQ(RowNames(*w.lvBottom), (Texts{"banner.png", "launch plan.docx"}));
    ExpectCart(kMarketingDocuments + "/Campaigns 2026|" + kMarketingDocuments + "/empty notes.txt|" + research +
                   "/Datasheets|" + research + "/large dataset.csv|",
               kTeamDocuments + "=" + kTeamDocuments + "=" + campaigns + "=" + campaigns + "/Datasheets=", "3~3~3~3~");
    EXPECT_TRUE(logLines().empty()) << logLines().back();

    Click(*w.tvBottom, {"Team", "Documents"});
    ClickRows(*w.lvBottom, {"Campaigns 2026"});
    Press(*w.tbBottom, 8);
    ExpectCart(kMarketingDocuments + "/empty notes.txt|", kTeamDocuments + "=", "3~");
    EXPECT_EQ(RowNames(*w.lvBottom), Texts{"empty notes.txt"});
    EXPECT_EQ(ChildTexts(*w.tvBottom, {"Team", "Documents"}), Texts{});
    ExpectRemoveAndReplicate(true);
    EXPECT_TRUE(messageBoxes_.shown().empty());
}

// A node or row that the keys select is read as a clicked one: the address,
// the level listed and the Add rule follow it, and Add takes the items the
// keys chose, into the folder they chose.
TEST_F(SelectionTest, KeysThatMoveTheSelectionActAsClicks)
{
    FrmMainGUI& w = window();
    connectBoth();
    Click(*w.tvTop, {});
    w.tvTop->setFocus();
    QTest::keyClick(w.tvTop, Qt::Key_Down);
    QTest::keyClicks(w.tvTop, "Mar");
    EXPECT_EQ(w.txtTop->text().toStdString(), kSource + "/Marketing");
    EXPECT_EQ(RowNames(*w.lvTop), (Texts{"Categories", "Documents"}));
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down}) QTest::keyClick(w.tvTop, key);
    EXPECT_EQ(w.txtTop->text().toStdString(), kMarketingDocuments);
    EXPECT_EQ(gCurrentSourceUrl, kMarketingDocuments);
    ClickRows(*w.lvTop, {"Campaigns 2026"});
    QTest::keyClick(w.lvTop, Qt::Key_Down);
    EXPECT_EQ(w.txtTop->text().toStdString(), kMarketingDocuments + "/Präsentationen");

    BrowseTo(*w.tvBottom, {"Team", "Documents"});
    EXPECT_TRUE(w.tbBottom->Buttons(7).Enabled());
    w.tvBottom->setFocus();
    QTest::keyClick(w.tvBottom, Qt::Key_Home);
    EXPECT_EQ(w.txtBottom->text().toStdString(), kTarget);
    EXPECT_FALSE(w.tbBottom->Buttons(7).Enabled()) << "a folder into a server";
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) QTest::keyClick(w.tvBottom, key);
    EXPECT_EQ(gCurrentDestUrl, kTeamDocuments);
    QTest::keyClick(w.tvBottom, Qt::Key_Up);
    EXPECT_EQ(gCurrentDestUrl, kTarget + "/Team/Categories");
    EXPECT_TRUE(w.tbBottom->Buttons(7).Enabled());

    Press(*w.tbBottom, 7);
    ExpectCart(kMarketingDocuments + "/Präsentationen|", kTarget + "/Team/Categories=", "3~");
    EXPECT_EQ(RowNames(*w.lvBottom).back(), "Präsentationen");
    EXPECT_TRUE(logLines().empty());
}

// Both panes may show one server. An item whose copy would land on itself or
// inside it is refused at Add with a message naming it, and leaves no row,
// node or entry; the other items selected with it are added. Names compare
// whole and without regard to letter case.
TEST_F(SelectionTest, AnAddOntoItsOwnSourceIsRefusedByNameAndTheOthersAreAdded)
{
    FrmMainGUI& w = window();
    store::AddFolder(kMarketingDocuments, "Campaigns");
    w.show();
    ConnectSource(w, "SPSSOURCE");
    ConnectDestination(w, "spssource");
    const std::string target = "http://spssource/Marketing/Documents";
    const auto refusal = [](const std::string& url) {
        return ui::ShownMessage{"Tarvex cannot replicate \"" + url + "\" onto itself or into a folder inside it.", 48};
    };
    const struct {
        const char* what;
        Texts sourceFolder, rows, destinationFolder;
        Messages messages;
        std::string addedSources, addedDestinations;
    } cases[] = {
        {"a document into its own folder", {"Marketing", "Documents"}, {"empty notes.txt"}, {"Marketing", "Documents"},
         {refusal(kMarketingDocuments + "/empty notes.txt")}, "", ""},
        {"a folder into itself", {"Marketing", "Documents"}, {"Campaigns 2026"},
         {"Marketing", "Documents", "Campaigns 2026"}, {refusal(kMarketingDocuments + "/Campaigns 2026")}, "", ""},
        {"a folder into a subfolder of itself", {"Marketing", "Documents"}, {"Campaigns 2026"},
         {"Marketing", "Documents", "Campaigns 2026", "Spring Launch"},
         {refusal(kMarketingDocuments + "/Campaigns 2026")}, "", ""},
        {"a folder into a sibling whose name begins with its own", {"Marketing", "Documents"}, {"Campaigns"},
         {"Marketing", "Documents", "Campaigns 2026"}, {}, kMarketingDocuments + "/Campaigns|",
         target + "/Campaigns 2026="},
        {"one of two rows into itself", {"Marketing", "Documents"}, {"Präsentationen", "press release.htm"},
         {"Marketing", "Documents", "Präsentationen"}, {refusal(kMarketingDocuments + "/Präsentationen")},
         kMarketingDocuments + "/press release.htm|", target + "/Präsentationen="},
        {"a workspace onto its own server", {}, {"Marketing"}, {}, {refusal(kSource + "/Marketing")}, "", ""},
    };
    for (const auto& c : cases) {
        const std::string sources = gSelectedSources;
        const std::string destinations = gSelectedDestinations;
        const std::size_t shown = messageBoxes_.shown().size();
        BrowseTo(*w.tvTop, c.sourceFolder);
        BrowseTo(*w.tvBottom, c.destinationFolder);
        const std::vector<Texts> rowsBefore = Rows(*w.lvBottom);
        const Texts nodesBefore = ChildTexts(*w.tvBottom, c.destinationFolder);
        ClickRows(*w.lvTop, c.rows);
        Press(*w.tbBottom, 7);
        EXPECT_EQ(Messages(messageBoxes_.shown().begin() + std::ptrdiff_t(shown), messageBoxes_.shown().end()),
                  c.messages)
            << c.what;
        EXPECT_EQ(gSelectedSources, sources + c.addedSources) << c.what;
        EXPECT_EQ(gSelectedDestinations, destinations + c.addedDestinations) << c.what;
        if (c.addedSources.empty()) {
            EXPECT_EQ(Rows(*w.lvBottom), rowsBefore) << c.what;
            EXPECT_EQ(ChildTexts(*w.tvBottom, c.destinationFolder), nodesBefore) << c.what;
        }
    }

    Click(*w.tvTop, {});
    Click(*w.tvBottom, {});
    Press(*w.tbBottom, 7);
    EXPECT_EQ(messageBoxes_.shown().back(), refusal(kSource)) << "a whole server onto itself, before any question";
    EXPECT_EQ(SplitEntries(gSelectedSources, "|").size(), 2u);
    EXPECT_TRUE(logLines().empty());
}

TEST_F(SelectionTest, AWholeServerAddSkipsTheWorkspacesAlreadyThereAndRewinds)
{
    FrmMainGUI& w = window();
    connectBoth();
    ClickRows(*w.lvTop, {"Marketing"});
    Press(*w.tbBottom, 7);
    ExpectCart(kSource + "/Marketing|", kTarget + "=", "2~");
    EXPECT_TRUE(w.IsWorkspaceAdded());

    Click(*w.tvTop, {});
    const std::string question = "Do you want to copy all workspaces from SPSSOURCE to SPSTARGET?\r\n"
                                 "Do select the desired workspace from the list to copy it.";
    Press(*w.tbBottom, 7); // answered No
    EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{question, 36}));
    EXPECT_EQ(gSelectedTypes, "2~");

    messageBoxes_.queueAnswer(ui::vbYes);
    Press(*w.tbBottom, 7);
    const std::string workspaces[] = {"Customer Projects", "Old Intranet", "Research and Development"};
    std::string sources = kSource + "/Marketing|";
    for (const std::string& name : workspaces) sources += kSource + "/" + name + "|";
    ExpectCart(sources, kTarget + "=" + kTarget + "=" + kTarget + "=" + kTarget + "=", "2~1~1~1~");
    EXPECT_EQ(ChildTexts(*w.tvBottom, {}), (Texts{"Team", "Marketing", "Customer Projects", "Old Intranet",
                                                  "Research and Development"}));
    EXPECT_EQ(NodeAt(*w.tvBottom, {"Old Intranet"}).Image(), "workspace");
    EXPECT_EQ(Rows(*w.lvBottom).back(), (Texts{"Research and Development", "Folder", " ", kTime}));
    ExpectCommandStates({{w.tbBottom, 7, w.mnuAdd, false}});
    ExpectRemoveAndReplicate(true);

    SwitchCommand(*w.tbBottom, 7, w.mnuAdd, true);
    messageBoxes_.queueAnswer(ui::vbYes);
    Press(*w.tbBottom, 7);
    EXPECT_EQ(SplitEntries(gSelectedSources, "|").size(), 4u) << "every workspace is there already";
    ExpectCommandStates({{w.tbBottom, 7, w.mnuAdd, true}});
    EXPECT_TRUE(logLines().empty());
}

// The address boxes are checked first; then each source item selected in the
// source list is compared with the destination folder shown (not the
// destination's address box), and with nothing selected there is nothing to
// compare.
TEST_F(SelectionTest, EachSelectedProfileSourceIsQueuedOnceForTheDestinationFolderShown)
{
    FrmMainGUI& w = window();
    for (const char* name : {"Sales", "Sales2"}) store::AddWorkspace("SPSTARGET", name);
    store::SetRoles(store::AddWorkspace("SPSTARGET", "Locked"), {{"\\Everyone"}, {}, {"TARVEXNET\\owner"}});
    connectBoth();
    SwitchCommand(*w.tbBottom, 12, w.mnuReplicate, false);
    const std::string marketing = kSource + "/Marketing";
    const auto queue = [&](const std::function<void()>& choose) {
        choose();
        const std::size_t shown = messageBoxes_.shown().size();
        w.DoRealProfileCreation_Test();
        return messageBoxes_.shown().size() == shown ? std::optional<ui::ShownMessage>()
                                                     : std::optional(messageBoxes_.shown().back());
    };
    const auto boxes = [&](const std::string& top, const std::string& bottom) {
        return [&w, top, bottom] {
            w.txtTop->setText(QString::fromStdString(top));
            w.txtBottom->setText(QString::fromStdString(bottom));
        };
    };
    const auto sourceRowAndTargetNode = [&](const char* workspace) {
        return [&w, workspace] {
            Click(*w.tvTop, {});
            ClickRows(*w.lvTop, {"Marketing"});
            Click(*w.tvBottom, {workspace});
        };
    };
    const auto alreadyQueued = ui::ShownMessage{marketing + " - Has already been added to the Destination.", 48};
    const struct {
        const char* what;
        std::function<void()> choose;
        std::optional<ui::ShownMessage> refusal;
    } cases[] = {
        {"no source", boxes("", kTarget + "/Sales"), ui::ShownMessage{"Unknown Error", 0}},
        {"a folder", boxes(marketing, kTarget + "/Sales/Documents"), ui::ShownMessage{"Please select workspaces only", 48}},
        {"not coordinated", boxes(marketing, kTarget + "/Locked"), ui::ShownMessage{kCoordinatorReminder, 48}},
        {"first pair", sourceRowAndTargetNode("Sales2"), std::nullopt},
        {"another destination", sourceRowAndTargetNode("Sales"), std::nullopt},
        {"the same pair", sourceRowAndTargetNode("Sales"), alreadyQueued},
        {"the destination's row names it, the server is shown",
         [&] {
             Click(*w.tvBottom, {});
             ClickRows(*w.lvBottom, {"Sales"});
         },
         std::nullopt},
        {"nothing selected in the source list", [&] { Click(*w.tvTop, {"Marketing"}); }, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(queue(c.choose), c.refusal) << c.what;
    EXPECT_EQ(gProfileSources, marketing + "|" + marketing + "|" + marketing + "|" + marketing + "|");
    EXPECT_EQ(gProfileDestinations,
              kTarget + "/Sales2=" + kTarget + "/Sales=" + kTarget + "/Sales=" + kTarget + "/Sales=");
    ExpectCommandStates({{w.tbBottom, 12, w.mnuReplicate, true}});

    gProfileDestinations += "x=";
    EXPECT_EQ(queue(sourceRowAndTargetNode("Team")),
              (ui::ShownMessage{"Number of Source and Destination Paths does not match. Terminating...", 48}));
    EXPECT_EQ(SplitEntries(gProfileSources, "|").size(), 4u);
}

TEST_F(SelectionTest, DisconnectingTheSourceKeepsTheSelectionTheDestinationsRefreshEmptiesIt)
{
    FrmMainGUI& w = window();
    connectBoth();
    addRows({"Marketing", "Documents"}, {"empty notes.txt"});
    const std::string cart = gSelectedSources;

    Press(*w.tbTop, 2); // answered No
    EXPECT_GT(w.tvTop->Nodes().Count(), 0);
    messageBoxes_.queueAnswer(ui::vbYes);
    Press(*w.tbTop, 2);
    EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{"Do you want to disconnect the connection?", 36}));
    EXPECT_EQ(w.tvTop->Nodes().Count() + w.lvTop->ListItems().Count() + w.lvTop->ColumnHeaders().Count(), 0);
    EXPECT_EQ(gSelectedSources, cart);
    ExpectCommandStates({{w.tbTop, 1, w.mnuConnectS, true}, {w.tbTop, 2, w.mnuDisconnectS, false}});

    messageBoxes_.queueAnswer(ui::vbYes);
    Press(*w.tbBottom, 5);
    EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{"Do you want to refresh the connection?", 36}));
    ExpectCart("", "", "");
    EXPECT_EQ(RowNames(*w.lvBottom), Texts{"Team"});
    Press(*w.tbBottom, 12);
    EXPECT_EQ(messageBoxes_.shown().back().style, 64) << "Replicate is on, and refuses the empty selection";
    EXPECT_TRUE(logLines().empty());
}

} // namespace
