// The window's controls, its loading and layout, the status-bar progress and
// the Esc key.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_trap.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/mainwindow/frame_images.h"
#include "app/mainwindow/window_rules.h"
#include "platform/ui/control_errors.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/image_list.h"
#include "platform/ui/mouse_keys.h"
#include "platform/ui/placement.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/screen.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

using ui::Placed;

namespace {

constexpr float kToolBarHeight = 540;
constexpr float kTopToolBarWidth = 9000;
constexpr float kTextBoxHeight = 300;
constexpr float kLabelHeight = 285;

struct ButtonSpec {
    const char* caption; // nullptr for a separator
    const char* key;
    const char* description;
    const char* toolTip;
    const char* image;
};

constexpr ButtonSpec kSeparator{nullptr, nullptr, nullptr, nullptr, nullptr};

const std::array<ButtonSpec, 9> kTopButtons{{
    {"Connect", "Connect", "Connect", "Connect to source sharepoint", "connect1"},
    {"Disconnect", "DisConnect", "Disconnect", "Disconnect the server", "disconnect2"},
    kSeparator,
    {"Refresh", "Refresh", "Refresh", "Refresh connection", "refresh"},
    kSeparator,
    {"Map Roles", "Map", "Map Roles", "Map user roles ", "map"},
    kSeparator,
    {"Exit", "Exit", "Exit", "Exit Tarvex", "exit1"},
    {"Help", "Help", "Help", "Help", "help"},
}};

const std::array<ButtonSpec, 12> kBottomButtons{{
    {"Connect", "Connect", "Connect", "Connect", "connect1"},
    {"List Servers", "ListServers", "List Servers", "List Servers", "listservers"},
    {"Disconnect", "Disconnect", "Disconnect", "Disconnect", "disconnect2"},
    kSeparator,
    {"Refresh", "Refresh", "Refresh", "Refresh", "refresh"},
    kSeparator,
    {"Add", "add", "Copy", "Copy selected item ", "add"},
    {"Remove", "remove", "Remove", "Delete copied item", "remove"},
    kSeparator,
    {"Add Profiles", "Create Profile", "Copy Profiles from the Source Workspace", "Copy profiles ", "createprofile"},
    {"Filter", "Filter", "Filter", "Filter", "filter"},
    {"Replicate", "Replicate", "Replicate", "Replicate", "replicate1"},
}};

const char* const kTopToolBarImages[] = {"disconnect", "connect", "refresh", "exit", "help",
                                         "map", "exit1", "disconnect1", "connect1", "disconnect2"};
const char* const kBottomToolBarImages[] = {"disconnect", "connect",   "refresh",       "exit",      "help",
                                            "listservers", "add12",    "remove",        "createprofile",
                                            "replicate",  "filter",    "replicate1",    "disconnect1",
                                            "connect1",   "disconnect2", "add"};
const char* const kTopTreeImages[] = {"listservers", "finding1", "FolderTemp", "entirenet", "server",
                                      "workspace",   "enhanced", "folder",     "Unknown File", "Unknown"};
const char* const kBottomTreeImages[] = {"listservers", "finding1", "DocumentTemp", "FolderTemp",   "entirenet", "server",
                                         "workspace",   "enhanced", "folder",       "Unknown File", "Unknown"};

struct ColumnSpec {
    const char* title;
    float width;
    ui::ColumnAlignment alignment;
};

const std::array<ColumnSpec, 4> kListColumns{{
    {"File Name", 2250, ui::ColumnAlignment::Left},
    {"File Type", 1670, ui::ColumnAlignment::Center},
    {"File Size", 1670, ui::ColumnAlignment::Center},
    {"Last Modified", 1670, ui::ColumnAlignment::Center},
}};

template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <std::size_t N>
ui::ImageList* imageList(QObject* owner, const char* name, const char* const (&keys)[N])
{
    auto* list = named(new ui::ImageList(owner), name);
    for (const char* key : keys) list->Add(0, key, FrameImage(key));
    return list;
}

template <std::size_t N>
void addButtons(ui::ToolBar& bar, const std::array<ButtonSpec, N>& buttons)
{
    for (const ButtonSpec& button : buttons) {
        if (button.caption) bar.AddButton(button.caption, button.key, button.description, button.toolTip);
        else bar.AddSeparator();
    }
}

template <std::size_t N>
void showButtonImages(ui::ToolBar& bar, const std::array<ButtonSpec, N>& buttons)
{
    for (int index = 1; index <= int(N); ++index)
        if (const char* image = buttons[index - 1].image) bar.Buttons(index).setImage(image);
}

// Makes the label's font small enough for its text to fit its width.
void FitTextToWidth(QLabel& label)
{
    QFont font = label.font();
    while (QFontMetrics(font).horizontalAdvance(label.text()) > label.width() && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label.setFont(font);
}

// A picture box that holds one tree or list.
QFrame* box(QWidget* parent, const char* name)
{
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

} // namespace

void SwitchCommand(ui::ToolBar& bar, int button, QAction* menuItem, bool enabled)
{
    bar.Buttons(button).setEnabled(enabled);
    if (menuItem) menuItem->setEnabled(enabled);
}

FrmMainGUI::Pane FrmMainGUI::pane(bool isSource)
{
    if (isSource)
        return {true, *tbTop, *txtTop, *tvTop, *lvTop, *ImageList_TopTreeList, gCurrentSourceUrl,
                2, mnuDisconnectS, 4, mnuRefreshS};
    return {false, *tbBottom, *txtBottom, *tvBottom, *lvBottom, *ImageList_BottomTreeList, gCurrentDestUrl,
            3, mnuDisconnectD, 5, mnuRefreshD};
}

FrmMainGUI::FrmMainGUI() : clientArea_(new QWidget(this))
{
    setObjectName(QStringLiteral("FrmMainGUI"));
    setCentralWidget(clientArea_);
    createImageLists();
    createControls();
    createToolBars();
    createMenus();
    GroupCommandsHeldDuringRuns();
    connectEvents();
    installEngineView();
    Form_Load();
}

void FrmMainGUI::createImageLists()
{
    ImageList_tbtop = imageList(this, "ImageList_tbtop", kTopToolBarImages);
    ImageList_tbbottom = imageList(this, "ImageList_tbbottom", kBottomToolBarImages);
    ImageList_TopTreeList = imageList(this, "ImageList_TopTreeList", kTopTreeImages);
    ImageList_BottomTreeList = imageList(this, "ImageList_BottomTreeList", kBottomTreeImages);
}

void FrmMainGUI::createControls()
{
    lblTop = named(new QLabel(clientArea_), "lblTop");
    txtTop = named(new QLineEdit(clientArea_), "txtTop");
    pbTop_one = box(clientArea_, "pbTop_one");
    tvTop = named(new ui::TreeView(pbTop_one), "tvTop");
    pbTop_two = box(clientArea_, "pbTop_two");
    lvTop = named(new ui::ListView(pbTop_two), "lvTop");

    lblBottom = named(new QLabel(clientArea_), "lblBottom");
    lDest = named(new QLabel(QStringLiteral("Destination "), clientArea_), "lDest");
    // The design's second caption sits under lblBottom, which says the same.
    lDest->hide();
    txtBottom = named(new QLineEdit(clientArea_), "txtBottom");
    pbBottom_one = box(clientArea_, "pbBottom_one");
    tvBottom = named(new ui::TreeView(pbBottom_one), "tvBottom");
    pbbottom_two = box(clientArea_, "pbbottom_two");
    lvBottom = named(new ui::ListView(pbbottom_two), "lvBottom");

    for (QLineEdit* address : {txtTop, txtBottom}) Placed(*address).setHeight(kTextBoxHeight);
    for (QLabel* caption : {lblTop, lblBottom, lDest}) Placed(*caption).setHeight(kLabelHeight);

    StatusBar1 = named(new ui::StatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    StatusBar1->setMinimumHeight(ui::TwipsToPixels(360));
    StatusBar1->AddPanel(ui::PanelStyle::Date, 1440, 1440);
    StatusBar1->AddPanel(ui::PanelStyle::Time, 1440, 1440);
    StatusBar1->AddPanel(ui::PanelStyle::Text, 1409, 1409, "Tarvex");
    StatusBar1->AddPanel(ui::PanelStyle::Text, 3440, 3440);
    StatusBar1->AddPanel(ui::PanelStyle::Text, 4000, 4000);

    ProgressBar1 = named(new ui::ProgressBar(clientArea_), "ProgressBar1");
    ProgressBar1->hide();

    tempPicture = named(new QLabel(clientArea_), "tempPicture");
    tempPicture->hide();
}

void FrmMainGUI::createToolBars()
{
    tbTop = named(new ui::ToolBar(clientArea_), "tbTop");
    addButtons(*tbTop, kTopButtons);
    Placed(*tbTop).setLeft(0).setTop(0).setHeight(kToolBarHeight).setWidth(kTopToolBarWidth);

    tbBottom = named(new ui::ToolBar(clientArea_), "tbBottom");
    addButtons(*tbBottom, kBottomButtons);
    Placed(*tbBottom).setHeight(kToolBarHeight);
}

void FrmMainGUI::Form_Load()
{
    ErrorTrap trap("in mainGUI-Form_Load");
    trap.step([&] { setWindowTitle(QStringLiteral("Tarvex v2.0.2 for SharePoint")); });
    trap.step([&] { ToolBarSettings(); });
    trap.step([&] { GUIGeneralSettings(); });
    trap.step([&] { GUIImageSettings(); });
    trap.step([&] { GUIStatusbarSettings(); });
}

void FrmMainGUI::Form_Activate() {}

void FrmMainGUI::ToolBarSettings()
{
    ErrorTrap trap("in MainGUI-ToolBarsettings");
    trap.step([&] { SwitchCommand(*tbTop, 2, mnuDisconnectS, false); });
    trap.step([&] { SwitchCommand(*tbTop, 4, mnuRefreshS, false); });
    trap.step([&] { SwitchCommand(*tbBottom, 7, mnuAdd, false); });
    trap.step([&] { SwitchCommand(*tbBottom, 5, mnuRefreshD, false); });
    trap.step([&] { SwitchCommand(*tbBottom, 8, mnuRemove, false); });
    trap.step([&] { SwitchCommand(*tbBottom, 10, mnuCreateProfile, false); });
    trap.step([&] { SwitchCommand(*tbBottom, 3, mnuDisconnectD, false); });
    trap.step([&] { SwitchCommand(*tbBottom, 12, mnuReplicate, false); });
    trap.step(ui::DoEvents);
}

void FrmMainGUI::GUIGeneralSettings()
{
    ErrorTrap trap("in MainGUI-GUIGeneralsettings");
    const ui::ScreenTwips screen = ui::ScreenSize();
    const float SH = screen.height;
    const float SW = screen.width;
    // Boxes, trees and lists are a third of the screen high, a little more on
    // large screens.
    const auto third = [SH](float moreOnLargeScreens) { return SH < 10000 ? SH / 3 + 200 : SH / 3 + moreOnLargeScreens; };

    trap.step([&] {
        Placed(*this).setHeight(SH);
        Placed(*this).setWidth(SW);
    });
    trap.step([&] {
        const ui::Placement window(*this);
        Placed(*tbBottom).setLeft(window.height() / 10 + 500).setWidth(window.width() - 1500).setTop(SH / 2 - 600);
    });
    // The lists are as wide as the bottom tool bar less 3000, but end at the
    // window's edge, where their scroll bars stay in sight.
    const auto listWidth = [&] { return std::min(Placed(*tbBottom).width() - 3000, Placed(*this).width() - SH / 2); };
    trap.step([&] {
        const float top = Placed(*tbTop).height() + 100;
        Placed(*pbTop_one).setTop(top).setLeft(top / 10).setWidth(SH / 2).setHeight(third(600));
        Placed(*pbTop_two).setTop(top).setLeft(SH / 2).setWidth(listWidth()).setHeight(third(600));
    });
    trap.step([&] {
        const float top = Placed(*tbBottom).top() + 600;
        const float left = Placed(*pbTop_one).top() / 10;
        Placed(*pbBottom_one).setTop(top).setLeft(left).setWidth(SH / 2).setHeight(third(500));
        Placed(*pbbottom_two).setTop(top).setLeft(SH / 2).setWidth(listWidth()).setHeight(third(500));
    });
    trap.step([&] {
        tvTop->setImageList(ImageList_TopTreeList);
        tvBottom->setImageList(ImageList_BottomTreeList);
        for (ui::ListView* list : {lvTop, lvBottom}) {
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            list->setHideSelection(false);
        }
        lvTop->setIcons(ImageList_TopTreeList);
        lvTop->setSmallIcons(ImageList_TopTreeList);
        lvBottom->setIcons(ImageList_BottomTreeList);
        lvBottom->setSmallIcons(ImageList_BottomTreeList);
        for (ui::TreeView* tree : {tvTop, tvBottom}) {
            tree->setHideSelection(false);
            tree->setIndentationTwips(100);
        }
        lvTop->setMultiSelect(true);
    });
    trap.step([&] {
        for (QWidget* inner : {static_cast<QWidget*>(tvTop), static_cast<QWidget*>(tvBottom),
                               static_cast<QWidget*>(lvTop), static_cast<QWidget*>(lvBottom)}) {
            const float offset = float(static_cast<QFrame*>(inner->parentWidget())->frameWidth() * ui::kTwipsPerPixel);
            Placed(*inner).setTop(offset).setLeft(offset).setHeight(third(700));
        }
        Placed(*tvTop).setWidth(SH / 2);
        Placed(*tvBottom).setWidth(SH / 2);
        Placed(*lvTop).setWidth(listWidth());
        Placed(*lvBottom).setWidth(Placed(*lvTop).width());
    });
    trap.step([&] {
        txtTop->clear();
        Placed(*txtTop).setLeft(1800).setWidth(9500).setTop(Placed(*pbTop_one).top() - 300);
        txtBottom->clear();
        Placed(*txtBottom).setWidth(9500).setLeft(1800).setTop(Placed(*pbBottom_one).top() - 300);
    });
    trap.step([&] {
        Placed(*lblTop).setWidth(1700);
        lblTop->setText(QStringLiteral("      SharePoint Source"));
        Placed(*lblTop).setTop(Placed(*txtTop).top()).setLeft(100);
        Placed(*lblBottom).setWidth(1700);
        lblBottom->setText(QStringLiteral("Destination"));
        Placed(*lblBottom).setTop(Placed(*txtBottom).top() - 100).setLeft(300);
        Placed(*lDest).setWidth(1700).setTop(Placed(*lblBottom).top()).setLeft(300);
        for (QLabel* caption : {lblTop, lblBottom}) FitTextToWidth(*caption);
    });
    // The tool bars keep to the room above their address boxes, so that
    // neither covers the other; the boxes above were placed by the bars'
    // design height.
    trap.step([&] {
        Placed(*tbTop).setHeight(Placed(*txtTop).top() - Placed(*tbTop).top());
        Placed(*tbBottom).setHeight(Placed(*txtBottom).top() - Placed(*tbBottom).top());
        tbTop->raise();
        tbBottom->raise();
    });
}

void FrmMainGUI::GUIImageSettings()
{
    ErrorTrap trap("in MainGUI-GUIImageSettings");
    trap.step([&] { tbTop->setImageList(ImageList_tbtop); });
    trap.step([&] { showButtonImages(*tbTop, kTopButtons); });
    trap.step([&] { tbBottom->setImageList(ImageList_tbbottom); });
    trap.step([&] { showButtonImages(*tbBottom, kBottomButtons); });
}

// No trap of its own: a failure here reaches Form_Load's.
void FrmMainGUI::GUIStatusbarSettings()
{
    ProgressBar1->setVisible(true);
    ArrangeStatusBar();
    SetProgressBarOnStatusBar();
    initiateProgressBar();
}

void FrmMainGUI::ArrangeStatusBar()
{
    ErrorTrap trap("in ArrangeStatusBar");
    const float W = Placed(*this).width();
    trap.step([&] { StatusBar1->Panels(4).setWidth(W / 3 + (W / 3) / 10 - 1000); });
    trap.step([&] { StatusBar1->Panels(5).setWidth(W / 3 + (W / 3) / 10 + 600); });
    trap.step([&] {
        float left = 0;
        for (int panel = 1; panel <= 4; ++panel) left += StatusBar1->Panels(panel).Width();
        Placed(*ProgressBar1).setLeft(left + 100).setTop(70).setWidth(StatusBar1->Panels(5).Width()).setHeight(270);
    });
}

void FrmMainGUI::SetProgressBarOnStatusBar()
{
    ErrorTrap trap("");
    trap.onAnyOther();
    trap.step([&] {
        ProgressBar1->setParent(StatusBar1); // keeps its position, now within the status bar
        ProgressBar1->show();
    });
}

void FrmMainGUI::initiateProgressBar()
{
    ErrorTrap trap("in initiateProgressBar");
    trap.step([&] { ProgressBar1->setValue(0); });
}

void FrmMainGUI::UpdateProgressBar()
{
    ErrorTrap trap("in UpdateProgressBar");
    trap.step([&] { StatusBar1->Panels(4).setText("Loading Folders and Files..."); });
    trap.step([&] {
        ProgressBar1->setValue(SteppedProgressValue(ProgressBar1->Value(), ProgressBar1->Max(), gProgressStep));
    });
}

void FrmMainGUI::GUIColHeaderSettings(bool isTop)
{
    ErrorTrap trap("in MainGUI-GUIColHeaderSettings");
    // The columns are there already when the list was set up before.
    trap.on({ui::kKeyNotUnique, ui::kObjectNotSet});
    ui::ListView& list = isTop ? *lvTop : *lvBottom;
    trap.step([&] { list.setHideColumnHeaders(false); });
    for (int i = 1; i <= int(kListColumns.size()); ++i) {
        const ColumnSpec& column = kListColumns[i - 1];
        trap.step([&] { list.ColumnHeaders().Add(0, "k" + std::to_string(i), column.title, column.width, column.alignment); });
    }
    trap.step(ui::DoEvents);
}

void FrmMainGUI::Form_KeyPress(int keyAscii)
{
    ErrorTrap trap("in MainGUI-Form_KeyPress");
    if (keyAscii == ui::vbKeyEscape) trap.step([&] { DoExit(); });
}

void FrmMainGUI::keyPressEvent(QKeyEvent* event)
{
    if (const int code = ui::KeyAscii(*event)) Form_KeyPress(code);
    else QMainWindow::keyPressEvent(event);
}

// Closing the window by its frame unloads it, without a question; while a run
// is active it asks as Exit does, and the window closes once the run has ended.
void FrmMainGUI::closeEvent(QCloseEvent* event)
{
    if (RunGuard::active()) {
        event->ignore();
        DoExit();
        return;
    }
    event->accept();
    if (ui::FormInstance<FrmMainGUI>::isLoaded() && &ui::FormInstance<FrmMainGUI>::get() == this)
        ui::FormInstance<FrmMainGUI>::unloadSelf();
}
