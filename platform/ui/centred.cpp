#include "platform/ui/centred.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

namespace ui {

namespace {

// The program's main window: its shown top-level main window, if any.
const QWidget* MainWindowShown()
{
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<const QMainWindow*>(window) && window->isVisible()) return window;
    return nullptr;
}

} // namespace

void CentreOverMainWindow(QWidget& form)
{
    const QWidget* owner = MainWindowShown();
    const QRect area = owner ? owner->frameGeometry() : form.screen()->availableGeometry();
    QRect frame = form.frameGeometry();
    frame.moveCenter(area.center());
    form.move(frame.topLeft());
}

} // namespace ui
