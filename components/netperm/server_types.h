#pragma once
// How servers are classed by their server record: which records a ServerType
// selects, the label each gets, and the OS type number.

#include "components/netperm/identities.h"
#include "platform/net/servers.h"

#include <cstdint>
#include <optional>
#include <string>

namespace netperm {

// The type bits of a domain controller, backup domain controller or NT server.
inline constexpr std::uint32_t ServerBits =
    net::SV_TYPE_DOMAIN_CTRL | net::SV_TYPE_DOMAIN_BAKCTRL | net::SV_TYPE_SERVER_NT;

// One of the server bits is set.
bool HasServerBit(std::uint32_t type);
// The workstation bit, no server bit, and not Windows 9x.
bool IsWorkstation(std::uint32_t type);

// What one ServerType asks of the domain's server list.
struct ServerSelection {
    std::uint32_t mask;                               // the enumeration's type mask
    bool (*keeps)(const net::ServerRecord& record);
    std::string (*label)(const net::ServerRecord& record);
};

// nullopt for a number that is no ServerType.
std::optional<ServerSelection> SelectionFor(int serverType);

// The label of WINDOWS_ALL: "Windows 9x", "Windows NT 4.0 Server", "Windows NT
// 4.0 Workstation", "Windows 2000 Server", "Windows 2000 Professional" or "".
std::string ServerLabel(const net::ServerRecord& record);

// 0 Windows 9x, 1 and 2 NT 4.0 workstation and server, 3 and 4 Windows 2000,
// 5 and 6 version 5.1; -1 for any other machine.
int OsTypeOf(const net::ServerRecord& record);

} // namespace netperm
