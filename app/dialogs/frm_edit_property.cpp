#include "app/dialogs/frm_edit_property.h"

#include "app/core/error_trap.h"
#include "app/dialogs/filter_rules.h"
#include "app/dialogs/form_controls.h"
#include "app/dialogs/frm_add_property.h"
#include "platform/ui/do_events.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmEditProperty::frmEditProperty(ui::ListItem row, QWidget* owner) : QDialog(owner), row_(row)
{
    setObjectName(QStringLiteral("frmEditProperty"));
    setWindowTitle(QStringLiteral("Edit Property"));

    Label1 = MakeControl<QLabel>(this, "Label1", QStringLiteral("Document's Property Name"));
    txtProperty = MakeControl<QLineEdit>(this, "txtProperty");
    Label2 = MakeControl<QLabel>(this, "Label2", QStringLiteral("Property's Metadata value"));
    txtMetadata = MakeControl<QLineEdit>(this, "txtMetadata");
    cmdOk = MakeControl<QPushButton>(this, "cmdOk", QStringLiteral("&Ok"));
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", QStringLiteral("&Cancel"));
    cmdOk->setDefault(true);

    auto* form = new QVBoxLayout(this);
    form->addLayout(FieldGrid({{Label1, txtProperty}, {Label2, txtMetadata}}));
    form->addLayout(ButtonRow({cmdOk, cmdCancel}));

    connect(cmdOk, &QPushButton::clicked, this, &frmEditProperty::CmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

void frmEditProperty::Form_Load()
{
    ErrorTrap trap("in frmEditProperty - From_Load");
    trap.step([this] {
        if (row_.Text().empty()) return;
        txtProperty->setText(QString::fromStdString(row_.Text()));
        txtMetadata->setText(QString::fromStdString(row_.SubItem(1)));
        txtMetadata->selectAll();
    });
}

// The metadata goes into the row as typed, blanks around it included; a
// changed name is not written to the row.
void frmEditProperty::CmdOk_Click()
{
    if (!RequireText(*txtMetadata, kMetadataMissing) || !RequireText(*txtProperty, kPropertyNameMissing)) return;
    ErrorTrap trap("in frmEditProperty - cmdOk_Click");
    trap.step([this] { row_.setSubItem(1, txtMetadata->text().toStdString()); });
    accept();
    ui::DoEvents();
}
