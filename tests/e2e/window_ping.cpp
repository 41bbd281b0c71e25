#include "e2e/window_ping.h"

#include <X11/Xlib.h>

#include <poll.h>
#include <stdexcept>

namespace e2e {

struct WindowPing::Connection {
    Display* display = nullptr;
    Atom protocols = 0;
    Atom ping = 0;
    long lastStamp = 0;
};

WindowPing::WindowPing(const std::string& display) : connection_(std::make_unique<Connection>())
{
    connection_->display = XOpenDisplay(display.c_str());
    if (!connection_->display) throw std::runtime_error("cannot open the display " + display);
    connection_->protocols = XInternAtom(connection_->display, "WM_PROTOCOLS", False);
    connection_->ping = XInternAtom(connection_->display, "_NET_WM_PING", False);
    // The answer goes to the root window, to whoever listens for changes
    // of its structure (the toolkit sends it so).
    XSelectInput(connection_->display, DefaultRootWindow(connection_->display), StructureNotifyMask);
}

WindowPing::~WindowPing() { XCloseDisplay(connection_->display); }

bool WindowPing::answered(WindowId window, std::chrono::milliseconds wait)
{
    Display* display = connection_->display;
    const long stamp = ++connection_->lastStamp;
    XEvent ping{};
    ping.xclient.type = ClientMessage;
    ping.xclient.window = window;
    ping.xclient.message_type = connection_->protocols;
    ping.xclient.format = 32;
    ping.xclient.data.l[0] = long(connection_->ping);
    ping.xclient.data.l[1] = stamp;
    ping.xclient.data.l[2] = long(window);
    XSendEvent(display, window, False, NoEventMask, &ping);
    XFlush(display);

    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == connection_->protocols
                && Atom(event.xclient.data.l[0]) == connection_->ping && event.xclient.data.l[1] == stamp)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd readable{ConnectionNumber(display), POLLIN, 0};
        poll(&readable, 1, int(left.count()));
    }
}

} // namespace e2e
