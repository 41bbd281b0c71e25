#pragma once
// The main window: the source pane on top and the destination pane below,
// each with its tool bar, caption, address box, tree and list, over a status
// bar that carries the window's progress bar.
//
// The implementation is split by concern, one file each:
//   frm_main_gui.cpp            controls, loading and layout, status-bar progress, Esc
//   frm_main_gui_menus.cpp      menus, tool bars, list events, enable rules
//   frm_main_gui_selection.cpp  the Add command and the selection queries
//   frm_main_gui_commands.cpp   connect, disconnect, refresh, profiles, replicate, exit
//   frm_main_gui_dialogs.cpp    the settings dialogs shown from the menus and tool bars
//   frm_main_gui_workspaces.cpp workspace listing and the folder titles
//   frm_main_gui_tree.cpp       tree navigation
//   frm_main_gui_discovery.cpp  network discovery
//   frm_main_gui_listing.cpp    folder listing
//   frm_main_gui_file_types.cpp file types and their icons
//   frm_main_gui_engine.cpp     what the replication engine reaches of the window

#include "app/core/forms.h"
#include "platform/ui/list_view.h"
#include "platform/ui/tree_view.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ErrorTrap;
class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;

namespace store {
class SpsFolder;
}

namespace ui {
class ImageList;
class ProgressBar;
class StatusBar;
class ToolBar;
} // namespace ui

class FrmMainGUI : public QMainWindow {
    Q_OBJECT
public:
    // Builds the controls and loads the window; the window installs itself as
    // the engine's main window until it is unloaded.
    FrmMainGUI();
    ~FrmMainGUI() override;

    // --- Controls -------------------------------------------------------
    ui::ToolBar* tbTop;
    QLabel* lblTop;
    QLineEdit* txtTop;
    QFrame* pbTop_one;
    ui::TreeView* tvTop;
    QFrame* pbTop_two;
    ui::ListView* lvTop;

    ui::ToolBar* tbBottom;
    QLabel* lblBottom;
    QLabel* lDest;
    QLineEdit* txtBottom;
    QFrame* pbBottom_one;
    ui::TreeView* tvBottom;
    QFrame* pbbottom_two;
    ui::ListView* lvBottom;

    ui::StatusBar* StatusBar1;
    ui::ProgressBar* ProgressBar1;
    QLabel* tempPicture;

    ui::ImageList* ImageList_tbtop;
    ui::ImageList* ImageList_tbbottom;
    ui::ImageList* ImageList_TopTreeList;
    ui::ImageList* ImageList_BottomTreeList;

    // --- Menus ----------------------------------------------------------
    QMenu* MnuFile;
    QAction* mnuAdd;
    QAction* mnuRemove;
    QAction* Sep7;
    QAction* mnuCreateProfile;
    QAction* mnuReplicate;
    QAction* Sep1;
    QAction* mnuExit;
    QMenu* MnuView;
    QAction* mnuToolbar;
    QAction* mnuToolbar1;
    QMenu* MnuTools;
    QAction* mnuConnectS;
    QAction* mnuDisconnectS;
    QAction* Sep3;
    QAction* mnuRefreshS;
    QAction* mnuRefreshD;
    QAction* Sep4;
    QAction* mnuConnectD;
    QAction* mnuDisconnectD;
    QMenu* mnuSettings;
    QAction* mnuFilter;
    QAction* mnuMapRoles;
    QMenu* MnuHelp;
    QAction* mnuContents;
    QAction* Sep5;
    QAction* mnuAbout;
    QMenu* mnuNewPop; // the pop-up menu of the lists and trees; never in the bar
    QAction* mnuCopy;
    QAction* mnuCopyProfiles;
    QAction* sp1;
    QAction* mnuPaste;
    QAction* mnuPasteProfiles;
    QAction* sep;
    QAction* mnuDelete;

    // --- Layout and status-bar progress ---------------------------------
    void ToolBarSettings();
    void GUIGeneralSettings();
    void GUIImageSettings();
    void GUIStatusbarSettings();
    void SetProgressBarOnStatusBar();
    void initiateProgressBar();
    // Panel 4 reads "Loading Folders and Files..." and the bar advances by
    // gProgressStep, never past its maximum.
    void UpdateProgressBar();
    // Shows the list's column headers and adds its four columns (once).
    void GUIColHeaderSettings(bool isTop);

    // --- Enable rules ---------------------------------------------------
    void Add_Enable(std::int16_t srcLevel, std::int16_t dstLevel);
    void CreateProfile_Enable(std::int16_t srcLevel, std::int16_t dstLevel);

    // --- Selection ------------------------------------------------------
    void DoRealAdd();
    bool IsWorkspaceAdded();
    bool IsFolAdded();

    // --- Commands -------------------------------------------------------
    void DoRealConnection();
    void DoRealConnectionD();
    void DoRealDisconnect();
    void DoRealDisconnectD();
    void DoRealRefresh();
    void DoRealRefreshD();
    void DoRealProfileCreation_Test();
    bool check11();
    void DoRealProfileCreation();
    void DoRealReplication();
    void DoExit();

    // --- Workspace listing ----------------------------------------------
    void DisplaySourceWorkspaces(std::string server);
    void DisplayDestWorkspaces(std::string server);
    std::string FindDocumentsFolderTitle(const std::string& server);
    std::string FindCategoriesFolderTitle(const std::string& server);

    // --- Folder listing -------------------------------------------------
    void Get_FilesFolders(std::string url, bool isSource, ui::TreeNode node);
    std::string FindOrigin(const std::string& url);
    std::string RepeatSubFolders(const std::string& sourceUrl, const std::string& name);

