#pragma once
// One turn of the message loop: long operations give the user interface a
// chance to repaint and to take a click on Cancel at fixed points.

#include <functional>

namespace ui {

// Processes the pending events once and returns.
void DoEvents();

// While alive, every turn first calls the callback with the turn's number
// (1 for the first turn since the hook was set), so that a test can act at
// the k-th turn, for instance press Cancel.
class DoEventsHook {
public:
    explicit DoEventsHook(std::function<void(int turn)> callback);
    ~DoEventsHook();
    DoEventsHook(const DoEventsHook&) = delete;
    DoEventsHook& operator=(const DoEventsHook&) = delete;

    int turns() const { return turns_; }
    void runTurn();

private:
    std::function<void(int)> callback_;
    int turns_ = 0;
    DoEventsHook* previous_;
};

} // namespace ui
