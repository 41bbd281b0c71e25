#include "app/dialogs/frm_option.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/form_controls.h"
#include "app/engine/cart_entries.h"
#include "app/engine/profiles.h"
#include "app/engine/runtime_values.h"
#include "app/engine/url_levels.h"
#include "platform/ui/do_events.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal_dialog.h"
#include "platform/ui/mouse_pointer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using enum OptionBox;

// The description of each box, in OptionBox order.
constexpr std::array<const char*, kOptionBoxCount> kDescriptions = {
    "Replicate workspaces in destination sharepoint.",
    "Replicate profiles in destination sharepoint.",
    "Replicate folders in destination sharepoint.",
    "Assign source profile to destination folder.",
    "Assign source security to destination folder.",
    "Replicate most recently published version of documents. in destination sharepoint.",
    "Assign source metadata to destination document.",
    "Assign source security to destination document.",
};

// The flags Proceed sets; Profiles only ever adds its flag, since the load
// leaves gCopyProfilePairs as it was.
void StoreReplicationOptions(const ReplicationOptions& options)
{
    gWorkspacesOnly = options.workspacesOnly;
    gWorkspacesWithProfilesOnly = options.workspacesWithProfilesOnly;
    gReplicateWorkspaceContent = options.replicateWorkspaceContent;
    gReplicateFolders = options.replicateFolders;
    gReplicateDocuments = options.replicateDocuments;
    gSkipWorkspaceProfiles = options.skipWorkspaceProfiles;
    gCopyProfilePairs = gCopyProfilePairs || options.copyProfilePairs;
    gAssignFolderProfiles = options.assignFolderProfiles;
    gAssignFolderSecurity = options.assignFolderSecurity;
    gAssignDocumentMetadata = options.assignDocumentMetadata;
    gAssignDocumentSecurity = options.assignDocumentSecurity;
    gDocStateCheckIn = options.docStateCheckIn;
    gDocStatePublish = options.docStatePublish;
    gDocStateAsInSource = options.docStateAsInSource;
}

// Sets gReplicationType to the type of each entry read, up to the first
// folder-or-document entry; false when there is none.
bool ScanToFirstFolderEntry(ErrorTrap& trap, const std::vector<std::string>& types)
{
    for (const std::string& type : types) {
        trap.step([&] { gReplicationType = IntegerFromText(type); });
        if (IsReplicationType(type, 3)) return true;
    }
    return false;
}

void Yield(ErrorTrap& trap)
{
    trap.step([] { ui::DoEvents(); });
}

// Copies one pair's profiles and content classes with the progress dialog,
// for a user who coordinates the destination workspace.
void CopyWorkspaceProfiles(ErrorTrap& trap, const WorkspacePair& pair)
{
    if (!trap.value([&] { return CheckPermissionForCoordinator_test(pair.destination); })) {
        ui::MsgBox("You do not have the Coordinator permission in '" + pair.destination + "'.\r\n" +
                       "Proceeding with out copying profiles.",
                   ui::vbInformation);
        return;
    }
    trap.step([] { ImportingDialog().show(); });
    Yield(trap);
    trap.step([] { ui::SetMousePointer(ui::vbHourglass); });
    Yield(trap);
    gReplicationType = 3;
    trap.step([&] { CreateProfilesInDestination("3", pair.source, pair.destination); });
    if (!gCancelImport) {
        trap.step([&] { ManageContentClasses(pair.source, pair.destination); });
    } else {
        ui::MsgBox("Tarvex failed to create profiles in the destination server due to user action.", ui::vbInformation);
    }
    trap.step([] { ImportingDialog().unload(); });
    Yield(trap);
}

