#pragma once
// What the replication engine and the dialogs read and set on the forms: the
// progress dialog, the role-mapping dialog and the main window. The forms
// implement these interfaces and install themselves at start-up; tests
// install fakes. Each interface is exactly as wide as the calls made through
// it.

#include <array>
#include <string>

// The progress dialog frmImporting, reached through its shared instance:
// every member but unload() acts on the loaded dialog, and loads a new,
// hidden one when none is loaded (as after its Cancel).
class ImportingForm {
public:
    virtual ~ImportingForm() = default;

    // Shows the dialog modeless.
    virtual void show() = 0;
    // Hides and destroys the dialog; nothing when it is not loaded.
    virtual void unload() = 0;

    virtual void setCaption(const std::string& text) = 0;
    virtual void setLblStatus(const std::string& text) = 0;
    virtual void setLblSource(const std::string& text) = 0;
    virtual void setLblDest(const std::string& text) = 0;
    virtual void setLblPercentage(const std::string& text) = 0;

    // ProgressBar1's Value and Max.
    virtual float progressBar1Value() = 0;
    virtual void setProgressBar1Value(float value) = 0;
    virtual float progressBar1Max() = 0;
};

// The role mapping: for the source roles Readers, Authors and Coordinators
// (elements 0 to 2) the index of the destination role as text ("0" Readers,
// "1" Authors, "2" Coordinators); element 3 is a fourth stored row or empty.
using RoleMapping = std::array<std::string, 4>;

// The role-mapping dialog frmPermissions.
class RoleMappingForm {
public:
    virtual ~RoleMappingForm() = default;

    // The current mapping as the dialog stores it.
    virtual RoleMapping AddDefaultSettings() = 0;
};

// The main window FrmMainGUI.
class MainWindowForm {
public:
    virtual ~MainWindowForm() = default;

    // The address boxes of the source (top) and destination (bottom) panes.
    virtual std::string txtTop() = 0;
    virtual std::string txtBottom() = 0;
    virtual void setTxtTop(const std::string& text) = 0;
    virtual void setTxtBottom(const std::string& text) = 0;

    // The server's own titles of a workspace's Documents and Categories
    // folders, or "null".
    virtual std::string FindDocumentsFolderTitle(const std::string& server) = 0;
    virtual std::string FindCategoriesFolderTitle(const std::string& server) = 0;
    // Lists the server's workspaces afresh in the top (source) or bottom
    // (destination) pane.
    virtual void DisplaySourceWorkspaces(const std::string& server) = 0;
    virtual void DisplayDestWorkspaces(const std::string& server) = 0;

    // Each command's button on the destination tool bar tbBottom and its menu
    // item, switched together: Replicate (button 12, mnuReplicate), Remove
    // (button 8, mnuRemove), Create Profile (button 10, mnuCreateProfile).
    virtual void setReplicateEnabled(bool enabled) = 0;
    virtual void setRemoveEnabled(bool enabled) = 0;
    virtual void setCreateProfileEnabled(bool enabled) = 0;
    // The Refresh command of each pane: tbTop button 4 with mnuRefreshS,
    // tbBottom button 5 with mnuRefreshD.
    virtual void setRefreshSourceEnabled(bool enabled) = 0;
    virtual void setRefreshDestEnabled(bool enabled) = 0;
};

// The installed forms; nullptr removes one. Reaching a form that is not
// installed throws std::logic_error.
void InstallImportingForm(ImportingForm* form);
void InstallRoleMappingForm(RoleMappingForm* form);
void InstallMainWindowForm(MainWindowForm* form);

ImportingForm& ImportingDialog();
RoleMappingForm& RoleMappingDialog();
MainWindowForm& MainWindow();
