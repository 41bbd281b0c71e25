#pragma once
// Asks a program's window whether the program has caught up with its input:
// the window manager's ping, which the toolkit answers from its event loop.

#include <chrono>
#include <memory>
#include <string>

namespace e2e {

using WindowId = unsigned long;

class WindowPing {
public:
    explicit WindowPing(const std::string& display);
    ~WindowPing();
    WindowPing(const WindowPing&) = delete;
    WindowPing& operator=(const WindowPing&) = delete;

    // Sends one ping to the window and waits for its answer; false when none
    // came within the wait.
    bool answered(WindowId window, std::chrono::milliseconds wait);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace e2e
