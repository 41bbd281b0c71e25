#pragma once
// The options dialog frmOption ("Workspace & Content Replication"): what the
// next replication run copies. It offers only the boxes that fit the
// selection, keeps them consistent, and on Proceed turns them into the
// replication option flags. Cancel, Esc and the title bar's close set
// gOptionsCancelled and change no flag.

#include "app/dialogs/option_rules.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmOption : public QDialog {
    Q_OBJECT
public:
    // workspaceEntries and folderEntries: whether the selection holds
    // whole-workspace entries and folder-or-document entries, as the main
    // window's IsWorkspaceAdded and IsFolAdded answer.
    frmOption(bool workspaceEntries, bool folderEntries, QWidget* owner = nullptr);

    // The boxes and the document state as the dialog shows them.
    OptionChoices Choices() const;

    // Cancel, Esc and the title bar's close.
    void reject() override;
    void done(int result) override;

    QGroupBox* Frame3;
    QLabel* Label1;
    QCheckBox* CheckW;
    QLabel* Label7;
    QLabel* Label2;
    QCheckBox* CheckP;
    QLabel* Label8;
    QLabel* Label3;
    QCheckBox* CheckF;
    QLabel* Label5;
    QGroupBox* Frame6;
    QCheckBox* CheckFAP;
    QLabel* Label9;
    QCheckBox* CheckFAS;
    QLabel* Label10;
    QLabel* Label4;
    QCheckBox* CheckD;
    QLabel* Label11;
    QGroupBox* Frame4;
    QCheckBox* CheckDAM;
    QLabel* Label12;
    QCheckBox* CheckDAS;
    QLabel* Label13;
    QLabel* Label6;
    QGroupBox* Frame5;
    QRadioButton* OptionSource;
    QRadioButton* OptionCheckout;
    QRadioButton* OptionCheckin;
    QRadioButton* OptionPublish;
    QPushButton* Proceed;
    QPushButton* CmdCancel;

private:
    void createControls();
    void Form_Load(bool workspaceEntries, bool folderEntries);
    void ShowChoices(const OptionChoices& choices);
    void Box_Click(OptionBox box);
    void Proceed_Click();

    // The check boxes and their description labels, in OptionBox order.
    std::array<QCheckBox*, kOptionBoxCount> boxes_{};
    std::array<QLabel*, kOptionBoxCount> descriptions_{};
};

// Shows frmOption modally over owner and unloads it. When Proceed chose to
// assign document metadata, then offers to copy the profiles of the
// selection's source workspaces into its destination workspaces, and copies
// them, with the progress dialog, under the run guard. The caller sets
// gOptionsCancelled to False before, and reads it and gCancelImport after.
void ShowOptionsDialog(QWidget* owner, bool workspaceEntries, bool folderEntries);
