#pragma once
// The wait form shown while a server's workspaces are looked for: a text the
// caller sets and an animation. It has no buttons and cannot be cancelled;
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

private:
    void Form_Load();
};
