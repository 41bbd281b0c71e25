#pragma once
// The mouse pointer over a wait form that has a Cancel button: the hourglass
// while the mouse moves over the form or its other controls, the default
// arrow over Cancel, so that the user sees Cancel can still be pressed. It
// acts only while it is on and the form is visible (a form already unloaded,
// waiting to be deleted, leaves the pointer alone).

#include <QObject>

#include <initializer_list>

class QWidget;

class WaitPointer : public QObject {
public:
    // busy: the controls over which the pointer is the hourglass, besides the
    // form itself. The filter belongs to the form.
    WaitPointer(QWidget& form, QWidget& cancel, std::initializer_list<QWidget*> busy, bool on);

    void setOn(bool on) { on_ = on; }
    bool isOn() const { return on_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool overCancel(QObject* watched, QEvent* event) const;

    QWidget& form_;
    QWidget& cancel_;
    bool on_;
};
