#pragma once
// The role-mapping dialog frmPermissions ("Map Roles"): for each source role
// the destination role its members get when folders are copied with their
// security, kept in the settings table tblPermissions. Apply saves; OK, Cancel,
// Esc and the title bar close it without saving.

#include "app/core/forms.h"

#include <QComboBox>
#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;

// A drop-down list that also reports the opening of its list.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void DropDown();
};

class frmPermissions : public QDialog {
    Q_OBJECT
public:
    explicit frmPermissions(QWidget* owner = nullptr);

    // Fills the three lists with the role names (once), selects in each the
    // stored destination role and returns the stored mapping.
    RoleMapping AddDefaultSettings();
    // Stores the lists' selections; false when the table could not be
    // rewritten (the user has been told).
    bool SaveModifiedMapping();

    QLabel* Label7;
    QLabel* Label6;
    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    DropDownList* Combo1;
    DropDownList* Combo2;
    DropDownList* Combo3;
    QPushButton* cmdApply;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

private:
    std::array<DropDownList*, 3> lists() const { return {Combo1, Combo2, Combo3}; }
    void Form_Load();
    void MappingEdited();
    void CmdApply_Click();
    void CmdOk_Click();
};

// The role mapping as frmPermissions.AddDefaultSettings returns it, for the
// engine: read from the settings database without loading the dialog.
class StoredRoleMapping final : public RoleMappingForm {
public:
    RoleMapping AddDefaultSettings() override;
};
