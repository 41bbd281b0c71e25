#pragma once
// The wait form frmAutoDetect ("Please wait..."), shown modeless, without
// owner and centred over the main window while network discovery searches the
// domains for document-store servers: a text that discovery sets, an
// animation that discovery opens and places, and Cancel. Cancel (also the
// title bar's close) only sets gCancelAutoDetect; discovery notices it between
// domains and unloads the form when it ends.
//
// Cancel carries a mark that discovery sets once the form is up: while it is
// set, the pointer is the hourglass over the form and the default arrow over
// Cancel.

#include <QWidget>

class QLabel;
class QPushButton;
class WaitPointer;

namespace ui {
class Animation;
}

class frmAutoDetect : public QWidget {
    Q_OBJECT
public:
    frmAutoDetect();

    QLabel* Label1;
    ui::Animation* Animation1;
    QPushButton* cmdCancel;

    bool cancelMarked() const;
    void setCancelMarked(bool marked);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdCancel_Click();

    WaitPointer* pointer_;
};
