#pragma once
// The wait form shown while a server's workspaces are looked for, centred over
// the main window: a text the caller sets and an animation. It has no buttons
// and cannot be cancelled, neither by Esc nor by its title bar's close;
// whoever shows it unloads it.

#include <QDialog>

class QFrame;
class QLabel;

namespace ui {
class Animation;
}

class frmFinding : public QDialog {
    Q_OBJECT
public:
    frmFinding();

    QFrame* Frame1;
    QLabel* Label1;
    ui::Animation* AnmSearch;

    // Esc and the title bar's close leave the form up.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
};
