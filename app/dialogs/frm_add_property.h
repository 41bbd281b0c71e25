#pragma once
// The dialog frmAddProperty ("Add New Property"): a new filter row for the
// filter-settings dialog that opened it, appended unchecked to its list.

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmFilterSettings;

class frmAddProperty : public QDialog {
    Q_OBJECT
public:
    explicit frmAddProperty(frmFilterSettings& owner);

    QLabel* Label1;
    QLineEdit* txtProperty;
    QLabel* Label2;
    QLineEdit* txtMetadata;
    QLabel* Label3;
    QComboBox* CbDataType;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

private:
    void Form_Load();
    void CmdOk_Click();

    frmFilterSettings& owner_;
};

// Refuses a box that is empty or holds blanks only: shows the message and puts
// the focus into the box. True when the box holds text.
bool RequireText(QLineEdit& box, const std::string& message);
