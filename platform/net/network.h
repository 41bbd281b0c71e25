#pragma once
// The simulated network: one folder (the network root) with one subfolder per
// host. Host names and path segments match without regard to case and keep
// their case; nothing resolves outside a host's folder.
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

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

namespace fs = std::filesystem;

// Windows error codes the network layer reports (as ComError numbers through
// com::HResultFromWin32, and as plain codes to the registry layer).
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_PATH_NOT_FOUND = 3;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_BAD_NETPATH = 53;     // no such host, or host unreachable
inline constexpr long ERROR_BAD_NET_NAME = 67;    // no such share on the host
inline constexpr long ERROR_INVALID_NAME = 123;   // an unsafe or malformed name

// $TARVEX_NETWORK, else $XDG_DATA_HOME/tarvex/network, else
// ~/.local/share/tarvex/network. The folder need not exist.
fs::path NetworkRoot();
bool NetworkExists(); // the root holds network.ini

struct HostInfo {
    std::string name;                          // as stored
    fs::path folder;                           // <root>/hosts/<name>
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
std::vector<HostInfo> Hosts();
// Creates the host folder and writes host.ini; an existing host is updated
// (its name keeps the stored case).
// Throws ComError(ERROR_INVALID_NAME) for an unsafe host name and
// ComError(E_INVALIDARG) for a setting the file cannot hold (a line break, a
// comma inside a list item).
HostInfo SaveHost(const HostInfo& host);

// The host's boot count (1 for a host never restarted) and its advance, which
// stands for a restart of the machine.
std::uint64_t BootId(const HostInfo& host);
std::uint64_t AdvanceBootId(const HostInfo& host);

// A single path segment that may be used as a file name: not empty, not "." or
// "..", no '/', '\\' or NUL.
bool IsSafeName(std::string_view name);

// The entry of folder whose name equals name without regard to case (an exact
// match wins); nullopt when there is none. Throws ComError(ERROR_INVALID_NAME)
// for an unsafe name.
std::optional<fs::path> FindEntry(const fs::path& folder, std::string_view name);

// Resolves segments below base, each matched without regard to case. A segment
// that does not exist keeps its own spelling (so the result can name something
// to create). Throws ComError(HResultFromWin32(ERROR_INVALID_NAME)) for an
// unsafe segment and for a path that, through a link, leaves base.
fs::path ResolveInside(const fs::path& base, const std::vector<std::string>& segments);

// "\\HOST\C$\dir\file" -> <root>/hosts/HOST/drives/C/dir/file, and any
// other disk share of the host to the folder its path names (shares.h).
// Throws ComError(HResultFromWin32(ERROR_BAD_NETPATH)) for an unknown or
// unreachable host, ERROR_BAD_NET_NAME for a share the host does not have,
// ERROR_INVALID_NAME for an unsafe path.
fs::path ResolveUnc(std::string_view unc);

// Splits "a\b/c" at either separator, dropping empty segments.
std::vector<std::string> SplitPath(std::string_view path);

} // namespace net
