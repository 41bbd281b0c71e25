#pragma once
// The filter-settings dialog frmFilterSettings ("Filter Setting"): the filter
// rows of tblPreimportSettings, each a document property, the metadata value
// to compare with and a data type, in force while checked. The list is a
// working copy: OK stores it, Cancel, Esc and the title bar drop it.

#include "app/engine/preimport_filter.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace ui {
class ListView;
}

class frmFilterSettings : public QDialog {
    Q_OBJECT
public:
    explicit frmFilterSettings(QWidget* owner = nullptr);

    // Stores the list, top row first, and closes the dialog; when the table
    // cannot be rewritten the user is told and the dialog stays open.
    bool SavePreImportSettings();
    // The list's rows, top to bottom.
    std::vector<PreimportFilterRow> ShownRows() const;

    ui::ListView* lstSettings;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* Command2;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;

    // The row the add dialog hands over.
    std::string PropertyName;
    std::string MetaData;
    std::string DataType;

private:
    void Form_Load();
    void CmdAdd_Click();
    void CmdEdit_Click();
    void Command2_Click();
    void CmdOk_Click();
};
