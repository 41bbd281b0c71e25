#include "platform/net/sessions.h"

#include "platform/net/accounts.h"
#include "platform/net/case_fold.h"
#include "platform/net/data_files.h"
#include "platform/net/domains.h"
#include "platform/net/net_errors.h"
#include "platform/net/shares.h"

namespace net {

namespace {

const char kSessionsFile[] = "sessions.ini";
const char kGuest[] = "Guest";

ScriptedSessionPrompts* activeScript = nullptr;

fs::path localHostFolder()
{
    const std::optional<HostInfo> local = FindHost(LocalHostName());
    if (!local) FailWithCode(ERROR_BAD_NETPATH, "the network has no local host");
    return local->folder;
}

std::string hostOf(std::string_view remote)
{
    const std::vector<std::string> segments = SplitPath(remote);
    return segments.empty() ? std::string() : segments.front();
}

// "\\HOST\SHARE" as the connections are kept; nullopt for any other text.
std::optional<std::string> resourceName(std::string_view remote)
{
    const std::vector<std::string> segments = SplitPath(remote);
    if (remote.substr(0, 2) != "\\\\" || segments.size() != 2) return std::nullopt;
    return "\\\\" + segments[0] + "\\" + segments[1];
}

bool hasUser(const HostInfo& host, std::string_view user)
{
    const std::optional<Account> account = FindAccount(host, user);
    return account && account->kind == AccountKind::User;
}

// Whether the host lets user in: an account of its own or of its domain, or
// its Guest account. "DOMAIN\name" counts as name.
bool acceptsUser(const HostInfo& host, std::string_view user)
{
    if (const std::size_t separator = user.rfind('\\'); separator != std::string_view::npos)
        user.remove_prefix(separator + 1);
    std::vector<HostInfo> accountHosts{host};
    if (const std::optional<std::string> controller = FindDomainController(host.domain))
        if (std::optional<HostInfo> found = FindHost(*controller)) accountHosts.push_back(std::move(*found));
    for (const HostInfo& accountHost : accountHosts)
        if (hasUser(accountHost, user) || hasUser(accountHost, kGuest)) return true;
    return false;
}

bool conflicts(const std::vector<Connection>& connections, std::string_view remote, std::string_view user)
{
    for (const Connection& connection : connections)
        if (EqualsIgnoringCase(hostOf(connection.remote), hostOf(remote)) && !EqualsIgnoringCase(connection.user, user))
            return true;
    return false;
}

std::optional<std::string> askUserName(const std::string& remote)
{
    return activeScript ? activeScript->askUserName(remote) : std::nullopt;
}

} // namespace

std::vector<Connection> Connections()
{
    const IniDocument ini = ReadIniFile(localHostFolder(), kSessionsFile);
    std::vector<Connection> connections;
    for (const std::string& remote : ini.sectionNames()) connections.push_back({remote, ini.valueOr(remote, "user", "")});
    return connections;
}

long AddConnection(std::string_view remoteName, std::string_view user, bool interactive)
{
    const std::optional<std::string> remote = resourceName(remoteName);
    if (!remote) return ERROR_BAD_NET_NAME;
    const std::vector<std::string> segments = SplitPath(*remote);
    const std::optional<HostInfo> host = IsSafeName(segments[0]) ? FindHost(segments[0]) : std::nullopt;
    if (!host || !host->reachable) return ERROR_BAD_NETPATH;
    if (!FindShare(*host, segments[1])) return ERROR_BAD_NET_NAME;

    const std::vector<Connection> connections = Connections();
    std::string connectAs(user);
    if (conflicts(connections, *remote, connectAs)) return ERROR_SESSION_CREDENTIAL_CONFLICT;
    if (!acceptsUser(*host, connectAs)) {
        if (!interactive) return ERROR_LOGON_FAILURE;
        const std::optional<std::string> answer = askUserName(*remote);
        if (!answer) return ERROR_CANCELLED;
        if (!acceptsUser(*host, *answer)) return ERROR_LOGON_FAILURE;
        connectAs = *answer;
        if (conflicts(connections, *remote, connectAs)) return ERROR_SESSION_CREDENTIAL_CONFLICT;
    }

    const fs::path folder = localHostFolder();
    IniDocument ini = ReadIniFile(folder, kSessionsFile);
    ini.setValue(*remote, "user", connectAs);
    WriteIniFile(folder, kSessionsFile, ini);
    return 0;
}

long CancelConnection(std::string_view remoteName)
{
    const std::optional<std::string> remote = resourceName(remoteName);
    const fs::path folder = localHostFolder();
    IniDocument ini = ReadIniFile(folder, kSessionsFile);
    if (!remote || !ini.value(*remote, "user")) return ERROR_NOT_CONNECTED;
    ini.removeSection(*remote);
    WriteIniFile(folder, kSessionsFile, ini);
    return 0;
}

void ShowDisconnectDialog()
{
    if (activeScript) activeScript->showDisconnectDialog();
}

ScriptedSessionPrompts::ScriptedSessionPrompts() : previous_(activeScript) { activeScript = this; }

ScriptedSessionPrompts::~ScriptedSessionPrompts() { activeScript = previous_; }

std::optional<std::string> ScriptedSessionPrompts::askUserName(const std::string& remote)
{
    prompts_.push_back(remote);
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

} // namespace net