    // --- File types and icons -------------------------------------------
    std::string GetKey(const std::string& fileName);
    bool StoreIcons(const std::string& fileName, std::int16_t imageIndex, bool isTop);
    std::string StripNulls(std::string& text);

    // When the window is unloaded the program ends: the engine no longer
    // reaches it, every other form is unloaded and the message loop ends.
    void formUnloading();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class EngineView;

    // One pane's controls: the top (source) or the bottom (destination) pane.
    struct Pane {
        bool isSource;
        ui::ToolBar& bar;
        QLineEdit& address;
        ui::TreeView& tree;
        ui::ListView& list;
        ui::ImageList& images;
        std::string& currentUrl; // gCurrentSourceUrl or gCurrentDestUrl
        int disconnectButton;
        QAction* disconnectItem;
        int refreshButton;
        QAction* refreshItem;
    };
    Pane pane(bool isSource);

    // Building the controls.
    void createImageLists();
    void createControls();
    void createToolBars();
    void createMenus();
    void connectEvents();

    // Loading and layout.
    void Form_Load();
    void Form_Activate();
    void Form_KeyPress(int keyAscii);
    void ArrangeStatusBar();

    // Menus, tool bars and list events.
    void tbTop_ButtonClick(int index);
    void tbBottom_ButtonClick(int index);
    void mnuToolbar_Click();
    void mnuToolbar1_Click();
    void mnuContents_Click();
    void mnuAbout_Click();
    void mnuCopy_Click();
    void mnuCopyProfiles_Click();
    void mnuPaste_Click();
    void mnuPasteProfiles_Click();
    void lvTop_ColumnClick(int column);
    void lvBottom_ColumnClick(int column);
    void lvTop_ItemClick(ui::ListItem item);
    void lvBottom_ItemClick(ui::ListItem item);
    void lvTop_KeyPress(int keyAscii);
    void lvBottom_KeyPress(int keyAscii);
    void lvTop_MouseDown(int button, int shift, float x, float y);
    void lvBottom_MouseDown(int button, int shift, float x, float y);
    void ClearColumnHeaders(bool isTop);
    void OpenHelpFile();
    void ShowPopUpMenu();

    // Dialogs shown from the menus and tool bars.
    void ShowFilterSettings();
    void ShowRoleMapping();

    // Sets txtTop's and txtBottom's URL levels to the Add and Add Profiles
    // rules, giving the message loop a turn after each.
    void EnableByAddressLevels();

    // Selection.
    bool IsItFolder();

    // Commands: both panes disconnect alike, with the differences of each.
    void DisconnectPane(bool isSource);
    // Runs a replication or profile run: the run guard up and the commands
    // that would disturb it held off meanwhile; a close asked for during the
    // run follows once the run has ended, its report written.
    void RunInWindow(const std::function<void()>& run);
    // The commands a run holds off: every one the run guard refuses.
    void GroupCommandsHeldDuringRuns();

    // Workspace listing: both panes list alike, with the differences of each.
    void DisplayWorkspaces(const std::string& server, bool isSource);
    void TrapConnectionErrors(ErrorTrap& trap, bool isSource);
    // The pointer back to the default and the message that the store's client
    // cannot reach any server.
    void ShowNoClientMessage();

    // Folder listing: opening the level, or a pending folder's source.
    void OpenLevel(store::SpsFolder& level, std::string& url, const std::string& levelUrl, ErrorTrap& trap);

    // Tree navigation: both trees act alike, with the differences of each.
    void TreeCollapse(ui::TreeNode node, bool isSource);
    void TreeNodeClick(ui::TreeNode node, bool isSource);
    void TreeRightClick(ui::TreeNode node, bool isSource);
    void TreeMouseDown(ui::TreeView& tree, int button, float x, float y);
    void ShowPendingEntries(ui::TreeNode node);
    void tvTop_Collapse(ui::TreeNode node);
    void tvBottom_Collapse(ui::TreeNode node);
    void tvTop_Expand(ui::TreeNode node);
    void tvBottom_Expand(ui::TreeNode node);
    void tvTop_NodeClick(ui::TreeNode node);
    void tvBottom_NodeClick(ui::TreeNode node);
    void tvTop_MouseDown(int button, int shift, float x, float y);
    void tvBottom_MouseDown(int button, int shift, float x, float y);
    void tvBottom_KeyPress(int keyAscii);

    // Network discovery into the top (true) or bottom (false) pane.
    void picAutoDetectOn_Click(bool isTop);
    // The question asked before a discovery replaces a pane; true on Yes.
    bool AskToListNetwork();
    // The discovery nodes opened in a tree: the Entire Network root searches
    // the network again, a domain shows its servers.
    void OpenEntireNetwork(bool isSource);
    void ExpandDomain(ui::TreeNode node, bool isSource, ErrorTrap& trap);
    // A node at or below a server found by discovery makes it the pane's
    // server (gSourceServerName or gDestServerName).
    void FollowDiscoveredServer(const ui::TreeNode& node, bool isSource);

    // Installs the window as the engine's main window.
    void installEngineView();

    QWidget* clientArea_;
    std::unique_ptr<MainWindowForm> engineView_; // what the engine reaches of the window
    // A right button went down on a tree, and no node click has taken it yet.
    bool gTreeRightClick = false;
    // The buttons' and menu items' actions that show disabled while a run lasts.
    QActionGroup* commandsHeldDuringRuns_ = nullptr;
    // The user chose to close the program while a run lasted.
    bool closeAfterRun_ = false;
};

// Switches a command's tool-bar button (by index) and, when given, its menu
// item together.
void SwitchCommand(ui::ToolBar& bar, int button, QAction* menuItem, bool enabled);
