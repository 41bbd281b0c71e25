#pragma once
// A user at the private X server: waits for windows by their titles, looks at
// the screen, and types, presses keys and clicks through xdotool. Every wait
// is bounded; one that runs out saves a screenshot and throws, naming what it
// waited for.

#include "e2e/window_ping.h"
#include "e2e/x_server.h"

#include <QIcon>
#include <QImage>
#include <QPoint>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr auto kStepWait = std::chrono::seconds(30);

class Desktop {
public:
    // Screenshots go into `artifacts`.
    Desktop(const XServer& server, std::filesystem::path artifacts);

    // The shown window whose whole title is `title`, once there is one.
    WindowId waitForWindow(const std::string& title);
    // Waits until the window, shown with the title, is gone.
    void waitUntilGone(WindowId window, const std::string& title);
    // Waits until no shown window has the title (at once when none has).
    void waitUntilNoWindow(const std::string& title);
    // Waits until `condition` holds, checking it every few milliseconds.
    void waitUntil(const std::function<bool()>& condition, const std::string& what);
    // Waits until the program owning the window has handled every key and
    // click sent so far (or is yielding inside what they started).
    void waitUntilIdle(WindowId window);

    void focus(WindowId window);
    void type(const std::string& text);
    // Keys as xdotool names them, e.g. "Return", "alt+t", "ctrl+r".
    void key(const std::string& keys);
    // Where an icon that shows more than once is clicked: the highest place
    // (the leftmost of them), the lowest (the leftmost of them), or the
    // highest of the rightmost (a list's first row, right of its tree).
    enum Place { TopLeft, Lowest, RightmostTop };
    // Clicks the icon once it shows, at whichever size the toolkit draws
    // it (a tool bar with little room shrinks its buttons' icons).
    void clickIcon(const QIcon& icon, const std::string& what, Place place = TopLeft);

    // Saves the screen as artifacts/<name>.png and returns that path.
    std::filesystem::path saveScreenshot(const std::string& name) const;

private:
    QImage screen() const { return server_.screen(); }
    bool isShown(WindowId window) const;
    void click(QPoint at);
    [[noreturn]] void timedOut(const std::string& what) const;
    std::vector<WindowId> shownWindows(const std::string& title) const;
    std::string xdotool(const std::vector<std::string>& arguments) const;

    const XServer& server_;
    std::filesystem::path artifacts_;
    WindowPing ping_;
};

} // namespace e2e
