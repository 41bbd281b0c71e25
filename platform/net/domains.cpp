#include "platform/net/domains.h"

#include "platform/net/case_fold.h"
#include "platform/net/data_files.h"
#include "platform/net/servers.h"

#include <algorithm>

namespace net {

namespace {

const char kNetworkFile[] = "network.ini";

std::string domainSection(std::string_view domain)
{
    return "domain " + std::string(domain);
}

bool hasName(const std::vector<std::string>& names, std::string_view wanted)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) { return EqualsIgnoringCase(name, wanted); });
}

// The controller role of a host: 2 primary, 1 backup, 0 none.
int controllerRank(const HostInfo& host)
{
    const std::uint32_t type = ServerRecordOf(host).type;
    if (type & SV_TYPE_DOMAIN_CTRL) return 2;
    return (type & SV_TYPE_DOMAIN_BAKCTRL) ? 1 : 0;
}

} // namespace

std::vector<DomainInfo> Domains()
{
    const IniDocument ini = ReadIniFile(NetworkRoot(), kNetworkFile);
    std::vector<DomainInfo> domains;
    for (std::string& name : ReadNetwork().domains) {
        std::vector<std::string> trusts = SplitList(ini.valueOr(domainSection(name), "trusts", ""));
        domains.push_back({std::move(name), std::move(trusts)});
    }
    return domains;
}

bool IsKnownDomain(std::string_view domain)
{
    if (domain.empty()) return false;
    if (hasName(ReadNetwork().domains, domain)) return true;
    const std::vector<HostInfo> hosts = Hosts();
    return std::any_of(hosts.begin(), hosts.end(), [&](const HostInfo& host) { return EqualsIgnoringCase(host.domain, domain); });
}

void SaveDomain(const DomainInfo& domain)
{
    for (const std::string& name : domain.trusts)
        if (!IsSafeName(name)) throw com::ComError(com::E_INVALIDARG, "Not a domain name: \"" + name + "\"");
    if (!IsSafeName(domain.name)) throw com::ComError(com::E_INVALIDARG, "Not a domain name: \"" + domain.name + "\"");
    NetworkInfo network = ReadNetwork();
    if (!hasName(network.domains, domain.name)) {
        network.domains.push_back(domain.name);
        WriteNetwork(network);
    }
    IniDocument ini = ReadIniFile(NetworkRoot(), kNetworkFile);
    ini.setValue(domainSection(domain.name), "trusts", JoinList(domain.trusts));
    WriteIniFile(NetworkRoot(), kNetworkFile, ini);
}

std::optional<std::string> FindDomainController(std::string_view domain)
{
    if (domain.empty()) return std::nullopt;
    const HostInfo* best = nullptr;
    const std::vector<HostInfo> hosts = Hosts();
    for (const HostInfo& host : hosts) {
        if (!host.reachable || !EqualsIgnoringCase(host.domain, domain) || controllerRank(host) == 0) continue;
        if (!best || controllerRank(host) > controllerRank(*best)) best = &host;
    }
    if (!best) return std::nullopt;
    return best->name;
}

std::vector<std::string> TrustedDomains(std::string_view domain)
{
    for (DomainInfo& known : Domains())
        if (EqualsIgnoringCase(known.name, domain)) return std::move(known.trusts);
    return {};
}

std::string LanGroupOfLocalHost()
{
    const std::optional<HostInfo> local = FindHost(LocalHostName());
    return local ? local->domain : std::string();
}

std::string LanGroupOf(std::string_view serverName)
{
    return ReachableHost(serverName).domain;
}

} // namespace net
