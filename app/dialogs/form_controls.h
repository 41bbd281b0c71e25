#pragma once
// Creating and laying out a form's controls. Each control is a child of its
// container and carries the control's name as its objectName, so tests and
// the forms find it by name.

#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>

class QGridLayout;
class QHBoxLayout;
class QPushButton;

// new Control(args..., parent), named name.
template <class Control, class... Args>
Control* MakeControl(QWidget* parent, const char* name, Args&&... args)
{
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// Rows of two columns, each a label and its field; the layout of container
// when one is given.
QGridLayout* FieldGrid(std::initializer_list<std::pair<QWidget*, QWidget*>> rows, QWidget* container = nullptr);
// The buttons side by side at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
