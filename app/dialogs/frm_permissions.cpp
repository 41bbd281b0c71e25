#include "app/dialogs/frm_permissions.h"

#include "app/core/error_trap.h"
#include "app/core/run_guard.h"
#include "app/dialogs/form_controls.h"
#include "app/dialogs/role_mapping_rules.h"
#include "app/dialogs/settings_save.h"
#include "platform/ui/do_events.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Makes the list hold exactly the role names, leaving one that does alone. A
// list filled afresh has no selection.
void FillRoleNames(QComboBox& list)
{
    QStringList names;
    for (const char* name : kRoleNames) names << QString::fromLatin1(name);
    QStringList entries;
    for (int i = 0; i < list.count(); ++i) entries << list.itemText(i);
    if (entries == names) return;
    list.clear();
    list.addItems(names);
    list.setCurrentIndex(-1);
}

} // namespace

void DropDownList::showPopup()
{
    emit DropDown();
    QComboBox::showPopup();
}

frmPermissions::frmPermissions(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPermissions"));
    setWindowTitle(QStringLiteral("Map Roles"));

    Label7 = MakeControl<QLabel>(this, "Label7", QStringLiteral("Label7"));
    Label6 = MakeControl<QLabel>(this, "Label6", QStringLiteral("Label6"));
    for (QLabel* help : {Label7, Label6}) help->setWordWrap(true);
    Frame1 = MakeControl<QGroupBox>(this, "Frame1", QStringLiteral("Security mapping"));
    Frame1->setEnabled(false);
    Label1 = MakeControl<QLabel>(Frame1, "Label1", QStringLiteral("Source Role(s)"));
    Label2 = MakeControl<QLabel>(Frame1, "Label2", QStringLiteral("Destination Role(s)"));
    Label3 = MakeControl<QLabel>(Frame1, "Label3", QStringLiteral("Readers"));
    Label4 = MakeControl<QLabel>(Frame1, "Label4", QStringLiteral("Authors"));
    Label5 = MakeControl<QLabel>(Frame1, "Label5", QStringLiteral("Coordinators"));
    Combo1 = MakeControl<DropDownList>(Frame1, "Combo1");
    Combo2 = MakeControl<DropDownList>(Frame1, "Combo2");
    Combo3 = MakeControl<DropDownList>(Frame1, "Combo3");
    cmdApply = MakeControl<QPushButton>(Frame1, "cmdApply", QStringLiteral("&Apply"));
    cmdOk = MakeControl<QPushButton>(this, "cmdOk", QStringLiteral("&Ok"));
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", QStringLiteral("&Cancel"));
    // Enter in a list must not press a button: only Esc closes the dialog.
    for (QPushButton* button : {cmdApply, cmdOk, cmdCancel}) button->setAutoDefault(false);

    QGridLayout* mapping = FieldGrid({{Label1, Label2}, {Label3, Combo1}, {Label4, Combo2}, {Label5, Combo3}}, Frame1);
    mapping->addWidget(cmdApply, 3, 2);
    auto* form = new QVBoxLayout(this);
    form->addWidget(Label7);
    form->addWidget(Label6);
    form->addWidget(Frame1);
    form->addLayout(ButtonRow({cmdOk, cmdCancel}));

    // Any change of a list by the user, by mouse or keyboard, and any opening
    // of its drop-down count as an edit.
    for (DropDownList* list : lists()) {
        connect(list, &DropDownList::DropDown, this, &frmPermissions::MappingEdited);
        connect(list, &QComboBox::activated, this, &frmPermissions::MappingEdited);
    }
    connect(cmdApply, &QPushButton::clicked, this, &frmPermissions::CmdApply_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmPermissions::CmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

void frmPermissions::Form_Load()
{
    Label7->setText(QStringLiteral("1.You can use the mapping section below to apply appropriate security       "
                                   "for folders and documents being copied from source to destination."));
    Label6->setText(QStringLiteral("2.Map your current user roles in source to same or different user roles         "
                                   "in destination by using the dropdown options below."));
    AddDefaultSettings();
    Frame1->setEnabled(true);
    cmdApply->setEnabled(false);
    ui::DoEvents();
}

RoleMapping frmPermissions::AddDefaultSettings()
{
    ErrorTrap trap("in AddDefaultSettings");
    for (DropDownList* list : lists()) trap.step([&] { FillRoleNames(*list); });
    const RoleMapping mapping = ReadRoleMappingPositions(
        trap, [this](int role, int position) { lists()[std::size_t(role)]->setCurrentIndex(position); });
    trap.step([] { ui::DoEvents(); });
    return mapping;
}

bool frmPermissions::SaveModifiedMapping()
{
    const bool saved = SaveSettingsTable("in SaveModifiedMapping", "tblPermissions",
                                         RoleMappingRows({Combo1->currentIndex(), Combo2->currentIndex(),
                                                          Combo3->currentIndex()}),
                                         "Tarvex failed to save the role mapping. The details are in the error log.");
    ui::DoEvents();
    return saved;
}

void frmPermissions::MappingEdited()
{
    cmdApply->setEnabled(true);
    cmdOk->setEnabled(false);
}

// A run reads the mapping as it goes: it is not changed under it.
void frmPermissions::CmdApply_Click()
{
    if (RunGuard::active()) return;
    ErrorTrap trap("in frmPermissions - CmdApply_Click");
    trap.step([this] {
        cmdApply->setEnabled(false);
        cmdOk->setEnabled(true);
    });
    // A mapping that was not saved stays an unsaved edit.
    if (!trap.value([this] { return SaveModifiedMapping(); })) MappingEdited();
    trap.step([] { ui::DoEvents(); });
}

void frmPermissions::CmdOk_Click()
{
    ui::DoEvents();
    accept();
    ui::DoEvents();
}

RoleMapping StoredRoleMapping::AddDefaultSettings()
{
    ErrorTrap trap("in AddDefaultSettings");
    return ReadRoleMappingPositions(trap, [](int, int) {});
}
