#pragma once
// What a user does in Tarvex's windows, step by step, with the keyboard and
// the mouse only. Each step ends when the program has taken it in.

#include "e2e/child_process.h"
#include "e2e/desktop.h"

#include <memory>
#include <string>
#include <vector>

namespace e2e {

class Installation;

class TarvexUser {
public:
    // Starts the program and waits for its main window.
    TarvexUser(Desktop& desktop, const Installation& installation, const XServer& server);

    WindowId mainWindow() const { return mainWindow_; }

    // Tools > Connect Source Sharepoint, then the server's name and Enter.
    void connectSource(const std::string& server);
    // Connect in the destination tool bar, then the server's name and Enter.
    void connectDestination(const std::string& server);

    // Clicks the first workspace of the pane's tree, then opens the named
    // nodes one below the other by typing their names (or the start of
    // them) and pressing Right.
    void openSourceNodes(const std::vector<std::string>& names);
    void openDestinationNodes(const std::vector<std::string>& names);

    // Settings > Map Roles: the Readers list opened and Authors chosen,
    // Apply, OK.
    void mapReadersToAuthors();

    // Esc in the main window and Yes to the question; returns the program's
    // exit code.
    int exit();

private:
    void openNodes(bool source, const std::vector<std::string>& names);
    void connect(const std::string& server);
    void waitUntilIdle();

    Desktop& desktop_;
    std::unique_ptr<ChildProcess> program_;
    WindowId mainWindow_ = 0;
};

} // namespace e2e