// The end of Proceed when document metadata is to be assigned: the profiles of
// the selection's workspaces, pair by pair, if the user wants them copied. A
// Cancel does not end the loop: each remaining pair then ends with its notice.
void OfferProfileCopy()
{
    ErrorTrap trap("in frmoption-Proceed");
    const std::vector<std::string> types = SplitEntries(gSelectedTypes, "~");
    const std::vector<WorkspacePair> pairs = DistinctWorkspacePairs(
        SplitEntries(gSelectedSources, "|"), SplitEntries(gSelectedDestinations, "="), types);
    if (!ScanToFirstFolderEntry(trap, types)) return;
    if (ui::MsgBox("Do you want to copy the source workspace profiles in the destination workspace?\r\n"
                   "If the profiles exists in the destination workspace,you do not need to copy again.",
                   ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
        return;
    trap.step([] { MainWindow().setCreateProfileEnabled(false); });

    const std::string sourceAddress = trap.value([] { return MainWindow().txtTop(); });
    const std::string destinationAddress = trap.value([] { return MainWindow().txtBottom(); });
    const RunGuard run(sourceAddress, destinationAddress);
    for (const WorkspacePair& pair : pairs) CopyWorkspaceProfiles(trap, pair);
}

} // namespace

frmOption::frmOption(bool workspaceEntries, bool folderEntries, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Workspace & Content Replication"));
    createControls();
    Form_Load(workspaceEntries, folderEntries);
}

void frmOption::createControls()
{
    Frame3 = MakeControl<QGroupBox>(this, "Frame3");
    const auto heading = [this](const char* name, const char* text) {
        QLabel* label = MakeControl<QLabel>(Frame3, name, QString::fromLatin1(text));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        return label;
    };
    const auto box = [](QWidget* parent, const char* name, const char* caption) {
        auto* check = MakeControl<QCheckBox>(parent, name, QString::fromLatin1(caption));
        check->setEnabled(false);
        return check;
    };
    const auto description = [](QWidget* parent, const char* name) {
        QLabel* label = MakeControl<QLabel>(parent, name, QString::fromLatin1(name));
        label->setWordWrap(true);
        return label;
    };
    const auto frame = [this](const char* name, const char* title) {
        QGroupBox* group = MakeControl<QGroupBox>(Frame3, name, QString::fromLatin1(title));
        group->setEnabled(false);
        return group;
    };

    Label1 = heading("Label1", "Workspaces");
    CheckW = box(Frame3, "CheckW", "Workspaces");
    Label7 = description(Frame3, "Label7");
    Label2 = heading("Label2", "Profiles");
    CheckP = box(Frame3, "CheckP", "Profiles");
    Label8 = description(Frame3, "Label8");
    Label3 = heading("Label3", "Folders");
    CheckF = box(Frame3, "CheckF", "Folders");
    Label5 = description(Frame3, "Label5");
    Frame6 = frame("Frame6", "Profiles && Security");
    CheckFAP = box(Frame6, "CheckFAP", "Assign Profiles");
    Label9 = description(Frame6, "Label9");
    CheckFAS = box(Frame6, "CheckFAS", "Assign Security");
    Label10 = description(Frame6, "Label10");
    Label4 = heading("Label4", "Documents");
    CheckD = box(Frame3, "CheckD", "Documents");
    Label11 = description(Frame3, "Label11");
    Frame4 = frame("Frame4", "Metadata && Security");
    CheckDAM = box(Frame4, "CheckDAM", "Assign Metadata");
    Label12 = description(Frame4, "Label12");
    CheckDAS = box(Frame4, "CheckDAS", "Assign Security");
    Label13 = description(Frame4, "Label13");
    Label6 = heading("Label6", "Document state");
    Frame5 = frame("Frame5", "Document state");
    OptionSource = MakeControl<QRadioButton>(Frame5, "OptionSource", QStringLiteral("As in Source"));
    OptionCheckout = MakeControl<QRadioButton>(Frame5, "OptionCheckout", QStringLiteral("Check Out"));
    OptionCheckin = MakeControl<QRadioButton>(Frame5, "OptionCheckin", QStringLiteral("Check In"));
    OptionPublish = MakeControl<QRadioButton>(Frame5, "OptionPublish", QStringLiteral("Publish"));
    for (QRadioButton* state : {OptionSource, OptionCheckout, OptionCheckin, OptionPublish}) state->setEnabled(false);
    OptionPublish->setChecked(true);
    Proceed = MakeControl<QPushButton>(this, "Proceed", QStringLiteral("&Proceed "));
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", QStringLiteral("&Cancel"));

    boxes_ = {CheckW, CheckP, CheckF, CheckFAP, CheckFAS, CheckD, CheckDAM, CheckDAS};
    descriptions_ = {Label7, Label8, Label5, Label9, Label10, Label11, Label12, Label13};

    FieldGrid({{CheckFAP, Label9}, {CheckFAS, Label10}}, Frame6);
    FieldGrid({{CheckDAM, Label12}, {CheckDAS, Label13}}, Frame4);
    auto* states = new QHBoxLayout(Frame5);
    for (QRadioButton* state : {OptionSource, OptionCheckout, OptionCheckin, OptionPublish}) states->addWidget(state);

    auto* sections = new QGridLayout(Frame3);
    int row = 0;
    const auto section = [&](QLabel* title, QCheckBox* check, QLabel* label, QGroupBox* details) {
        sections->addWidget(title, row++, 0, 1, 3);
        sections->addWidget(check, row, 0);
        sections->addWidget(label, row++, 1, 1, 2);
        if (details) sections->addWidget(details, row++, 1, 1, 2);
    };
    section(Label1, CheckW, Label7, nullptr);
    section(Label2, CheckP, Label8, nullptr);
    section(Label3, CheckF, Label5, Frame6);
    section(Label4, CheckD, Label11, Frame4);
    sections->addWidget(Label6, row++, 0, 1, 3);
    sections->addWidget(Frame5, row, 0, 1, 3);
    sections->setColumnStretch(2, 1);

    auto* form = new QVBoxLayout(this);
    form->addWidget(Frame3);
    form->addLayout(ButtonRow({Proceed, CmdCancel}));

    for (std::size_t i = 0; i < boxes_.size(); ++i)
        connect(boxes_[i], &QCheckBox::clicked, this, [this, i] { Box_Click(OptionBox(i)); });
    connect(Proceed, &QPushButton::clicked, this, &frmOption::Proceed_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmOption::reject);
}

void frmOption::Form_Load(bool workspaceEntries, bool folderEntries)
{
    ErrorTrap trap("in frmOption-Load");
    trap.step([this] {
        for (std::size_t i = 0; i < descriptions_.size(); ++i)
            descriptions_[i]->setText(QString::fromLatin1(kDescriptions[i]));
    });
    trap.step([&] { ShowChoices(LoadedOptions(workspaceEntries, folderEntries, !gProfileSources.empty())); });
    // Every flag but gCopyProfilePairs starts the run cleared.
    StoreReplicationOptions({});
}

OptionChoices frmOption::Choices() const
{
    OptionChoices choices;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        choices.enabled[i] = boxes_[i]->isEnabled();
        choices.checked[i] = boxes_[i]->isChecked();
    }
    choices.detailsEnabled = Frame5->isEnabled();
    // The first selected in the order Check In, Publish, As in Source, Check Out.
    choices.state = OptionCheckin->isChecked()    ? DocumentState::CheckIn
                    : OptionPublish->isChecked()  ? DocumentState::Publish
                    : OptionSource->isChecked()   ? DocumentState::AsInSource
                    : OptionCheckout->isChecked() ? DocumentState::CheckOut
                                                  : DocumentState::None;
    return choices;
}

