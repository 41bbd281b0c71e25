// The main window's frame: its controls and menus, the state it loads in,
// its layout in twips, the status-bar progress, Esc and Exit, and the
// handlers of the menus, tool bars and lists.

#include "app/core/forms.h"
#include "app/core/shared_state.h"
#include "app/core/splash.h"
#include "app/core/startup.h"
#include "app/mainwindow/frm_main_gui.h"
#include "command_states.h"
#include "core/core_fixture.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/image_list.h"
#include "platform/ui/placement.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/screen.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tool_bar.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

namespace {

using ui::Placed;

class MainWindowTest : public CoreTest {
protected:
    ~MainWindowTest() override
    {
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }

    static FrmMainGUI& window() { return ui::FormInstance<FrmMainGUI>::get(); }
    static bool loaded() { return ui::FormInstance<FrmMainGUI>::isLoaded(); }

    // Rows of a list with the texts given, in order.
    static void fill(ui::ListView& list, std::initializer_list<const char*> texts)
    {
        for (const char* text : texts) list.ListItems().Add(0, "", text);
    }
    static QPoint centreOf(ui::ListView& list, int index)
    {
        return list.visualItemRect(list.topLevelItem(index - 1)).center();
    }

    ui::ScopedScreenSize screen_{{12000, 9000}}; // 800 by 600 pixels
};

TEST_F(MainWindowTest, EveryControlMenuAndImageListIsThereUnderItsName)
{
    FrmMainGUI& w = window();
    for (const char* name :
         {"tbTop", "lblTop", "txtTop", "pbTop_one", "tvTop", "pbTop_two", "lvTop", "tbBottom", "lblBottom", "lDest",
          "txtBottom", "pbBottom_one", "tvBottom", "pbbottom_two", "lvBottom", "StatusBar1", "ProgressBar1",
          "tempPicture", "ImageList_tbtop", "ImageList_tbbottom", "ImageList_TopTreeList", "ImageList_BottomTreeList",
          "MnuFile", "mnuAdd", "mnuRemove", "Sep7", "mnuCreateProfile", "mnuReplicate", "Sep1", "mnuExit", "MnuView",
          "mnuToolbar", "mnuToolbar1", "MnuTools", "mnuConnectS", "mnuDisconnectS", "Sep3", "mnuRefreshS",
          "mnuRefreshD", "Sep4", "mnuConnectD", "mnuDisconnectD", "mnuSettings", "mnuFilter", "mnuMapRoles", "MnuHelp",
          "mnuContents", "Sep5", "mnuAbout", "mnuNewPop", "mnuCopy", "mnuCopyProfiles", "sp1", "mnuPaste",
          "mnuPasteProfiles", "sep", "mnuDelete"})
        EXPECT_NE(w.findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;

    EXPECT_EQ(w.windowTitle(), "Tarvex v2.0.2 for SharePoint");
    EXPECT_EQ(w.lblTop->text(), "      SharePoint Source");
    EXPECT_EQ(w.lblBottom->text(), "Destination");
    EXPECT_EQ(w.lDest->text(), "Destination ");
    EXPECT_EQ(&MainWindow(), &MainWindow()); // installed for the engine
    EXPECT_EQ(w.ImageList_tbtop->Keys(),
              (std::vector<std::string>{"disconnect", "connect", "refresh", "exit", "help", "map", "exit1",
                                        "disconnect1", "connect1", "disconnect2"}));
    EXPECT_EQ(w.ImageList_BottomTreeList->Keys(),
              (std::vector<std::string>{"listservers", "finding1", "DocumentTemp", "FolderTemp", "entirenet", "server",
                                        "workspace", "enhanced", "folder", "Unknown File", "Unknown"}));
    EXPECT_EQ(w.ImageList_tbbottom->Count(), 16);
    EXPECT_EQ(w.ImageList_TopTreeList->Count(), 10);
}

TEST_F(MainWindowTest, TheToolBarsHaveTheirButtonsAtTheirIndicesWithSeparatorsCounted)
{
    FrmMainGUI& w = window();
    struct Button {
        int index;
        const char *caption, *key, *toolTip, *image;
    };
    const Button top[] = {{1, "Connect", "Connect", "Connect to source sharepoint", "connect1"},
                          {2, "Disconnect", "DisConnect", "Disconnect the server", "disconnect2"},
                          {4, "Refresh", "Refresh", "Refresh connection", "refresh"},
                          {6, "Map Roles", "Map", "Map user roles ", "map"},
                          {8, "Exit", "Exit", "Exit Tarvex", "exit1"},
                          {9, "Help", "Help", "Help", "help"}};
    const Button bottom[] = {{1, "Connect", "Connect", "Connect", "connect1"},
                             {2, "List Servers", "ListServers", "List Servers", "listservers"},
                             {3, "Disconnect", "Disconnect", "Disconnect", "disconnect2"},
                             {5, "Refresh", "Refresh", "Refresh", "refresh"},
                             {7, "Add", "add", "Copy selected item ", "add"},
                             {8, "Remove", "remove", "Delete copied item", "remove"},
                             {10, "Add Profiles", "Create Profile", "Copy profiles ", "createprofile"},
                             {11, "Filter", "Filter", "Filter", "filter"},
                             {12, "Replicate", "Replicate", "Replicate", "replicate1"}};
    const auto check = [](ui::ToolBar& bar, const auto& buttons, std::vector<int> separators, int count) {
        EXPECT_EQ(bar.Count(), count);
        for (int index : separators) EXPECT_TRUE(bar.Buttons(index).isSeparator()) << index;
        for (const Button& b : buttons) {
            const ui::ToolButton& button = bar.Buttons(b.index);
            EXPECT_EQ(button.Caption(), b.caption) << b.index;
            EXPECT_EQ(button.Key(), b.key) << b.index;
            EXPECT_EQ(button.ToolTipText(), b.toolTip) << b.index;
            EXPECT_EQ(button.Image(), b.image) << b.index;
        }
    };
    check(*w.tbTop, top, {3, 5, 7}, 9);
    check(*w.tbBottom, bottom, {4, 6, 9}, 12);
    EXPECT_EQ(w.tbBottom->Buttons(10).Description(), "Copy Profiles from the Source Workspace");
}

TEST_F(MainWindowTest, TheMenusReadFileViewToolsSettingsHelpWithTheirCaptionsShortcutsAndHiddenItems)
{
    FrmMainGUI& w = window();
    QStringList bar;
    for (QAction* menu : w.menuBar()->actions()) bar << menu->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&View", "&Tools", "&Settings", "&Help"}));

    // Items the menus never show are kept out of them.
    const auto shown = [](QAction* item) { return item->isVisible() && !item->associatedObjects().isEmpty(); };
    const struct {
        QAction* item;
        const char* caption;
        QKeySequence shortcut;
        bool visible;
    } items[] = {
        {w.mnuCreateProfile, "Copy &Profiles", QKeySequence("Ctrl+P"), false},
        {w.mnuReplicate, "&Replicate", QKeySequence("Ctrl+R"), true},
        {w.mnuExit, "E&xit", {}, true},
        {w.mnuFilter, "&Filter", QKeySequence("Ctrl+F"), false},
        {w.mnuMapRoles, "&Map Roles", QKeySequence("Ctrl+M"), true},
        {w.mnuConnectS, "Connect Source Sharepoint", {}, true},
        {w.mnuDisconnectD, "Disconnect Destination Sharepoint", {}, true},
        {w.mnuCopy, "&Copy", QKeySequence("Ctrl+C"), true},
        {w.mnuPaste, "&Paste", QKeySequence("Ctrl+V"), true},
        {w.mnuDelete, "&Delete", QKeySequence("Ctrl+D"), true},
    };
    for (const auto& i : items) {
        EXPECT_EQ(i.item->text(), i.caption);
        EXPECT_EQ(i.item->shortcut(), i.shortcut) << i.caption;
        EXPECT_EQ(shown(i.item), i.visible) << i.caption;
    }
    EXPECT_TRUE(w.mnuToolbar->isChecked());
    EXPECT_TRUE(w.mnuToolbar1->isChecked());
    EXPECT_EQ(w.mnuNewPop->title(), "&SideMenu");
}

TEST_F(MainWindowTest, TheWindowLoadsWithOnlyConnectMapRolesExitHelpListServersAndFilterEnabled)
{
    FrmMainGUI& w = window();
    ExpectCommandStates({
        {w.tbTop, 1, w.mnuConnectS, true},        {w.tbTop, 2, w.mnuDisconnectS, false},
        {w.tbTop, 4, w.mnuRefreshS, false},       {w.tbTop, 6, w.mnuMapRoles, true},
        {w.tbTop, 8, w.mnuExit, true},            {w.tbTop, 9, w.mnuContents, true},
        {w.tbBottom, 1, w.mnuConnectD, true},     {w.tbBottom, 2, nullptr, true},
        {w.tbBottom, 3, w.mnuDisconnectD, false}, {w.tbBottom, 5, w.mnuRefreshD, false},
        {w.tbBottom, 7, w.mnuAdd, false},         {w.tbBottom, 8, w.mnuRemove, false},
        {w.tbBottom, 10, w.mnuCreateProfile, false}, {w.tbBottom, 11, w.mnuFilter, true},
        {w.tbBottom, 12, w.mnuReplicate, false},
    });
    for (QAction* off : {w.mnuCopyProfiles, w.mnuPaste, w.mnuPasteProfiles}) EXPECT_FALSE(off->isEnabled());
    EXPECT_TRUE(w.txtTop->text().isEmpty());
    EXPECT_TRUE(w.txtBottom->text().isEmpty());
}

TEST_F(MainWindowTest, TheLayoutFollowsTheScreenHeightInTwips)
{
    const struct {
        ui::ScreenTwips screen;
        float tbBottomTop, tbBottomLeft, sourceBoxHeight, destinationBoxHeight, innerHeight;
    } screens[] = {
        {{12000, 9000}, 3900, 1400, 3200, 3200, 3200},
        {{13333, 9990}, 4395, 1499, 3530, 3530, 3530},
        {{13333, 10000}, 4400, 1500, 10000.0f / 3 + 600, 10000.0f / 3 + 500, 10000.0f / 3 + 700},
    };
    for (const auto& s : screens) {
        ui::ScopedScreenSize screen(s.screen);
        FrmMainGUI& w = window();
        const float SH = s.screen.height;
        EXPECT_EQ(Placed(w).height(), SH);
        EXPECT_EQ(Placed(w).width(), s.screen.width);
        EXPECT_EQ(Placed(*w.tbBottom).top(), s.tbBottomTop) << SH;
        EXPECT_EQ(Placed(*w.tbBottom).left(), s.tbBottomLeft) << SH;
        EXPECT_EQ(Placed(*w.tbBottom).width(), s.screen.width - 1500);
        for (QWidget* box : {static_cast<QWidget*>(w.pbTop_one), static_cast<QWidget*>(w.pbTop_two)})
            EXPECT_FLOAT_EQ(Placed(*box).height(), s.sourceBoxHeight) << SH;
        for (QWidget* box : {static_cast<QWidget*>(w.pbBottom_one), static_cast<QWidget*>(w.pbbottom_two)})
            EXPECT_FLOAT_EQ(Placed(*box).height(), s.destinationBoxHeight) << SH;
        for (QWidget* inner : std::initializer_list<QWidget*>{w.tvTop, w.lvTop, w.tvBottom, w.lvBottom})
            EXPECT_FLOAT_EQ(Placed(*inner).height(), s.innerHeight) << SH;
        EXPECT_EQ(Placed(*w.pbTop_one).top(), 640);
        EXPECT_EQ(Placed(*w.pbTop_one).left(), 64);
        EXPECT_EQ(Placed(*w.pbTop_two).left(), SH / 2);
        EXPECT_EQ(Placed(*w.tvTop).width(), SH / 2);
        EXPECT_EQ(Placed(*w.pbBottom_one).top(), s.tbBottomTop + 600);
        EXPECT_EQ(Placed(*w.txtTop).top(), 340);
        EXPECT_EQ(Placed(*w.txtBottom).top(), s.tbBottomTop + 300);
        EXPECT_EQ(Placed(*w.lblBottom).top(), s.tbBottomTop + 200);
        // The lists end at the window's edge.
        EXPECT_EQ(Placed(*w.pbTop_two).left() + Placed(*w.pbTop_two).width(), s.screen.width);
        EXPECT_EQ(Placed(*w.lvBottom).width(), Placed(*w.lvTop).width());
        // The tool bars keep above their address boxes.
        EXPECT_EQ(Placed(*w.tbTop).top() + Placed(*w.tbTop).height(), Placed(*w.txtTop).top());
        EXPECT_EQ(Placed(*w.tbBottom).top() + Placed(*w.tbBottom).height(), Placed(*w.txtBottom).top());
        ui::FormInstance<FrmMainGUI>::unload();
    }
}

TEST_F(MainWindowTest, TheStatusBarCarriesTheProgressBarOverItsFifthPanel)
{
    FrmMainGUI& w = window();
    ui::StatusBar& bar = *w.StatusBar1;
    ASSERT_EQ(bar.Count(), 5);
    EXPECT_EQ(bar.Panels(1).Style(), ui::PanelStyle::Date);
    EXPECT_EQ(bar.Panels(1).Text(), "12/7/2026");
    EXPECT_EQ(bar.Panels(2).Text(), "10:44 PM");
    EXPECT_EQ(bar.Panels(3).Text(), "Tarvex");
    EXPECT_EQ(bar.Panels(4).Width(), 3400);
    EXPECT_EQ(bar.Panels(5).Width(), 5000);
    EXPECT_EQ(w.ProgressBar1->parentWidget(), w.StatusBar1);
    EXPECT_TRUE(w.ProgressBar1->isVisibleTo(&w));
    const ui::Placement progress(*w.ProgressBar1);
    EXPECT_EQ(progress.left(), 1440 + 1440 + 1409 + 3400 + 100);
    EXPECT_EQ(progress.top(), 70);
    EXPECT_EQ(progress.width(), 5000);
    EXPECT_EQ(progress.height(), 270);
    EXPECT_EQ(w.ProgressBar1->Min(), 0);
    EXPECT_EQ(w.ProgressBar1->Max(), 100);
}

TEST_F(MainWindowTest, ListingStepsAdvanceTheBarExactlyToItsMaximumAndNoFurther)
{
    FrmMainGUI& w = window();
    gProgressStep = 100.0 / 3;
    std::vector<float> values;
    for (int step = 0; step < 4; ++step) {
        w.UpdateProgressBar();
        values.push_back(w.ProgressBar1->Value());
    }
    EXPECT_EQ(values, (std::vector<float>{float(100.0 / 3), 66.666664f, 100.0f, 100.0f}));
    EXPECT_EQ(w.StatusBar1->Panels(4).Text(), "Loading Folders and Files...");

    w.initiateProgressBar();
    EXPECT_EQ(w.ProgressBar1->Value(), 0);
    gProgressStep = 40;
    for (int step = 0; step < 3; ++step) w.UpdateProgressBar();
    EXPECT_EQ(w.ProgressBar1->Value(), 100); // 80 + 40 would pass the maximum
    EXPECT_TRUE(logLines().empty());
}

TEST_F(MainWindowTest, TheListColumnsAreAddedOnceAndClearedWithTheirHeaders)
{
    FrmMainGUI& w = window();
    w.GUIColHeaderSettings(true);
    w.GUIColHeaderSettings(true);
    auto& columns = w.lvTop->ColumnHeaders();
    ASSERT_EQ(columns.Count(), 4);
    const std::vector<std::tuple<std::string, std::string, float, ui::ColumnAlignment>> expected{
        {"k1", "File Name", 2250, ui::ColumnAlignment::Left},
        {"k2", "File Type", 1670, ui::ColumnAlignment::Center},
        {"k3", "File Size", 1670, ui::ColumnAlignment::Center},
        {"k4", "Last Modified", 1670, ui::ColumnAlignment::Center}};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(std::make_tuple(columns.Key(i), columns.Text(i), columns.Width(i), columns.Alignment(i)),
                  expected[i - 1]);
    EXPECT_FALSE(w.lvTop->HideColumnHeaders());
    EXPECT_EQ(w.lvBottom->ColumnHeaders().Count(), 0);
    EXPECT_TRUE(logLines().empty()); // the second call's refused keys are not logged
}

TEST_F(MainWindowTest, EscAskedNoLeavesTheWindowAndYesEndsTheProgram)
{
    FrmMainGUI& w = window();
    w.show();
    ui::FormInstance<frmSplash>::get().show(); // the About box, still up
    w.txtTop->setText("http://SPSSOURCE");

    QTest::keyClick(w.lvTop, Qt::Key_Escape); // reaches the window from the list
    ASSERT_EQ(messageBoxes_.shown().size(), 1u);
    EXPECT_EQ(messageBoxes_.shown()[0], (ui::ShownMessage{"Do you want to close the application?", 36}));
    EXPECT_TRUE(loaded());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.txtTop->text(), "http://SPSSOURCE");

    messageBoxes_.queueAnswer(ui::vbYes);
    QTest::keyClick(w.txtBottom, Qt::Key_Escape);
    EXPECT_FALSE(loaded());
    EXPECT_FALSE(ui::FormInstance<frmSplash>::isLoaded());
    EXPECT_THROW(MainWindow(), std::logic_error); // the engine no longer reaches it
    EXPECT_TRUE(logLines().empty());
}

TEST_F(MainWindowTest, ExitFromTheToolBarClosesTheWindowFromInsideItsOwnHandler)
{
    FrmMainGUI& w = window();
    w.show();
    QPointer<FrmMainGUI> watcher(&w);
    messageBoxes_.queueAnswer(ui::vbYes);
    w.tbTop->Buttons(8).action()->trigger();
    EXPECT_FALSE(loaded());
    EXPECT_FALSE(watcher.isNull()); // its handler was still running
    EXPECT_FALSE(watcher->isVisible());
    ui::DeleteUnloadedForms();
    EXPECT_TRUE(watcher.isNull());
}

TEST_F(MainWindowTest, TheMessageLoopEndsWhenTheWindowUnloads)
{
    FrmMainGUI& w = window();
    w.show();
    messageBoxes_.queueAnswer(ui::vbYes);
    QTimer::singleShot(0, w.lvTop, [&w] { QTest::keyClick(w.lvTop, Qt::Key_Escape); });
    QTimer stuck; // ends a loop that would not end by itself
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(loaded());
}

TEST_F(MainWindowTest, AListClickKeepsThePanesUrlAndTheItemAndSwitchesAddByBothLevels)
{
    FrmMainGUI& w = window();
    w.show();
    gCurrentSourceUrl = "http://SRC/Projects/Specs";
    gCurrentDestUrl = "http://DST/Archive";
    fill(*w.lvTop, {"plan.doc"});
    fill(*w.lvBottom, {"Old Specs"});

    QTest::mouseClick(w.lvBottom->viewport(), Qt::LeftButton, {}, centreOf(*w.lvBottom, 1));
    QTest::mouseClick(w.lvTop->viewport(), Qt::LeftButton, {}, centreOf(*w.lvTop, 1));
    EXPECT_EQ(w.txtTop->text(), "http://SRC/Projects/Specs/plan.doc");
    EXPECT_EQ(w.txtBottom->text(), "http://DST/Archive/Old Specs");
    EXPECT_TRUE(w.tbBottom->Buttons(7).Enabled()); // 5 and 4
    EXPECT_TRUE(w.mnuAdd->isEnabled());
    EXPECT_FALSE(w.tbBottom->Buttons(10).Enabled());

    gCurrentSourceUrl = "http://SRC";
    QTest::mouseClick(w.lvTop->viewport(), Qt::LeftButton, {}, centreOf(*w.lvTop, 1));
    EXPECT_FALSE(w.tbBottom->Buttons(7).Enabled()); // 3 and 4
    EXPECT_FALSE(w.mnuAdd->isEnabled());
}

TEST_F(MainWindowTest, TheEnableRulesForEachPairOfLevels)
{
    FrmMainGUI& w = window();
    const struct {
        int src, dst;
        bool add, profiles;
    } pairs[] = {
        {2, 2, true, false},  {3, 2, true, false},  {4, 4, true, false},  {4, 5, true, false},
        {4, 6, true, false},  {6, 4, true, false},  {5, 5, true, false},  {2, 3, false, false},
        {3, 3, false, true},  {3, 4, false, false}, {4, 3, false, false}, {4, 2, false, false},
        {5, 3, false, false}, {0, 0, false, false},
    };
    for (const auto& p : pairs) {
        w.Add_Enable(std::int16_t(p.src), std::int16_t(p.dst));
        w.CreateProfile_Enable(std::int16_t(p.src), std::int16_t(p.dst));
        EXPECT_EQ(w.tbBottom->Buttons(7).Enabled(), p.add) << p.src << "," << p.dst;
        EXPECT_EQ(w.mnuAdd->isEnabled(), p.add) << p.src << "," << p.dst;
        EXPECT_EQ(w.tbBottom->Buttons(10).Enabled(), p.profiles) << p.src << "," << p.dst;
        EXPECT_EQ(w.mnuCreateProfile->isEnabled(), p.profiles) << p.src << "," << p.dst;
    }
}

TEST_F(MainWindowTest, AColumnClickSortsByThatColumnAndTurnsTheOrderOverEveryTime)
{
    FrmMainGUI& w = window();
    w.show();
    w.GUIColHeaderSettings(false);
    ui::ListView& list = *w.lvBottom;
    for (const auto& [name, type] : {std::pair{"b", "Folder"}, {"a", "Text"}, {"c", "Zip"}})
        list.ListItems().Add(0, "", name).AddSubItem(1, type);
    const auto first = [&] { return list.ListItems().Item(1).Text(); };

    const auto clickHeader = [&](int column) {
        QHeaderView* header = list.header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column - 1) + 5, header->height() / 2));
    };
    clickHeader(1);
    EXPECT_EQ(list.SortKey(), 0);
    EXPECT_EQ(list.sortOrder(), ui::SortOrder::Descending);
    EXPECT_EQ(first(), "c");
    clickHeader(2);
    EXPECT_EQ(list.SortKey(), 1);
    EXPECT_EQ(list.sortOrder(), ui::SortOrder::Ascending);
    EXPECT_EQ(first(), "b");
    clickHeader(2);
    EXPECT_EQ(first(), "c");
}

