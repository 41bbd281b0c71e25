#include "app/dialogs/frm_add_property.h"

#include "app/core/error_trap.h"
#include "app/dialogs/filter_rules.h"
#include "app/dialogs/form_controls.h"
#include "app/dialogs/frm_filter_settings.h"
#include "app/engine/runtime_values.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool RequireText(QLineEdit& box, const std::string& message)
{
    if (!IsBlank(box.text().toStdString())) return true;
    ui::MsgBox(message, ui::vbExclamation);
    box.setFocus();
    return false;
}

frmAddProperty::frmAddProperty(frmFilterSettings& owner) : QDialog(&owner), owner_(owner)
{
    setObjectName(QStringLiteral("frmAddProperty"));
    setWindowTitle(QStringLiteral("Add New Property"));

    Label1 = MakeControl<QLabel>(this, "Label1", QStringLiteral("Property Name"));
    txtProperty = MakeControl<QLineEdit>(this, "txtProperty");
    Label2 = MakeControl<QLabel>(this, "Label2", QStringLiteral("Metadata Value"));
    txtMetadata = MakeControl<QLineEdit>(this, "txtMetadata");
    Label3 = MakeControl<QLabel>(this, "Label3", QStringLiteral("Data Type"));
    CbDataType = MakeControl<QComboBox>(this, "CbDataType");
    cmdOk = MakeControl<QPushButton>(this, "cmdOk", QStringLiteral("&Ok"));
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", QStringLiteral("&Cancel"));
    cmdOk->setDefault(true);

    auto* form = new QVBoxLayout(this);
    form->addLayout(FieldGrid({{Label1, txtProperty}, {Label2, txtMetadata}, {Label3, CbDataType}}));
    form->addLayout(ButtonRow({cmdOk, cmdCancel}));

    connect(cmdOk, &QPushButton::clicked, this, &frmAddProperty::CmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

void frmAddProperty::Form_Load()
{
    txtProperty->clear();
    txtMetadata->clear();
    for (const char* type : kFilterDataTypes) CbDataType->addItem(QString::fromLatin1(type));
    CbDataType->setCurrentIndex(0);
}

void frmAddProperty::CmdOk_Click()
{
    if (!RequireText(*txtProperty, kPropertyNameMissing) || !RequireText(*txtMetadata, kMetadataMissing)) return;
    ErrorTrap trap("in frmAddProperty - cmdOk_Click");
    owner_.PropertyName = Trim(txtProperty->text().toStdString());
    owner_.MetaData = Trim(txtMetadata->text().toStdString());
    owner_.DataType = Trim(CbDataType->currentText().toStdString());
    trap.step([this] {
        ui::ListView::Items& rows = owner_.lstSettings->ListItems();
        const ui::ListItem row = rows.Add(rows.Count() + 1, "", owner_.PropertyName);
        row.setSubItem(1, owner_.MetaData);
        row.setSubItem(2, owner_.DataType);
    });
    accept();
}
