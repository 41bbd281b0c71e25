#include "app/dialogs/frm_filter_settings.h"

#include "app/core/error_trap.h"
#include "app/core/run_guard.h"
#include "app/core/settings_database.h"
#include "app/dialogs/filter_rules.h"
#include "app/dialogs/form_controls.h"
#include "app/dialogs/frm_add_property.h"
#include "app/dialogs/frm_edit_property.h"
#include "app/dialogs/settings_save.h"
#include "app/engine/record_walk.h"
#include "platform/ui/do_events.h"
#include "platform/ui/list_view.h"
#include "platform/ui/modal_dialog.h"
#include "platform/ui/placement.h"
#include "platform/ui/twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr float kButtonLeft = 4850;
constexpr float kButtonWidth = 1200;
constexpr float kButtonHeight = 375;

void Place(QWidget& control, float left, float top, float width, float height)
{
    ui::Placed(control).setLeft(left).setTop(top).setWidth(width).setHeight(height);
}

// The selected row of the list, or an empty handle.
ui::ListItem SelectedRow(ui::ListView& list)
{
    const ui::ListItem row = list.SelectedItem();
    return row && row.Selected() ? row : ui::ListItem();
}

} // namespace

frmFilterSettings::frmFilterSettings(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmFilterSettings"));
    setWindowTitle(QStringLiteral("Filter Setting"));

    Label1 = MakeControl<QLabel>(this, "Label1");
    Label2 = MakeControl<QLabel>(this, "Label2");
    Label3 = MakeControl<QLabel>(this, "Label3");
    for (QLabel* help : {Label1, Label2, Label3}) {
        help->setWordWrap(true);
        help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    lstSettings = MakeControl<ui::ListView>(this, "lstSettings");
    lstSettings->setCheckboxes(true);
    lstSettings->setHideColumnHeaders(false);
    lstSettings->ColumnHeaders().Add(0, "", "Property Name", 1700);
    lstSettings->ColumnHeaders().Add(0, "", "MetaData", 1600);
    lstSettings->ColumnHeaders().Add(0, "", "DataType", 1200);
    cmdAdd = MakeControl<QPushButton>(this, "cmdAdd", QStringLiteral("&Add"));
    cmdEdit = MakeControl<QPushButton>(this, "cmdEdit", QStringLiteral("&Edit"));
    Command2 = MakeControl<QPushButton>(this, "Command2", QStringLiteral("&Remove"));
    cmdOk = MakeControl<QPushButton>(this, "cmdOk", QStringLiteral("&Ok"));
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", QStringLiteral("&Cancel"));
    for (QPushButton* button : {cmdAdd, cmdEdit, Command2, cmdOk, cmdCancel}) button->setAutoDefault(false);

    Place(*lstSettings, 100, 1200, 4600, 4005);
    Place(*cmdAdd, kButtonLeft, 1200, kButtonWidth, kButtonHeight);
    Place(*cmdEdit, kButtonLeft, 1700, kButtonWidth, kButtonHeight);
    Place(*Command2, kButtonLeft, 2200, kButtonWidth, kButtonHeight);
    Place(*Label3, kButtonLeft, 2700, kButtonWidth, 600);
    Place(*cmdOk, 3500, 6450, kButtonWidth, kButtonHeight);
    Place(*cmdCancel, kButtonLeft, 6450, kButtonWidth, kButtonHeight);

    connect(cmdAdd, &QPushButton::clicked, this, &frmFilterSettings::CmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmFilterSettings::CmdEdit_Click);
    connect(Command2, &QPushButton::clicked, this, &frmFilterSettings::Command2_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmFilterSettings::CmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

void frmFilterSettings::Form_Load()
{
    ErrorTrap trap("in frmFilterSettings - Form_Load");
    trap.step([this] {
        setFixedSize(ui::TwipsToPixels(6200), ui::TwipsToPixels(7000));
        Place(*Label1, 100, 100, 6000, 1000);
        Place(*Label2, 100, 5300, 6000, 1000);
    });
    trap.step([this] {
        Label1->setText(QStringLiteral("Documents can be filtered during replication based on the source document "
                                       "properties and it(s) associated metadata.\r\n\r\n"
                                       "Add property name and metadata value using 'Add' "));
        Label2->setText(QStringLiteral("Only checked(Enabled) item(s) will be taken for filter operation "));
        Label3->setText(QStringLiteral("Edit metadata using 'Edit' "));
    });

    // Each stored row goes on top, so the list shows the table reversed.
    SettingsConnection connection;
    trap.step([&] { connection.open(); });
    if (connection.isOpen()) {
        ado::Recordset rows = trap.value([&] { return connection.select("tblPreimportSettings"); }, EmptyRecordset());
        for (; !AtEnd(trap, rows); MoveNext(trap, rows)) {
            const ui::ListItem row = trap.value([&] { return lstSettings->ListItems().Add(1, "", FieldText(rows, 0)); });
            trap.step([&] { row.setSubItem(1, FieldText(rows, 1)); });
            trap.step([&] { row.setChecked(TruthValue(FieldText(rows, 2))); });
            trap.step([&] { row.setSubItem(2, FieldText(rows, 3)); });
        }
    }
    trap.step([] { ui::DoEvents(); });
    connection.close();
    trap.step([] { ui::DoEvents(); });
}

std::vector<PreimportFilterRow> frmFilterSettings::ShownRows() const
{
    std::vector<PreimportFilterRow> rows;
    const ui::ListView::Items& items = lstSettings->ListItems();
    for (int index = 1; index <= items.Count(); ++index) {
        const ui::ListItem row = items.Item(index);
        rows.push_back({row.Text(), row.SubItem(1), CheckedText(row.Checked()), row.SubItem(2)});
    }
    return rows;
}

bool frmFilterSettings::SavePreImportSettings()
{
    const bool saved = SaveSettingsTable("in SavePreImportSettings", "tblPreimportSettings",
                                         PreimportSettingsRows(ShownRows()),
                                         "Tarvex failed to save the filter settings. The details are in the error log.");
    if (!saved) return false;
    ui::DoEvents();
    accept();
    ui::DoEvents();
    return true;
}

void frmFilterSettings::CmdAdd_Click()
{
    ErrorTrap trap("in frmFilterSettings - CmdAdd_Click");
    trap.step([this] {
        frmAddProperty add(*this);
        ui::ShowModal(add);
    });
}

void frmFilterSettings::CmdEdit_Click()
{
    ErrorTrap trap("in frmFilterSettings - CmdEdit_Click");
    const ui::ListItem row = SelectedRow(*lstSettings);
    if (!row) return;
    trap.step([&] {
        frmEditProperty edit(row, this);
        ui::ShowModal(edit);
    });
}

void frmFilterSettings::Command2_Click()
{
    ErrorTrap trap("in frmFilterSettings - Command2_Click");
    const ui::ListItem row = SelectedRow(*lstSettings);
    if (row) trap.step([&] { lstSettings->ListItems().Remove(row.Index()); });
}

// A run reads the filter rows as it goes: they are not changed under it.
void frmFilterSettings::CmdOk_Click()
{
    if (RunGuard::active()) return;
    ErrorTrap trap("in frmFilterSettings - CmdOk_Click");
    trap.step([this] { SavePreImportSettings(); });
    trap.step([] { ui::DoEvents(); });
}