void frmOption::ShowChoices(const OptionChoices& choices)
{
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setEnabled(choices.enabled[i]);
        boxes_[i]->setChecked(choices.checked[i]);
        descriptions_[i]->setEnabled(choices.enabled[i]);
    }
    for (QWidget* details : std::initializer_list<QWidget*>{Frame4, Frame5, Frame6, OptionSource, OptionCheckout,
                                                            OptionCheckin, OptionPublish})
        details->setEnabled(choices.detailsEnabled);
    const std::pair<DocumentState, QRadioButton*> states[] = {{DocumentState::AsInSource, OptionSource},
                                                              {DocumentState::CheckOut, OptionCheckout},
                                                              {DocumentState::CheckIn, OptionCheckin},
                                                              {DocumentState::Publish, OptionPublish}};
    for (const auto& [state, button] : states)
        if (state == choices.state) button->setChecked(true);
}

void frmOption::Box_Click(OptionBox box) { ShowChoices(AfterClick(Choices(), box)); }

void frmOption::Proceed_Click()
{
    ErrorTrap trap("in frmoption-Proceed");
    const ProceedResult result = ProceedOptions(Choices());
    trap.step([&] { StoreReplicationOptions(result.options); });
    if (result.documentStateMissing) {
        ui::MsgBox("Choose document state to proceed.", ui::vbExclamation);
        return;
    }
    accept();
}

void frmOption::reject()
{
    gOptionsCancelled = true;
    QDialog::reject();
}

void frmOption::done(int result)
{
    QDialog::done(result);
    ui::SetMousePointer(ui::vbDefault);
}

void ShowOptionsDialog(QWidget* owner, bool workspaceEntries, bool folderEntries)
{
    bool proceeded = false;
    {
        frmOption options(workspaceEntries, folderEntries, owner);
        proceeded = ui::ShowModal(options) == QDialog::Accepted;
    }
    if (!proceeded) return;
    ui::DoEvents();
    if (gAssignDocumentMetadata) OfferProfileCopy();
}
