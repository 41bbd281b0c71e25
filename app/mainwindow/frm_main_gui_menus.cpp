// Menus, tool bars, the pop-up menu, the keys and mouse buttons of the lists,
// the column sort toggle and the rules that enable Add and Add Profiles.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_trap.h"
#include "app/core/shared_state.h"
#include "app/core/splash.h"
#include "app/engine/url_levels.h"
#include "app/mainwindow/manage_during_add.h"
#include "app/mainwindow/window_rules.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/mouse_keys.h"
#include "platform/ui/shell_open.h"
#include "platform/ui/tool_bar.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr int kCtrlA = 1;
constexpr int kCtrlC = 3;
constexpr int kCtrlD = 4;

QMenu* menu(QWidget* parent, const char* name, const char* caption)
{
    auto* created = new QMenu(QString::fromUtf8(caption), parent);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

QAction* item(QMenu* menu, const char* name, const char* caption, QKeySequence shortcut = {})
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

// An item of the menu that the menu never shows: it keeps its enabled state
// and its shortcut is not active.
QAction* hiddenItem(QMenu* menu, const char* name, const char* caption, QKeySequence shortcut)
{
    auto* action = new QAction(QString::fromUtf8(caption), menu);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QAction* separator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

int UrlLevelOf(const QLineEdit& address) { return Count_SlashPresent(address.text().toStdString()); }

// A column click sorts the list by that column, the order turning over on
// every click, whichever column was clicked before.
void SortByClickedColumn(ui::ListView& list, int column)
{
    list.setSorted(true);
    list.setSortKey(column - 1);
    list.setSortOrder(list.sortOrder() == ui::SortOrder::Ascending ? ui::SortOrder::Descending
                                                                   : ui::SortOrder::Ascending);
}

// The pop-up menu comes up only over the list's selected item, and only when
// it is selected. An empty handle on the way raises 91.
bool PointsAtSelectedItem(ui::ListView& list, float x, float y)
{
    if (!list.SelectedItem().Selected()) return false;
    const ui::ListItem under = list.HitTest(x, y);
    return !under.Text().empty() && under.Selected();
}

} // namespace

void FrmMainGUI::createMenus()
{
    MnuFile = menu(this, "MnuFile", "&File");
    mnuAdd = item(MnuFile, "mnuAdd", "&Add");
    mnuRemove = item(MnuFile, "mnuRemove", "&Remove");
    Sep7 = separator(MnuFile, "Sep7");
    mnuCreateProfile = hiddenItem(MnuFile, "mnuCreateProfile", "Copy &Profiles", QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuReplicate = item(MnuFile, "mnuReplicate", "&Replicate", QKeySequence(Qt::CTRL | Qt::Key_R));
    Sep1 = separator(MnuFile, "Sep1");
    mnuExit = item(MnuFile, "mnuExit", "E&xit");

    MnuView = menu(this, "MnuView", "&View");
    mnuToolbar = item(MnuView, "mnuToolbar", "Source Tool Bar");
    mnuToolbar1 = item(MnuView, "mnuToolbar1", "Destination Tool Bar");
    for (QAction* check : {mnuToolbar, mnuToolbar1}) {
        check->setCheckable(true);
        check->setChecked(true);
    }

    MnuTools = menu(this, "MnuTools", "&Tools");
    mnuConnectS = item(MnuTools, "mnuConnectS", "Connect Source Sharepoint");
    mnuDisconnectS = item(MnuTools, "mnuDisconnectS", "Disconnect Source Sharepoint");
    Sep3 = separator(MnuTools, "Sep3");
    mnuRefreshS = item(MnuTools, "mnuRefreshS", "Refresh Source Sharepoint");
    mnuRefreshD = item(MnuTools, "mnuRefreshD", "Refresh Destination Sharepoint");
    Sep4 = separator(MnuTools, "Sep4");
    mnuConnectD = item(MnuTools, "mnuConnectD", "Connect Destination Sharepoint");
    mnuDisconnectD = item(MnuTools, "mnuDisconnectD", "Disconnect Destination Sharepoint");

    mnuSettings = menu(this, "mnuSettings", "&Settings");
    mnuFilter = hiddenItem(mnuSettings, "mnuFilter", "&Filter", QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuMapRoles = item(mnuSettings, "mnuMapRoles", "&Map Roles", QKeySequence(Qt::CTRL | Qt::Key_M));

    MnuHelp = menu(this, "MnuHelp", "&Help");
    mnuContents = item(MnuHelp, "mnuContents", "&Contents");
    Sep5 = separator(MnuHelp, "Sep5");
    mnuAbout = item(MnuHelp, "mnuAbout", "&About");

    for (QMenu* bar : {MnuFile, MnuView, MnuTools, mnuSettings, MnuHelp}) menuBar()->addMenu(bar);

    // Popped up over the lists and trees only; its shortcuts are not active.
    mnuNewPop = menu(this, "mnuNewPop", "&SideMenu");
    mnuCopy = item(mnuNewPop, "mnuCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuCopyProfiles = item(mnuNewPop, "mnuCopyProfiles", "Copy Profiles");
    sp1 = separator(mnuNewPop, "sp1");
    mnuPaste = item(mnuNewPop, "mnuPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuPasteProfiles = item(mnuNewPop, "mnuPasteProfiles", "Paste Profiles");
    sep = separator(mnuNewPop, "sep");
    mnuDelete = item(mnuNewPop, "mnuDelete", "&Delete", QKeySequence(Qt::CTRL | Qt::Key_D));
    for (QAction* off : {mnuCopyProfiles, mnuPaste, mnuPasteProfiles}) off->setEnabled(false);
    for (QAction* popUpItem : mnuNewPop->actions()) popUpItem->setShortcutContext(Qt::WidgetShortcut);
}

void FrmMainGUI::connectEvents()
{
    connect(tbTop, &ui::ToolBar::ButtonClick, this, &FrmMainGUI::tbTop_ButtonClick);
    connect(tbBottom, &ui::ToolBar::ButtonClick, this, &FrmMainGUI::tbBottom_ButtonClick);

    const auto onMenu = [this](QAction* action, auto handler) { connect(action, &QAction::triggered, this, handler); };
    onMenu(mnuAdd, [this] { DoRealAdd(); });
    onMenu(mnuRemove, [] { RemoveAddedItems(); });
    onMenu(mnuCreateProfile, [this] { DoRealProfileCreation(); });
    onMenu(mnuReplicate, [this] { DoRealReplication(); });
    onMenu(mnuExit, [this] { DoExit(); });
    onMenu(mnuToolbar, [this] { mnuToolbar_Click(); });
    onMenu(mnuToolbar1, [this] { mnuToolbar1_Click(); });
    onMenu(mnuConnectS, [this] { DoRealConnection(); });
    onMenu(mnuDisconnectS, [this] { DoRealDisconnect(); });
    onMenu(mnuRefreshS, [this] { DoRealRefresh(); });
    onMenu(mnuRefreshD, [this] { DoRealRefreshD(); });
    onMenu(mnuConnectD, [this] { DoRealConnectionD(); });
    onMenu(mnuDisconnectD, [this] { DoRealDisconnectD(); });
    onMenu(mnuFilter, [this] { ShowFilterSettings(); });
    onMenu(mnuMapRoles, [this] { ShowRoleMapping(); });
    onMenu(mnuContents, [this] { mnuContents_Click(); });
    onMenu(mnuAbout, [this] { mnuAbout_Click(); });
    onMenu(mnuCopy, [this] { mnuCopy_Click(); });
    onMenu(mnuCopyProfiles, [this] { mnuCopyProfiles_Click(); });
    onMenu(mnuPaste, [this] { mnuPaste_Click(); });
    onMenu(mnuPasteProfiles, [this] { mnuPasteProfiles_Click(); });
    onMenu(mnuDelete, [] { RemoveAddedItems(); });

    connect(lvTop, &ui::ListView::ColumnClick, this, &FrmMainGUI::lvTop_ColumnClick);
    connect(lvBottom, &ui::ListView::ColumnClick, this, &FrmMainGUI::lvBottom_ColumnClick);
    connect(lvTop, &ui::ListView::ItemClick, this, &FrmMainGUI::lvTop_ItemClick);
    connect(lvBottom, &ui::ListView::ItemClick, this, &FrmMainGUI::lvBottom_ItemClick);
    connect(lvTop, &ui::ListView::KeyPress, this, &FrmMainGUI::lvTop_KeyPress);
    connect(lvBottom, &ui::ListView::KeyPress, this, &FrmMainGUI::lvBottom_KeyPress);
    connect(lvTop, &ui::ListView::MouseDown, this, &FrmMainGUI::lvTop_MouseDown);
    connect(lvBottom, &ui::ListView::MouseDown, this, &FrmMainGUI::lvBottom_MouseDown);

    connect(tvTop, &ui::TreeView::Collapse, this, &FrmMainGUI::tvTop_Collapse);
    connect(tvBottom, &ui::TreeView::Collapse, this, &FrmMainGUI::tvBottom_Collapse);
    connect(tvTop, &ui::TreeView::Expand, this, &FrmMainGUI::tvTop_Expand);
    connect(tvBottom, &ui::TreeView::Expand, this, &FrmMainGUI::tvBottom_Expand);
    connect(tvTop, &ui::TreeView::NodeClick, this, &FrmMainGUI::tvTop_NodeClick);
    connect(tvBottom, &ui::TreeView::NodeClick, this, &FrmMainGUI::tvBottom_NodeClick);
    connect(tvTop, &ui::TreeView::MouseDown, this, &FrmMainGUI::tvTop_MouseDown);
    connect(tvBottom, &ui::TreeView::MouseDown, this, &FrmMainGUI::tvBottom_MouseDown);
    connect(tvBottom, &ui::TreeView::KeyPress, this, &FrmMainGUI::tvBottom_KeyPress);
}

void FrmMainGUI::tbTop_ButtonClick(int index)
{
    ErrorTrap trap("MainGUI-tbTop_ButtonClick");
    trap.step([&] {
        switch (index) {
        case 1: DoRealConnection(); break;
        case 2: DoRealDisconnect(); break;
        case 4: DoRealRefresh(); break;
        case 6: ShowRoleMapping(); break;
        case 8: DoExit(); break;
        case 9: OpenHelpFile(); break;
        default: break;
        }
    });
}

void FrmMainGUI::tbBottom_ButtonClick(int index)
{
    ErrorTrap trap("in MainGUI-tbBottom_ButtonClick");
    trap.step([&] {
        switch (index) {
        case 1: DoRealConnectionD(); break;
        case 2: picAutoDetectOn_Click(false); break;
        case 3: DoRealDisconnectD(); break;
        case 5: DoRealRefreshD(); break;
        case 7: DoRealAdd(); break;
        case 8: RemoveAddedItems(); break;
        case 10: DoRealProfileCreation_Test(); break; // queues the pair; mnuCreateProfile copies at once
        case 11: ShowFilterSettings(); break;
        case 12: DoRealReplication(); break;
        default: break;
        }
    });
}

void FrmMainGUI::mnuToolbar_Click() { tbTop->setVisible(mnuToolbar->isChecked()); }
void FrmMainGUI::mnuToolbar1_Click() { tbBottom->setVisible(mnuToolbar1->isChecked()); }
void FrmMainGUI::mnuContents_Click() { OpenHelpFile(); }
// A second About while the box is up brings the same box to the front.
void FrmMainGUI::mnuAbout_Click()
{
    frmSplash& about = ui::FormInstance<frmSplash>::get();
    about.show();
    about.raise();
    about.activateWindow();
}

void FrmMainGUI::mnuCopy_Click()
{
    gItemsCopied = true;
    gProfilesCopied = false;
    mnuPaste->setEnabled(true);
}

void FrmMainGUI::mnuCopyProfiles_Click()
{
    gProfilesCopied = true;
    mnuPasteProfiles->setEnabled(true);
    gItemsCopied = false;
}

void FrmMainGUI::mnuPaste_Click()
{
    ui::DoEvents();
    DoRealAdd();
    ui::DoEvents();
}

void FrmMainGUI::mnuPasteProfiles_Click()
{
    DoRealProfileCreation_Test();
    ui::DoEvents();
}

void FrmMainGUI::OpenHelpFile() { ui::ShellOpen(sys::ProgramFolder() / "Tarvex.chm"); }

void FrmMainGUI::ShowPopUpMenu() { mnuNewPop->popup(QCursor::pos()); }

void FrmMainGUI::lvTop_ColumnClick(int column)
{
    ErrorTrap trap("in MainGUI-lvTop_ColumnClick");
    trap.step([&] { SortByClickedColumn(*lvTop, column); });
}

void FrmMainGUI::lvBottom_ColumnClick(int column)
{
    ErrorTrap trap("in MainGUI-lvBottom_ColumnClick");
    trap.step([&] { SortByClickedColumn(*lvBottom, column); });
}

void FrmMainGUI::lvTop_ItemClick(ui::ListItem item)
{
    ErrorTrap trap("in MainGUI-lvTop_ItemClick");
    trap.step([&] { txtTop->setText(QString::fromStdString(gCurrentSourceUrl + "/" + item.Text())); });
    trap.step([&] { EnableByAddressLevels(); });
}

void FrmMainGUI::lvBottom_ItemClick(ui::ListItem item)
{
    ErrorTrap trap("in MainGUI-lvBottom_ItemClick");
    trap.step([&] { txtBottom->setText(QString::fromStdString(gCurrentDestUrl + "/" + item.Text())); });
    trap.step([&] { EnableByAddressLevels(); });
}

void FrmMainGUI::EnableByAddressLevels()
{
    const int src = UrlLevelOf(*txtTop);
    const int dst = UrlLevelOf(*txtBottom);
    Add_Enable(std::int16_t(src), std::int16_t(dst));
    ui::DoEvents();
    CreateProfile_Enable(std::int16_t(src), std::int16_t(dst));
    ui::DoEvents();
}

void FrmMainGUI::lvTop_KeyPress(int keyAscii)
{
    ErrorTrap trap("in MainGUI-lvTop_KeyPress");
    trap.step([&] {
        if (keyAscii == kCtrlA)
            for (int i = 1; i <= lvTop->ListItems().Count(); ++i) lvTop->ListItems().Item(i).setSelected(true);
        if (keyAscii == kCtrlC) mnuPaste->setEnabled(true);
    });
}

void FrmMainGUI::lvBottom_KeyPress(int keyAscii)
{
    if (keyAscii == kCtrlD) RemoveAddedItems();
}

void FrmMainGUI::lvTop_MouseDown(int button, int, float x, float y)
{
    ErrorTrap trap("");
    trap.onAnyOther().leave();
    trap.step([&] {
        if (button == ui::vbLeftButton || button == ui::vbMiddleButton) mnuPaste->setEnabled(false);
        if (button != ui::vbRightButton || !PointsAtSelectedItem(*lvTop, x, y)) return;
        mnuCopy->setEnabled(true);
        mnuPaste->setEnabled(false);
        mnuPasteProfiles->setEnabled(false);
        mnuDelete->setEnabled(false);
        mnuCopyProfiles->setEnabled(UrlLevelOf(*txtTop) == 3);
        ShowPopUpMenu();
    });
}

void FrmMainGUI::lvBottom_MouseDown(int button, int, float x, float y)
{
    ErrorTrap trap("");
    trap.onAnyOther().leave();
    trap.step([&] {
        if (button != ui::vbRightButton || !PointsAtSelectedItem(*lvBottom, x, y)) return;
        mnuCopy->setEnabled(false);
        mnuCopyProfiles->setEnabled(false);
        mnuPaste->setEnabled(false);
        mnuDelete->setEnabled(tbBottom->Buttons(8).Enabled());
        mnuPasteProfiles->setEnabled(tbBottom->Buttons(10).Enabled() && gProfilesCopied);
        ShowPopUpMenu();
    });
}

void FrmMainGUI::Add_Enable(std::int16_t srcLevel, std::int16_t dstLevel)
{
    ErrorTrap trap("in MainGUI-Add_Enable");
    trap.step([&] { SwitchCommand(*tbBottom, 7, mnuAdd, AddAllowed(srcLevel, dstLevel)); });
}

void FrmMainGUI::CreateProfile_Enable(std::int16_t srcLevel, std::int16_t dstLevel)
{
    ErrorTrap trap("in MainGUI-CreateProfile_Enable");
    trap.step([&] { SwitchCommand(*tbBottom, 10, mnuCreateProfile, CreateProfileAllowed(srcLevel, dstLevel)); });
}

void FrmMainGUI::ClearColumnHeaders(bool isTop)
{
    ErrorTrap trap("");
    trap.onAnyOther();
    ui::ListView& list = isTop ? *lvTop : *lvBottom;
    const int columns = list.ColumnHeaders().Count();
    for (int i = 1; i <= columns; ++i) trap.step([&] { list.ColumnHeaders().Remove("k" + std::to_string(i)); });
    trap.step([&] { list.setHideColumnHeaders(true); });
}
