#include "platform/ui/screen.h"

#include "platform/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui {

namespace {

const ScopedScreenSize* activeSize = nullptr;

} // namespace

ScreenTwips ScreenSize()
{
    if (activeSize) return activeSize->size_;
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen) return {};
    const QSize pixels = screen->geometry().size();
    return {float(pixels.width() * kTwipsPerPixel), float(pixels.height() * kTwipsPerPixel)};
}

ScopedScreenSize::ScopedScreenSize(ScreenTwips size) : previous_(activeSize), size_(size)
{
    activeSize = this;
}

ScopedScreenSize::~ScopedScreenSize() { activeSize = previous_; }

} // namespace ui
