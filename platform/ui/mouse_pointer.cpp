#include "platform/ui/mouse_pointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

namespace {

int currentPointer = vbDefault;

void showOnScreen(int pointer)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (pointer == vbHourglass) {
        if (QGuiApplication::overrideCursor()) QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        return;
    }
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

} // namespace

void SetMousePointer(int pointer)
{
    currentPointer = pointer == vbHourglass ? vbHourglass : vbDefault;
    showOnScreen(currentPointer);
}

int MousePointer() { return currentPointer; }

} // namespace ui
