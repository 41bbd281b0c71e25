#pragma once
// The dialog frmEditProperty ("Edit Property"): changes the metadata value of
// one filter row; the row keeps its name, position, data type and check box.

#include "platform/ui/list_view.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmEditProperty : public QDialog {
    Q_OBJECT
public:
    // row: the filter row to edit, in the list of the dialog owner.
    frmEditProperty(ui::ListItem row, QWidget* owner);

    QLabel* Label1;
    QLineEdit* txtProperty;
    QLabel* Label2;
    QLineEdit* txtMetadata;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

private:
    void Form_Load();
    void CmdOk_Click();

    ui::ListItem row_;
};
