#include "components/netperm/network_accounts.h"

#include "components/netperm/identities.h"
#include "components/netperm/net_error.h"
#include "components/netperm/permission_text.h"
#include "platform/net/accounts.h"
#include "platform/net/domains.h"
#include "platform/net/net_errors.h"
#include "platform/net/servers.h"

namespace netperm {

namespace {

constexpr std::int32_t kLocalGroup = 0;
constexpr std::int32_t kGlobalGroup = 1;

bool isMachineAccount(const std::string& name)
{
    return name.find('$') != std::string::npos;
}

// The group of the given kind on host; fails with code when there is none.
net::Account GroupOf(const net::HostInfo& host, const std::string& name, net::AccountKind kind, long code)
{
    const std::optional<net::Account> group = NetCall([&] { return net::FindAccount(host, name); });
    if (!group || group->kind != kind) FailWithNetError(code);
    return *group;
}

} // namespace

std::string DomainControllerOf(const std::string& domain)
{
    const std::optional<std::string> controller = NetCall([&] { return net::FindDomainController(domain); });
    if (!controller) FailWithNetError(net::ERROR_NO_BROWSER_SERVERS_FOUND);
    return *controller;
}

net::HostInfo TargetHost(const std::string& name, int nameType)
{
    const std::string computer = nameType == DOMAIN ? DomainControllerOf(name) : name;
    return NetCall([&] { return net::ReachableHost(computer); });
}

UserList GetUsers(const std::string& name, int nameType)
{
    const net::HostInfo target = TargetHost(name, nameType);
    UserList users;
    for (const net::Account& account : NetCall([&] { return net::Accounts(target); })) {
        if (account.kind != net::AccountKind::User || isMachineAccount(account.name)) continue;
        users.names.push_back(account.name);
        users.fullNames.push_back(account.fullName);
        users.comments.push_back(account.comment);
    }
    return users;
}

GroupList GetGroups(const std::string& name, int nameType)
{
    const net::HostInfo target = TargetHost(name, nameType);
    const bool withGlobalGroups = nameType == DOMAIN || net::IsDomainController(target);
    const std::vector<net::Account> accounts = NetCall([&] { return net::Accounts(target); });
    GroupList groups;
    for (const net::Account& account : accounts)
        if (account.kind == net::AccountKind::LocalGroup) {
            groups.names.push_back(account.name);
            groups.types.push_back(kLocalGroup);
        }
    if (withGlobalGroups)
        for (const net::Account& account : accounts)
            if (account.kind == net::AccountKind::GlobalGroup) {
                groups.names.push_back(account.name);
                groups.types.push_back(kGlobalGroup);
            }
    return groups;
}

std::vector<std::string> GetUsersInGroup(const std::string& name, int nameType, const std::string& group,
                                         std::int32_t groupType)
{
    const net::HostInfo target = TargetHost(name, nameType);
    std::vector<std::string> members;
    if (groupType == kGlobalGroup) {
        const net::Account globalGroup = GroupOf(target, group, net::AccountKind::GlobalGroup, net::NERR_GroupNotFound);
        for (const std::string& member : globalGroup.members)
            if (!isMachineAccount(member)) members.push_back(member);
        return members;
    }
    const net::Account localGroup = GroupOf(target, group, net::AccountKind::LocalGroup, net::ERROR_NO_SUCH_ALIAS);
    const net::AccountDirectory directory = NetCall([] { return net::AccountDirectory(); });
    for (const std::string& sid : localGroup.members)
        if (const std::optional<net::AccountName> account = directory.lookupSid(sid))
            members.push_back(QualifiedAccountName(account->domain, account->name));
    return members;
}

bool IsValidDomain(const std::string& domain)
{
    DomainControllerOf(domain);
    return true;
}

} // namespace netperm
