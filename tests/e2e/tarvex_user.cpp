#include "e2e/tarvex_user.h"

#include "app/mainwindow/frame_images.h"
#include "e2e/installation.h"
#include "support/qt_application.h"

#include <optional>
#include <thread>

namespace e2e {

namespace {

constexpr char kMainWindow[] = "Tarvex v2.0.2 for SharePoint";
constexpr char kConnectDialog[] = "Connect to SharePoint...";
constexpr char kMapRoles[] = "Map Roles";
constexpr char kOptions[] = "Workspace & Content Replication";
constexpr char kDiscovery[] = "Please wait...";
constexpr char kMessageBox[] = "Tarvex";

// A tree or list starts a new search by typed text once no key came for a
// while (the toolkit's keyboard input interval, 400 ms).
constexpr auto kTypeAheadPause = std::chrono::milliseconds(600);
// A button's access key shows the button pressed for a moment (100 ms)
// before it clicks it.
constexpr auto kAccessKeyClick = std::chrono::milliseconds(300);

// One of the images the main window draws for its buttons and nodes.
QIcon Picture(const char* key)
{
    testing_support::EnsureQtApplication();
    return QIcon(FrameImage(key));
}

} // namespace

TarvexUser::TarvexUser(Desktop& desktop, const Installation& installation, const XServer& server)
    : desktop_(desktop), program_(installation.start(server))
{
    mainWindow_ = desktop_.waitForWindow(kMainWindow);
    waitUntilIdle();
}

void TarvexUser::waitUntilIdle() { desktop_.waitUntilIdle(mainWindow_); }

void TarvexUser::connect(const std::string& server)
{
    const WindowId dialog = desktop_.waitForWindow(kConnectDialog);
    desktop_.focus(dialog);
    desktop_.type(server);
    desktop_.key("Return");
    desktop_.waitUntilGone(dialog, kConnectDialog);
    waitUntilIdle();
}

void TarvexUser::connectSource(const std::string& server)
{
    desktop_.focus(mainWindow_);
    desktop_.key("alt+t Return");
    connect(server);
}

void TarvexUser::connectDestination(const std::string& server)
{
    // The source tool bar has a Connect button of the same image above it.
    desktop_.clickIcon(Picture("connect1"), "the destination's Connect button", Desktop::Lowest);
    connect(server);
}

void TarvexUser::listServers()
{
    desktop_.clickIcon(Picture("listservers"), "the List Servers button");
    answerYes();
    // The search shows its wait window while it yields between domains.
    waitUntilIdle();
    desktop_.waitUntilNoWindow(kDiscovery);
    waitUntilIdle();
}

// Of the two panes' images, the source tree's first workspace is the highest
// and leftmost; the destination tree's nodes are the lowest and leftmost of
// their kind, left of the same images in the destination list.
void TarvexUser::openSourceNodes(const std::vector<std::string>& names)
{
    openNodes("workspace", "a workspace in the source tree", Desktop::TopLeft, names);
}

void TarvexUser::openDestinationNodes(const std::vector<std::string>& names)
{
    openNodes("workspace", "a workspace in the destination tree", Desktop::Lowest, names);
}

void TarvexUser::openDiscoveredNodes(const std::vector<std::string>& names)
{
    openNodes("listservers", "a domain in the destination tree", Desktop::Lowest, names);
}

// A click on a node's image puts the keyboard into its tree.
void TarvexUser::openNodes(const char* firstImage, const std::string& where, Desktop::Place place,
                           const std::vector<std::string>& names)
{
    desktop_.clickIcon(Picture(firstImage), where, place);
    for (const std::string& name : names) {
        waitUntilIdle();
        std::this_thread::sleep_for(kTypeAheadPause);
        desktop_.type(name);
        desktop_.key("Right");
    }
    waitUntilIdle();
}

void TarvexUser::clickFirstSourceRow(const char* image, const std::string& what)
{
    desktop_.clickIcon(Picture(image), what, Desktop::RightmostTop);
    waitUntilIdle();
}

void TarvexUser::mapReadersToAuthors()
{
    desktop_.focus(mainWindow_);
    desktop_.key("ctrl+m");
    const WindowId dialog = desktop_.waitForWindow(kMapRoles);
    desktop_.focus(dialog);
    // The Readers list has the focus: open it, choose the entry below
    // Readers, then Apply and OK.
    desktop_.key("alt+Down");
    desktop_.waitUntilIdle(dialog);
    desktop_.key("Down Return");
    desktop_.waitUntilIdle(dialog);
    desktop_.key("alt+a");
    std::this_thread::sleep_for(kAccessKeyClick);
    desktop_.waitUntilIdle(dialog);
    desktop_.key("alt+o");
    desktop_.waitUntilGone(dialog, kMapRoles);
    waitUntilIdle();
}

void TarvexUser::add()
{
    desktop_.focus(mainWindow_);
    desktop_.key("alt+f a");
    waitUntilIdle();
}

WindowId TarvexUser::replicate()
{
    desktop_.focus(mainWindow_);
    desktop_.key("ctrl+r");
    const WindowId options = desktop_.waitForWindow(kOptions);
    desktop_.focus(options);
    return options;
}

void TarvexUser::tickAssignBoxes(WindowId options)
{
    desktop_.key("Tab space Tab space Tab Tab space Tab space");
    desktop_.waitUntilIdle(options);
}

void TarvexUser::proceed(WindowId options)
{
    desktop_.key("alt+p");
    desktop_.waitUntilGone(options, kOptions);
}

void TarvexUser::answerYes() { answer("alt+y"); }

void TarvexUser::answerOk() { answer("Return"); }

void TarvexUser::answer(const std::string& keys)
{
    const WindowId box = desktop_.waitForWindow(kMessageBox);
    desktop_.focus(box);
    desktop_.key(keys);
    desktop_.waitUntilGone(box, kMessageBox);
}

WindowId TarvexUser::waitForProgress(const std::string& caption) { return desktop_.waitForWindow(caption); }

void TarvexUser::cancel(WindowId progress)
{
    desktop_.focus(progress);
    desktop_.key("space");
}

void TarvexUser::pressKeys(const std::string& keys)
{
    desktop_.key(keys);
    waitUntilIdle();
}

void TarvexUser::pressEscape()
{
    desktop_.focus(mainWindow_);
    desktop_.key("Escape");
}

int TarvexUser::waitForEnd()
{
    std::optional<int> code;
    desktop_.waitUntil([&] { return (code = program_->waitForExit(std::chrono::milliseconds(0))).has_value(); },
                       "the program to end");
    return *code;
}

int TarvexUser::exit()
{
    pressEscape();
    answerYes();
    return waitForEnd();
}

} // namespace e2e
