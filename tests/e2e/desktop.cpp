#include "e2e/desktop.h"

#include "e2e/picture_search.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr char kKeyDelay[] = "40";
constexpr int kLargestIcon = 16;
constexpr int kSmallestIcon = 10;

// The title as a pattern of xdotool's search that matches it whole.
std::string WholeTitlePattern(const std::string& title)
{
    std::string pattern = "^";
    for (char c : title) {
        if (std::string_view(".^$*+?()[]{}|\\").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

std::vector<WindowId> WindowIds(const std::string& listing)
{
    std::vector<WindowId> ids;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) ids.push_back(std::stoul(line));
    return ids;
}

std::string FileNameFor(const std::string& what)
{
    std::string name;
    for (char c : what) name += std::isalnum(static_cast<unsigned char>(c)) ? char(std::tolower(c)) : '-';
    return name.substr(0, 60);
}

// The places come row by row from the top, each row from the left.
QPoint Chosen(const std::vector<QPoint>& places, Desktop::Place place)
{
    switch (place) {
    case Desktop::TopLeft: return places.front();
    case Desktop::Lowest:
        return *std::find_if(places.begin(), places.end(), [&](QPoint at) { return at.y() == places.back().y(); });
    case Desktop::RightmostTop:
        break;
    }
    const int rightmost = std::max_element(places.begin(), places.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); })->x();
    return *std::find_if(places.begin(), places.end(), [&](QPoint at) { return at.x() == rightmost; });
}

} // namespace

Desktop::Desktop(const XServer& server, std::filesystem::path artifacts)
    : server_(server), artifacts_(std::move(artifacts)), ping_(server.display())
{
    std::filesystem::create_directories(artifacts_);
}

std::string Desktop::xdotool(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunChecked(command, server_.environment());
}

std::vector<WindowId> Desktop::shownWindows(const std::string& title) const
{
    const CommandResult search =
        RunCommand({"xdotool", "search", "--onlyvisible", "--name", WholeTitlePattern(title)}, server_.environment());
    return search.exitCode == 0 ? WindowIds(search.output) : std::vector<WindowId>{};
}

WindowId Desktop::waitForWindow(const std::string& title)
{
    std::vector<WindowId> shown;
    waitUntil([&] { return !(shown = shownWindows(title)).empty(); }, "the window \"" + title + "\"");
    return shown.front();
}

void Desktop::waitUntilNoWindow(const std::string& title)
{
    waitUntil([&] { return shownWindows(title).empty(); }, "the window \"" + title + "\" to close");
}

bool Desktop::isShown(WindowId window) const
{
    const CommandResult search = RunCommand({"xdotool", "search", "--onlyvisible", "--name", ""}, server_.environment());
    const std::vector<WindowId> ids = WindowIds(search.output);
    return std::find(ids.begin(), ids.end(), window) != ids.end();
}

void Desktop::waitUntilGone(WindowId window, const std::string& title)
{
    waitUntil([&] { return !isShown(window); }, "the window \"" + title + "\" to close");
}

void Desktop::waitUntil(const std::function<bool()>& condition, const std::string& what)
{
    const auto deadline = std::chrono::steady_clock::now() + kStepWait;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) timedOut(what);
        std::this_thread::sleep_for(kPollInterval);
    }
}

// The toolkit answers a ping while it reads the window system's events, and
// delivers the keys and clicks it read with it only afterwards: the second
// answer comes once those have been handled.
void Desktop::waitUntilIdle(WindowId window)
{
    for (int round = 0; round < 2; ++round)
        if (!ping_.answered(window, kStepWait)) timedOut("the program to catch up with its input");
}

void Desktop::focus(WindowId window) { xdotool({"windowfocus", "--sync", std::to_string(window)}); }

void Desktop::type(const std::string& text) { xdotool({"type", "--delay", kKeyDelay, text}); }

void Desktop::key(const std::string& keys)
{
    std::vector<std::string> arguments{"key", "--delay", kKeyDelay};
    std::istringstream names(keys);
    for (std::string name; names >> name;) arguments.push_back(name);
    xdotool(arguments);
}

void Desktop::click(QPoint at)
{
    xdotool({"mousemove", "--sync", std::to_string(at.x()), std::to_string(at.y())});
    xdotool({"click", "1"});
}

void Desktop::clickIcon(const QIcon& icon, const std::string& what, Place place)
{
    std::vector<QPoint> places;
    waitUntil(
        [&] {
            const QImage shown = screen();
            for (int size = kLargestIcon; size >= kSmallestIcon && places.empty(); --size)
                places = FindPicture(shown, icon.pixmap(QSize(size, size)).toImage());
            return !places.empty();
        },
        what + " to show");
    click(Chosen(places, place));
}

std::filesystem::path Desktop::saveScreenshot(const std::string& name) const
{
    const std::filesystem::path file = artifacts_ / (name + ".png");
    if (!screen().save(QString::fromStdString(file.string()), "PNG"))
        throw std::runtime_error("cannot save the screenshot " + file.string());
    return file;
}

void Desktop::timedOut(const std::string& what) const
{
    std::string shot;
    try {
        shot = saveScreenshot("timeout-" + FileNameFor(what)).string();
    } catch (const std::exception& failure) {
        shot = std::string("(no screenshot: ") + failure.what() + ")";
    }
    throw std::runtime_error("Waited " + std::to_string(kStepWait.count()) + " s for " + what +
                             " in vain; the screen then: " + shot);
}

} // namespace e2e
