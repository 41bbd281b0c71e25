#pragma once
// The local machine's connections to resources of other hosts ("\\HOST\IPC$",
// "\\HOST\Public"), each made as one user, kept in sessions.ini of the local
// host's folder:
//
//   [\\SPSSOURCE\IPC$]
//   user = UserName
//
// A host accepts a user it has an account for (its own, or its domain's on
// the domain controller), and any user while it has a Guest account. When it
// refuses one, an interactive connection asks for another user name.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct Connection {
    std::string remote;
    std::string user;
};

std::vector<Connection> Connections();

// Connects to "\\HOST\SHARE" as user and returns the Windows code:
// 0 (also when the same connection exists), ERROR_BAD_NETPATH (unknown or
// unreachable host), ERROR_BAD_NET_NAME (no such share),
// ERROR_SESSION_CREDENTIAL_CONFLICT (the local machine is connected to the
// host as another user), ERROR_CANCELLED (the user cancelled the prompt for a
// user name), ERROR_LOGON_FAILURE (the host accepts neither user).
long AddConnection(std::string_view remote, std::string_view user, bool interactive);
// Drops the connection to exactly remote: 0, or ERROR_NOT_CONNECTED.
long CancelConnection(std::string_view remote);

// The system's dialog for disconnecting network drives.
void ShowDisconnectDialog();

// While alive, the prompt for a user name is answered from the queue (a
// missing answer cancels) and the disconnect dialog is counted, not shown.
// Without one, the prompt is cancelled and the dialog shows nothing: there is
// no window for them.
class ScriptedSessionPrompts {
public:
    ScriptedSessionPrompts();
    ~ScriptedSessionPrompts();
    ScriptedSessionPrompts(const ScriptedSessionPrompts&) = delete;
    ScriptedSessionPrompts& operator=(const ScriptedSessionPrompts&) = delete;

    // nullopt stands for Cancel.
    void queueUserName(std::optional<std::string> user) { answers_.push_back(std::move(user)); }
    const std::vector<std::string>& prompts() const { return prompts_; } // the remotes asked for
    int disconnectDialogs() const { return disconnectDialogs_; }

    std::optional<std::string> askUserName(const std::string& remote);
    void showDisconnectDialog() { ++disconnectDialogs_; }

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<std::string> prompts_;
    int disconnectDialogs_ = 0;
    ScriptedSessionPrompts* previous_;
};

} // namespace net
