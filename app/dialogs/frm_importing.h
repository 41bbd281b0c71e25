#pragma once
// The progress dialog frmImporting ("Importing..."), shown modeless and
// centred over the main window while the engine copies content or profiles:
// what is being copied, the bar with its percentage, the time the copy
// started and a playing animation. Its Cancel (also the title bar's close)
// only sets gCancelImport, which the running operation polls, and unloads the
// dialog. While it is loaded the mouse pointer is the hourglass, except over
// Cancel.
//
// Reach it through its shared instance (ui::FormInstance<frmImporting>): the
// load runs once the instance is reachable, since it starts the bar through
// the engine, which refers to the dialog again.

#include "app/core/forms.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace ui {
class Animation;
class ProgressBar;
} // namespace ui

class frmImporting : public QWidget {
    Q_OBJECT
public:
    frmImporting();

    void formLoaded();
    void formUnloading();

    ui::Animation* anmavi;
    QLabel* lblSource;
    QLabel* lblDest;
    QLabel* lblStatus;
    ui::ProgressBar* ProgressBar1;
    QPushButton* cmdCancel;
    QLabel* lblPercentage;
    QLabel* lblTime;
    QLabel* lblDateTime;

    // Cancel: also what stops a run when the program is closed during it.
    void CmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
};

// What the engine reaches of frmImporting: every member goes to the loaded
// dialog through its shared instance, loading a hidden one when none is loaded.
class ImportingDialogView final : public ImportingForm {
public:
    void show() override;
    void unload() override;
    void setCaption(const std::string& text) override;
    void setLblStatus(const std::string& text) override;
    void setLblSource(const std::string& text) override;
    void setLblDest(const std::string& text) override;
    void setLblPercentage(const std::string& text) override;
    float progressBar1Value() override;
    void setProgressBar1Value(float value) override;
    float progressBar1Max() override;
};
