#pragma once
// What the network tells about its machines: each host's server record (name,
// OS version, type bits, comment), the server list of a domain, the services a
// host runs and the host that owns an IPv4 address.
//
// The type bits come from host.ini's server_type, a list of roles:
//   workstation         a Windows NT or 2000 workstation (the default)
//   server              a Windows NT or 2000 server
//   domain_controller   the domain's primary controller
//   backup_controller   a backup domain controller
//   windows9x           a Windows 95 or 98 machine
// os_version gives the major and minor version ("5.0", "4.0", "5.1").

#include "platform/net/network.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

inline constexpr std::uint32_t SV_TYPE_WORKSTATION = 0x1;
inline constexpr std::uint32_t SV_TYPE_SERVER = 0x2;
inline constexpr std::uint32_t SV_TYPE_DOMAIN_CTRL = 0x8;
inline constexpr std::uint32_t SV_TYPE_DOMAIN_BAKCTRL = 0x10;
inline constexpr std::uint32_t SV_TYPE_NT = 0x1000;
inline constexpr std::uint32_t SV_TYPE_SERVER_NT = 0x8000;
inline constexpr std::uint32_t SV_TYPE_WINDOWS = 0x400000;

// The type bits of one role word; nullopt for a word that names no role.
std::optional<std::uint32_t> ServerRoleBits(std::string_view role);

struct ServerRecord {
    std::string name;
    unsigned major = 0;
    unsigned minor = 0;
    std::uint32_t type = 0;
    std::string comment;
};

ServerRecord ServerRecordOf(const HostInfo& host);
// A primary or backup domain controller.
bool IsDomainController(const HostInfo& host);

// The host a server name names: "NAME" or "\\NAME". Throws ComError with
// NERR_InvalidComputer for a name no computer can have, ERROR_BAD_NETPATH for
// an unknown or unreachable host.
HostInfo ReachableHost(std::string_view serverName);

// The server record of a reachable host (errors as ReachableHost).
ServerRecord ReadServerRecord(std::string_view serverName);

// The hosts of a domain ("" for the local host's) whose type has any bit of
// mask, by name; the list may name hosts that are no longer reachable. Throws
// ComError(ERROR_NO_BROWSER_SERVERS_FOUND) for a domain the network does not
// know.
std::vector<ServerRecord> EnumerateServers(std::string_view domain, std::uint32_t mask);

// Whether the host runs the service. Throws as ReachableHost when the host's
// service manager cannot be reached.
bool IsServiceInstalled(std::string_view serverName, std::string_view service);

// The host that owns a dotted IPv4 address; nullopt when none does or the
// text is no such address.
std::optional<std::string> HostNameForAddress(std::string_view address);
bool IsIpv4Address(std::string_view address);

} // namespace net
