#include "platform/ui/do_events.h"

#include <QCoreApplication>

namespace ui {

namespace {

DoEventsHook* activeHook = nullptr;

} // namespace

void DoEvents()
{
    if (activeHook) activeHook->runTurn();
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

DoEventsHook::DoEventsHook(std::function<void(int)> callback) : callback_(std::move(callback)), previous_(activeHook)
{
    activeHook = this;
}

DoEventsHook::~DoEventsHook() { activeHook = previous_; }

void DoEventsHook::runTurn()
{
    ++turns_;
    if (callback_) callback_(turns_);
}

} // namespace ui