TEST_F(MainWindowTest, CtrlASelectsTheWholeSourceListAndCtrlCOnlyEnablesPaste)
{
    FrmMainGUI& w = window();
    w.show();
    fill(*w.lvTop, {"a", "b", "c"});
    QTest::keyClick(w.lvTop, Qt::Key_A, Qt::ControlModifier);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(w.lvTop->ListItems().Item(i).Selected()) << i;

    QTest::keyClick(w.lvTop, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(w.mnuPaste->isEnabled());
    EXPECT_FALSE(gItemsCopied);
}

TEST_F(MainWindowTest, TheListsPopUpTheirMenuOnlyOverTheSelectedItem)
{
    FrmMainGUI& w = window();
    w.show();
    fill(*w.lvTop, {"Specs", "plan.doc"});
    gCurrentSourceUrl = "http://SRC"; // a press on a source row sets the address to a workspace
    const auto rightClick = [&](ui::ListView& list, QPoint at) {
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, at);
        const bool shown = w.mnuNewPop->isVisible();
        w.mnuNewPop->hide();
        return shown;
    };

    EXPECT_FALSE(rightClick(*w.lvTop, centreOf(*w.lvTop, 2))) << "an unselected item";
    w.lvTop->setCurrentItem(w.lvTop->topLevelItem(0));
    EXPECT_FALSE(rightClick(*w.lvTop, QPoint(5, w.lvTop->viewport()->height() - 5))) << "empty space";
    w.lvTop->setCurrentItem(w.lvTop->topLevelItem(0));
    EXPECT_TRUE(rightClick(*w.lvTop, centreOf(*w.lvTop, 1)));
    EXPECT_TRUE(w.mnuCopy->isEnabled());
    EXPECT_TRUE(w.mnuCopyProfiles->isEnabled()); // the source address is a workspace
    for (QAction* off : {w.mnuPaste, w.mnuPasteProfiles, w.mnuDelete}) EXPECT_FALSE(off->isEnabled());

    // In the destination list Delete follows Remove, Paste Profiles a Copy
    // Profiles not followed by Copy while Add Profiles is on.
    fill(*w.lvBottom, {"Specs"});
    w.lvBottom->setCurrentItem(w.lvBottom->topLevelItem(0));
    w.tbBottom->Buttons(8).setEnabled(true);
    w.tbBottom->Buttons(10).setEnabled(true);
    w.mnuCopyProfiles->trigger();
    EXPECT_TRUE(rightClick(*w.lvBottom, centreOf(*w.lvBottom, 1)));
    EXPECT_TRUE(w.mnuDelete->isEnabled());
    EXPECT_TRUE(w.mnuPasteProfiles->isEnabled());
    for (QAction* off : {w.mnuCopy, w.mnuCopyProfiles, w.mnuPaste}) EXPECT_FALSE(off->isEnabled());
    w.mnuCopy->setEnabled(true);
    w.mnuCopy->trigger();
    EXPECT_TRUE(rightClick(*w.lvBottom, centreOf(*w.lvBottom, 1)));
    EXPECT_FALSE(w.mnuPasteProfiles->isEnabled());
    EXPECT_TRUE(gItemsCopied);
}

