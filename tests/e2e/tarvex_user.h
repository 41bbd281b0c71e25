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

    // Tools > Connect Source Sharepoint, then the server's name and Enter.
    void connectSource(const std::string& server);
    // Connect in the destination tool bar, then the server's name and Enter.
    void connectDestination(const std::string& server);
    // List Servers in the destination tool bar, Yes to its question, and
    // the wait until the search is done.
    void listServers();

    // Opens nodes one below the other by typing their names (or the start
    // of them) and pressing Right: in the source tree from its first
    // workspace, in the destination tree from its first workspace, or from
    // a domain that network discovery found.
    void openSourceNodes(const std::vector<std::string>& names);
    void openDestinationNodes(const std::vector<std::string>& names);
    void openDiscoveredNodes(const std::vector<std::string>& names);

    // Clicks the first row of the source list, which shows the image (the
    // list lies right of the tree, the destination list below it).
    void clickFirstSourceRow(const char* image, const std::string& what);

    // Settings > Map Roles: the Readers list opened and Authors chosen,
    // Apply, OK.
    void mapReadersToAuthors();

    // File > Add.
    void add();
    // Ctrl+R; returns the options dialog it opens.
    WindowId replicate();
    // Ticks the four Assign boxes of the options dialog (a selection of
    // folders: the focus starts on Folders).
    void tickAssignBoxes(WindowId options);
    // Proceed in the options dialog.
    void proceed(WindowId options);

    // Yes, or OK, in the message box that the program shows.
    void answerYes();
    void answerOk();

    // The progress dialog once its caption is `caption`.
    WindowId waitForProgress(const std::string& caption);
    // Cancel in the progress dialog, by the keyboard: the dialog's only
    // button has its focus.
    void cancel(WindowId progress);

    // Keys to whatever has the keyboard in the main window, e.g. "Home".
    void pressKeys(const std::string& keys);
    // Esc in the main window: the question whether to close comes (during a
    // run, once the run gives the window a turn).
    void pressEscape();
    // Waits until the program has ended; returns its exit code.
    int waitForEnd();
    // Esc in the main window and Yes to the question; returns the program's
    // exit code.
    int exit();

private:
    void openNodes(const char* firstImage, const std::string& where, Desktop::Place place,
                   const std::vector<std::string>& names);
    void connect(const std::string& server);
    void answer(const std::string& keys);
    void waitUntilIdle();

    Desktop& desktop_;
    std::unique_ptr<ChildProcess> program_;
    WindowId mainWindow_ = 0;
};

} // namespace e2e
