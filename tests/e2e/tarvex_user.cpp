#include "e2e/tarvex_user.h"

#include "app/mainwindow/frame_images.h"
#include "e2e/installation.h"
#include "support/qt_application.h"

#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

constexpr char kMainWindow[] = "Tarvex v2.0.2 for SharePoint";
constexpr char kConnectDialog[] = "Connect to SharePoint...";
constexpr char kMapRoles[] = "Map Roles";
constexpr char kMessageBox[] = "Tarvex";

// A tree or list starts a new search by typed text once no key came for a
// while (the toolkit's keyboard input interval, 400 ms).
constexpr auto kTypeAheadPause = std::chrono::milliseconds(600);

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
    desktop_.waitUntilGone(dialog, std::string("the window \"") + kConnectDialog + "\"");
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

void TarvexUser::openSourceNodes(const std::vector<std::string>& names) { openNodes(true, names); }

void TarvexUser::openDestinationNodes(const std::vector<std::string>& names) { openNodes(false, names); }

// The workspace image of a pane's first workspace lies left of the same
// image in the pane's list.
void TarvexUser::openNodes(bool source, const std::vector<std::string>& names)
{
    desktop_.clickIcon(Picture("workspace"), source ? "a workspace in the source tree" : "a workspace in the destination tree",
                          source ? Desktop::TopLeft : Desktop::Lowest);
    for (const std::string& name : names) {
        waitUntilIdle();
        std::this_thread::sleep_for(kTypeAheadPause);
        desktop_.type(name);
        desktop_.key("Right");
    }
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
    desktop_.waitUntilIdle(dialog);
    desktop_.key("alt+o");
    desktop_.waitUntilGone(dialog, std::string("the window \"") + kMapRoles + "\"");
    waitUntilIdle();
}

int TarvexUser::exit()
{
    desktop_.focus(mainWindow_);
    desktop_.key("Escape");
    const WindowId question = desktop_.waitForWindow(kMessageBox);
    desktop_.focus(question);
    desktop_.key("alt+y");
    std::optional<int> code;
    desktop_.waitUntil([&] { return (code = program_->waitForExit(std::chrono::milliseconds(0))).has_value(); },
                       "the program to end");
    return *code;
}

} // namespace e2e