TEST_F(MainWindowTest, TheViewItemsHideAndShowOneToolBarEachAndNothingMoves)
{
    FrmMainGUI& w = window();
    w.show();
    const QRect panes = w.pbTop_one->geometry();
    w.mnuToolbar->trigger();
    EXPECT_FALSE(w.mnuToolbar->isChecked());
    EXPECT_FALSE(w.tbTop->isVisible());
    EXPECT_TRUE(w.tbBottom->isVisible());
    EXPECT_EQ(w.pbTop_one->geometry(), panes);
    w.mnuToolbar->trigger();
    EXPECT_TRUE(w.tbTop->isVisible());
    w.mnuToolbar1->trigger();
    EXPECT_FALSE(w.tbBottom->isVisible());
}

TEST_F(MainWindowTest, HelpOpensTheProgramsHelpFileAndAboutShowsTheSplash)
{
    FrmMainGUI& w = window();
    w.mnuContents->trigger();
    w.tbTop->Buttons(9).action()->trigger();
    const std::filesystem::path help = programFolder() / "Tarvex.chm";
    EXPECT_EQ(shellOpens_.documents(), (std::vector<std::filesystem::path>{help, help}));

    w.show();
    w.mnuAbout->trigger();
    ASSERT_TRUE(ui::FormInstance<frmSplash>::isLoaded());
    frmSplash& about = ui::FormInstance<frmSplash>::get();
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.Label3->text(), "Tarvex for Sharepoint");
    const auto activeAfterEvents = [] {
        QCoreApplication::processEvents();
        return QApplication::activeWindow();
    };
    EXPECT_EQ(activeAfterEvents(), &about);

    // The window comes to the front meanwhile; a second About brings the same
    // box back before it.
    w.activateWindow();
    EXPECT_EQ(activeAfterEvents(), &w);
    w.mnuAbout->trigger();
    EXPECT_EQ(&ui::FormInstance<frmSplash>::get(), &about);
    EXPECT_EQ(activeAfterEvents(), &about);
}

