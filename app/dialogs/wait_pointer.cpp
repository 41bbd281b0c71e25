#include "app/dialogs/wait_pointer.h"

#include "platform/ui/mouse_pointer.h"

#include <QMouseEvent>
#include <QWidget>

WaitPointer::WaitPointer(QWidget& form, QWidget& cancel, std::initializer_list<QWidget*> busy, bool on)
    : QObject(&form), form_(form), cancel_(cancel), on_(on)
{
    for (QWidget* watched : {&form, &cancel}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
    for (QWidget* watched : busy) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

// A move over Cancel that Cancel does not take reaches the form as well, so
// the pointer's own position decides.
bool WaitPointer::overCancel(QObject* watched, QEvent* event) const
{
    if (watched == &cancel_) return true;
    if (event->type() != QEvent::MouseMove) return false;
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    return cancel_.rect().contains(cancel_.mapFromGlobal(global));
}

bool WaitPointer::eventFilter(QObject* watched, QEvent* event)
{
    const bool pointerArrived = event->type() == QEvent::Enter || event->type() == QEvent::MouseMove;
    if (on_ && pointerArrived && form_.isVisible())
        ui::SetMousePointer(overCancel(watched, event) ? ui::vbDefault : ui::vbHourglass);
    return QObject::eventFilter(watched, event);
}
