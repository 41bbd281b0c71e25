#pragma once
// Network browsing for CSPShares: domains, servers by operating system, the
// servers that run a document store or Exchange, shares, host names and OS
// types. Failures of the network fail with the component's error scheme.
//
// Where the network returns no entries at all, the lists are nullopt: the
// member then leaves its outputs as they were.

#include <optional>
#include <string>
#include <vector>

namespace netperm {

std::optional<std::vector<std::string>> GetDomains();

struct ServerList {
    std::vector<std::string> names;
    std::vector<std::string> labels; // one per name
};
// A number that is no ServerType is refused as an invalid parameter.
std::optional<ServerList> GetServers(const std::string& domain, int serverType);

// The domain's servers of Windows 2000 that run the document store.
std::optional<std::vector<std::string>> GetSPServers(const std::string& domain);
// The domain's servers that run Exchange.
std::optional<std::vector<std::string>> GetExchangeServers(const std::string& domain);
bool IsSPServer(const std::string& server);
bool IsExchServer(const std::string& server);

// Every share of the server, hidden ones included.
std::vector<std::string> GetShares(const std::string& server);
// The shares that network browsing shows inside the server ("SERVER" or
// "\\SERVER"), through EnumerateFunc.
std::vector<std::string> GetSharesEx(const std::string& server);
// Appends the names of the resources inside container, and inside the
// containers among them, to names.
void EnumerateFunc(const std::string& container, std::vector<std::string>& names);

// A name without "." as it is; else the name of the host that owns the IPv4
// address.
std::string GetServerName(const std::string& address);

struct OsTypeResult {
    std::string comment;
    int osType;
};
OsTypeResult GetOSType(const std::string& server);

} // namespace netperm
