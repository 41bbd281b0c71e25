#pragma once
// Creating a form's controls: each is a child of its container and carries the
// control's name as its objectName, so tests and the forms find it by name.

#include <QString>
#include <QWidget>

#include <utility>

// new Control(args..., parent), named name.
template <class Control, class... Args>
Control* MakeControl(QWidget* parent, const char* name, Args&&... args)
{
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
