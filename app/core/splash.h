#pragma once
// The splash form, shown during start-up and as the About box: the product
// picture, the title and the version on a light grey form without a caption.
// A click anywhere on it closes it.

#include <QFrame>
#include <QLabel>
#include <QWidget>

// A frame that reports a click of the left button released over it.
class ClickableFrame : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

    // Closes the splash and gives the message loop a turn. The frame's click
    // reaches it through a queued call, so that the form is not destroyed
    // inside its own mouse handler.
    static void Frame1_Click();

    QLabel* Image1;
    ClickableFrame* Frame1;
    QLabel* Label3;
    QLabel* Label1;

private:
    void Form_Load();
};