TEST_F(MainWindowTest, TheEngineReadsTheAddressBoxesAndSwitchesButtonAndMenuItemTogether)
{
    FrmMainGUI& w = window();
    w.txtTop->setText("http://SRC/Projects");
    w.txtBottom->setText("http://DST/Archive");
    EXPECT_EQ(MainWindow().txtTop(), "http://SRC/Projects");
    EXPECT_EQ(MainWindow().txtBottom(), "http://DST/Archive");

    MainWindow().setReplicateEnabled(true);
    MainWindow().setRemoveEnabled(true);
    EXPECT_TRUE(w.tbBottom->Buttons(12).Enabled() && w.mnuReplicate->isEnabled());
    EXPECT_TRUE(w.tbBottom->Buttons(8).Enabled() && w.mnuRemove->isEnabled());
    MainWindow().setCreateProfileEnabled(true);
    MainWindow().setCreateProfileEnabled(false);
    EXPECT_FALSE(w.tbBottom->Buttons(10).Enabled() || w.mnuCreateProfile->isEnabled());
}

TEST_F(MainWindowTest, TheProgramStartsWithTheFullWindow)
{
    Main([] { ui::FormInstance<FrmMainGUI>::get().show(); });
    ASSERT_TRUE(loaded());
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(ui::FormInstance<frmSplash>::isLoaded());
    EXPECT_TRUE(messageBoxes_.shown().empty());
}

} // namespace
