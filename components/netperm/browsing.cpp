#include "components/netperm/browsing.h"

#include "components/netperm/net_error.h"
#include "components/netperm/server_types.h"
#include "platform/net/domains.h"
#include "platform/net/net_errors.h"
#include "platform/net/shares.h"
#include "platform/ui/message_box.h"

#include <initializer_list>
#include <new>

namespace netperm {

namespace {

constexpr char kStoreService[] = "MSDMSERV";
constexpr std::initializer_list<const char*> kExchangeServices = {"MSExchangeDX", "MSExchangeMTA", "MSExchangeSA"};

// Whether the server runs the first of the services that its service manager
// can open; a manager that cannot be reached fails.
bool RunsAnyService(const std::string& server, std::initializer_list<const char*> services)
{
    for (const char* service : services)
        if (NetCall([&] { return net::IsServiceInstalled(server, service); })) return true;
    return false;
}

// The servers of the domain (by their server bits) that pass keeps and run one
// of the services; a server whose service manager cannot be reached is
// skipped.
std::optional<std::vector<std::string>> ServersRunning(const std::string& domain,
                                                       bool (*keeps)(const net::ServerRecord&),
                                                       std::initializer_list<const char*> services)
{
    const std::vector<net::ServerRecord> servers = NetCall([&] { return net::EnumerateServers(domain, ServerBits); });
    if (servers.empty()) return std::nullopt;
    std::vector<std::string> names;
    for (const net::ServerRecord& server : servers) {
        if (!keeps(server)) continue;
        try {
            if (RunsAnyService(server.name, services)) names.push_back(server.name);
        } catch (const com::ComError&) {
        }
    }
    return names;
}

std::string AfterLastBackslash(const std::string& remoteName)
{
    const std::size_t cut = remoteName.rfind('\\');
    return cut == std::string::npos ? remoteName : remoteName.substr(cut + 1);
}

} // namespace

std::optional<std::vector<std::string>> GetDomains()
{
    std::vector<std::string> names;
    for (const net::DomainInfo& domain : NetCall(net::Domains)) names.push_back(domain.name);
    if (names.empty()) return std::nullopt;
    return names;
}

std::optional<ServerList> GetServers(const std::string& domain, int serverType)
{
    const std::optional<ServerSelection> selection = SelectionFor(serverType);
    if (!selection) FailWithNetError(net::ERROR_INVALID_PARAMETER);
    const std::vector<net::ServerRecord> servers = NetCall([&] { return net::EnumerateServers(domain, selection->mask); });
    if (servers.empty()) return std::nullopt;
    ServerList list;
    for (const net::ServerRecord& server : servers) {
        if (!selection->keeps(server)) continue;
        list.names.push_back(server.name);
        list.labels.push_back(selection->label(server));
    }
    return list;
}

std::optional<std::vector<std::string>> GetSPServers(const std::string& domain)
{
    return ServersRunning(
        domain, [](const net::ServerRecord& server) { return server.major == 5 && HasServerBit(server.type); },
        {kStoreService});
}

std::optional<std::vector<std::string>> GetExchangeServers(const std::string& domain)
{
    return ServersRunning(
        domain, [](const net::ServerRecord& server) { return HasServerBit(server.type); }, kExchangeServices);
}

bool IsSPServer(const std::string& server)
{
    return RunsAnyService(server, {kStoreService});
}

bool IsExchServer(const std::string& server)
{
    return RunsAnyService(server, kExchangeServices);
}

std::vector<std::string> GetShares(const std::string& server)
{
    std::vector<std::string> names;
    for (const net::ShareInfo& share : NetCall([&] { return net::Shares(net::ReachableHost(server)); }))
        names.push_back(share.name);
    return names;
}

std::vector<std::string> GetSharesEx(const std::string& server)
{
    const std::string target = server.rfind('\\', 0) == 0 ? server : "\\\\" + server;
    std::vector<std::string> names;
    EnumerateFunc(target, names);
    return names;
}

void EnumerateFunc(const std::string& container, std::vector<std::string>& names)
{
    std::vector<net::NetResource> resources;
    try {
        resources = NetCall([&] { return net::EnumerateResources(container); });
    } catch (const std::bad_alloc&) {
        ui::MsgBox("Not enough memory", ui::vbOKOnly, "Error");
        throw;
    }
    for (const net::NetResource& resource : resources) {
        names.push_back(AfterLastBackslash(resource.remoteName));
        if (!resource.container) continue;
        try {
            EnumerateFunc(resource.remoteName, names);
        } catch (const com::ComError&) {
            ui::MsgBox("EnumerateFunc returned FALSE.", ui::vbOKOnly, "Error");
            throw;
        }
    }
}

std::string GetServerName(const std::string& address)
{
    if (address.find('.') == std::string::npos) return address;
    const std::optional<std::string> name = NetCall([&] { return net::HostNameForAddress(address); });
    if (!name) FailWithNetError(net::WSAHOST_NOT_FOUND);
    return *name;
}

OsTypeResult GetOSType(const std::string& server)
{
    const net::ServerRecord record = NetCall([&] { return net::ReadServerRecord(server); });
    return {record.comment, OsTypeOf(record)};
}

} // namespace netperm
