#include "platform/net/servers.h"

#include "platform/net/case_fold.h"
#include "platform/net/domains.h"
#include "platform/net/ini_document.h"
#include "platform/net/net_errors.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdlib>

namespace net {

namespace {

constexpr std::uint32_t kNtMachine = SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_NT;

struct Role {
    const char* word;
    std::uint32_t bits;
};

constexpr Role kRoles[] = {
    {"workstation", kNtMachine},
    {"server", kNtMachine | SV_TYPE_SERVER_NT},
    {"domain_controller", kNtMachine | SV_TYPE_SERVER_NT | SV_TYPE_DOMAIN_CTRL},
    {"backup_controller", kNtMachine | SV_TYPE_SERVER_NT | SV_TYPE_DOMAIN_BAKCTRL},
    {"windows9x", SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_WINDOWS},
};

std::uint32_t serverTypeBits(const HostInfo& host)
{
    std::uint32_t bits = 0;
    for (const std::string& role : SplitList(host.serverType))
        bits |= ServerRoleBits(role).value_or(0);
    return bits ? bits : kNtMachine;
}

unsigned versionPart(std::string_view text)
{
    return unsigned(std::strtoul(std::string(text).c_str(), nullptr, 10));
}

bool isValidComputerName(std::string_view name)
{
    return IsSafeName(name) && name.find_first_of(":*?\"<>|") == std::string_view::npos;
}

std::optional<in_addr> parseAddress(std::string_view text)
{
    in_addr address{};
    if (::inet_pton(AF_INET, std::string(text).c_str(), &address) != 1) return std::nullopt;
    return address;
}

} // namespace

std::optional<std::uint32_t> ServerRoleBits(std::string_view role)
{
    for (const Role& known : kRoles)
        if (EqualsIgnoringCase(role, known.word)) return known.bits;
    return std::nullopt;
}

ServerRecord ServerRecordOf(const HostInfo& host)
{
    const std::string_view version = host.osVersion;
    const std::size_t dot = version.find('.');
    return {host.name, versionPart(version.substr(0, dot)),
            dot == std::string_view::npos ? 0 : versionPart(version.substr(dot + 1)), serverTypeBits(host),
            host.comment};
}

bool IsDomainController(const HostInfo& host)
{
    return ServerRecordOf(host).type & (SV_TYPE_DOMAIN_CTRL | SV_TYPE_DOMAIN_BAKCTRL);
}

HostInfo ReachableHost(std::string_view serverName)
{
    std::string_view name = serverName;
    while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
    if (!isValidComputerName(name)) FailWithCode(NERR_InvalidComputer, std::string(serverName));
    std::optional<HostInfo> host = FindHost(name);
    if (!host || !host->reachable) FailWithCode(ERROR_BAD_NETPATH, "\\\\" + std::string(name));
    return *host;
}

ServerRecord ReadServerRecord(std::string_view serverName)
{
    return ServerRecordOf(ReachableHost(serverName));
}

std::vector<ServerRecord> EnumerateServers(std::string_view domain, std::uint32_t mask)
{
    const std::string wanted = domain.empty() ? LanGroupOfLocalHost() : std::string(domain);
    if (!IsKnownDomain(wanted)) FailWithCode(ERROR_NO_BROWSER_SERVERS_FOUND, wanted);
    std::vector<ServerRecord> servers;
    for (const HostInfo& host : Hosts()) {
        const ServerRecord record = ServerRecordOf(host);
        if (EqualsIgnoringCase(host.domain, wanted) && (record.type & mask)) servers.push_back(record);
    }
    return servers;
}

bool IsServiceInstalled(std::string_view serverName, std::string_view service)
{
    return ReachableHost(serverName).runsService(service);
}

bool IsIpv4Address(std::string_view address)
{
    return parseAddress(address).has_value();
}

std::optional<std::string> HostNameForAddress(std::string_view address)
{
    const std::optional<in_addr> wanted = parseAddress(address);
    if (!wanted) return std::nullopt;
    for (const HostInfo& host : Hosts()) {
        const bool owns = std::any_of(host.addresses.begin(), host.addresses.end(), [&](const std::string& own) {
            const std::optional<in_addr> parsed = parseAddress(own);
            return parsed && parsed->s_addr == wanted->s_addr;
        });
        if (owns) return host.name;
    }
    return std::nullopt;
}

} // namespace net
