#pragma once
// The simulated network: one folder (the network root) with one subfolder per
// host. Host names and path segments match without regard to case and keep
// their case. Every file below the root is reached through net::Folder
// (folder.h): name by name, never through a link, never outside the root.
//
//   <root>/network.ini             the local host's name; the domains
//   <root>/hosts/<HOST>/host.ini   domain, OS version, server type, services,
//                                  reachable, administrators
//   <root>/hosts/<HOST>/store/     the host's document store
//   <root>/hosts/<HOST>/registry/  the host's registry hives
//   <root>/hosts/<HOST>/drives/C/  what the administrative share C$ shows
//   <root>/hosts/<HOST>/shares.ini, accounts.ini, acl.txt, sessions.ini
//                                  shares, accounts, permissions, connections
//                                  (shares.h, accounts.h, security.h, sessions.h)

#include "platform/com/hresult.h"
#include "platform/net/net_errors.h"
#include "platform/net/folder.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

namespace fs = std::filesystem;

// $TARVEX_NETWORK, else $XDG_DATA_HOME/tarvex/network, else
// ~/.local/share/tarvex/network. The folder need not exist.
fs::path NetworkRoot();
bool NetworkExists(); // the root holds network.ini
// The network root, opened; nullopt when it does not exist.
std::optional<Folder> OpenNetworkRoot();

struct HostInfo {
    std::string name;                          // as stored
    fs::path folder;                           // <root>/hosts/<name>, to name it in messages
    std::string domain;                        // empty: in no domain
    std::string osVersion = "5.0";             // "major.minor"
    std::string servicePack;
    std::string serverType;                    // free text, e.g. "server" or "workstation"
    std::string comment;                       // the machine's description
    std::vector<std::string> services;         // "MSDMSERV" marks a document-store server
    std::vector<std::string> addresses;        // IPv4 addresses, dotted
    bool reachable = true;
    std::vector<std::string> administrators;   // accounts, "DOMAIN\user" or "user"
    // Who may read this host's registry from another machine: its
    // administrators only (false), or every user (true). Writing to it from
    // another machine always needs an administrator.
    bool remoteRegistryForEveryone = false;

    bool runsService(std::string_view service) const;        // without regard to case
    bool isAdministrator(std::string_view account) const;    // the whole account, without regard to case
};

// host.ini, section [host]:
//   domain = TARVEXNET
//   os_version = 5.0
//   service_pack = Service Pack 2
//   server_type = server
//   comment = Document server
//   services = MSDMSERV, W3SVC
//   addresses = 10.0.0.5, 192.168.1.5
//   reachable = yes
//   administrators = TARVEXNET\alice, bob
//   remote_registry = administrators        (or: everyone)
//   boot_id = 1                             (advanced at each restart)
// Keys the program does not know are kept when the file is rewritten.

struct NetworkInfo {
    std::string localHost;
    std::vector<std::string> domains;
};

// network.ini, section [network]:
//   local_host = WORKSTATION
//   domains = TARVEXNET, OTHERDOMAIN

// Creates the root folder and network.ini when missing; keeps an existing one.
// The local host that network.ini names gets its folder when it has none.
void InitializeNetwork(const NetworkInfo& info);
NetworkInfo ReadNetwork(); // empty fields when there is no network.ini
void WriteNetwork(const NetworkInfo& info);
std::string LocalHostName(); // ReadNetwork().localHost

// Hosts by name, without regard to case; nullopt when unknown or no root.
std::optional<HostInfo> FindHost(std::string_view name);
// The folder of the host of that name (hosts/<name> below the root); nullopt
// when there is none. CreateHostFolder makes it (and the root) when missing.
std::optional<Folder> OpenHostFolder(std::string_view name);
Folder CreateHostFolder(std::string_view name);
std::vector<HostInfo> Hosts();
// Creates the host folder and writes host.ini; an existing host is updated
// (its name keeps the stored case).
// Throws ComError(ERROR_INVALID_NAME) for an unsafe host name and
// ComError(E_INVALIDARG) for a setting the file cannot hold (a line break, a
// comma inside a list item).
HostInfo SaveHost(const HostInfo& host);
// How often this process has written a host.ini: a reader that keeps what it
// read of hosts sees from it that this process changed one.
std::uint64_t HostFileWritesInThisProcess();

// The host's boot count (1 for a host never restarted) and its advance, which
// stands for a restart of the machine.
std::uint64_t BootId(const HostInfo& host);
std::uint64_t AdvanceBootId(const HostInfo& host);

// What a UNC path names: the folder of its share, opened, and the names below
// it. "\\HOST\C$\dir\file" is the share folder <root>/hosts/HOST/drives/C
// and the names {"dir", "file"}. Throws ComError(HResultFromWin32(
// ERROR_BAD_NETPATH)) for an unknown or unreachable host, ERROR_BAD_NET_NAME
// for a share the host does not have or whose folder is missing (shares.h),
// ERROR_INVALID_NAME for an unsafe path.
struct UncLocation {
    Folder share;
    std::vector<std::string> names;
};
UncLocation ResolveUnc(std::string_view unc);

// A folder given by its path below the network root (such as a HostInfo's
// folder), opened from the root name by name as Folder opens names; nullopt
// when a name is missing. ERROR_INVALID_NAME for a path outside the root.
// CreateNetworkFolder makes what is missing.
std::optional<Folder> OpenNetworkFolder(const fs::path& path);
Folder CreateNetworkFolder(const fs::path& path);

// The file a UNC path names, opened for reading. ERROR_PATH_NOT_FOUND when a
// folder on the way is missing, ERROR_FILE_NOT_FOUND when the file is.
FileHandle OpenUncFile(std::string_view unc);

// Splits "a\b/c" at either separator, dropping empty segments.
std::vector<std::string> SplitPath(std::string_view path);

} // namespace net
