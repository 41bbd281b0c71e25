#pragma once
// The domains of the network: network.ini lists them, and a section per
// domain names the domains it trusts:
//
//   [network]
//   domains = TARVEXNET, BERLIN
//
//   [domain TARVEXNET]
//   trusts = BERLIN
//
// A domain's controller is a reachable host of the domain with the role
// domain_controller, else backup_controller (servers.h). A host's LAN group
// is the domain its host.ini names.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct DomainInfo {
    std::string name;
    std::vector<std::string> trusts;
};

// The domains network.ini lists, in its order.
std::vector<DomainInfo> Domains();
// Listed in network.ini, or the domain of some host.
bool IsKnownDomain(std::string_view domain);
// Adds the domain to network.ini when missing and sets what it trusts.
// Throws ComError(E_INVALIDARG) for a name the file cannot hold.
void SaveDomain(const DomainInfo& domain);

// The name of the domain's controller, as the host stores it; nullopt when the
// domain has none that can be reached.
std::optional<std::string> FindDomainController(std::string_view domain);
// The domains that the domain's controller trusts.
std::vector<std::string> TrustedDomains(std::string_view domain);

// The LAN group of the local host and of a reachable host ("NAME" or
// "\\NAME"; errors as ReachableHost).
std::string LanGroupOfLocalHost();
std::string LanGroupOf(std::string_view serverName);

} // namespace net
