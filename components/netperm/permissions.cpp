#include "components/netperm/permissions.h"

#include "components/netperm/net_error.h"
#include "components/netperm/permission_text.h"
#include "components/netperm/result_lists.h"
#include "platform/net/case_fold.h"
#include "platform/net/domains.h"
#include "platform/net/net_errors.h"
#include "platform/net/security.h"
#include "platform/registry/key_names.h"

#include <algorithm>

namespace netperm {

namespace {

constexpr std::size_t kMaxEntryText = 360;
constexpr std::size_t kMaxSharePath = 250;

net::SecurityDescriptor ReadDacl(SecuredKind kind, const std::string& path)
{
    return kind == SecuredKind::Share ? net::ReadShareSecurity(path) : net::ReadFileSecurity(path);
}

struct Entry {
    net::AccountName account;
    std::string text;
};

// The entry's account and text; nullopt when the account cannot be looked up
// or its text would be longer than an entry may be. Either fault is the
// entry's own: the other entries are listed all the same.
std::optional<Entry> EntryFor(const net::AccountDirectory& directory, const net::Ace& ace, DenyText denyText)
{
    std::optional<net::AccountName> account = directory.lookupSid(ace.sid);
    if (!account) return std::nullopt;
    std::string text =
        PermissionEntryText(account->domain, account->name, AccessMaskToRightText(ace.mask, ace.type, denyText));
    if (winreg::CharacterCount(text) > kMaxEntryText) return std::nullopt;
    return Entry{std::move(*account), std::move(text)};
}

std::optional<std::string> DomainOf(const std::string& server)
{
    try {
        return net::LanGroupOf(server);
    } catch (const com::ComError& failure) {
        ReportNetError(failure);
        return std::nullopt;
    }
}

std::optional<std::vector<std::string>> NonEmpty(std::vector<std::string> names)
{
    if (names.empty()) return std::nullopt;
    return names;
}

// The domains that the domain's controller trusts; nullopt when there is no
// controller or it names none.
std::optional<std::vector<std::string>> TrustedDomainsOf(const std::string& domain)
{
    try {
        if (!net::FindDomainController(domain)) return std::nullopt;
        return NonEmpty(net::TrustedDomains(domain));
    } catch (const com::ComError&) {
        return std::nullopt;
    }
}

// The local groups of the domain's controller; nullopt when there is no
// controller or it has none.
std::optional<std::vector<std::string>> ControllerLocalGroups(const std::string& domain)
{
    try {
        const std::optional<std::string> controller = net::FindDomainController(domain);
        const std::optional<net::HostInfo> host = controller ? net::FindHost(*controller) : std::nullopt;
        if (!host) return std::nullopt;
        std::vector<std::string> localGroups;
        for (const net::Account& account : net::Accounts(*host))
            if (account.kind == net::AccountKind::LocalGroup) localGroups.push_back(account.name);
        return NonEmpty(std::move(localGroups));
    } catch (const com::ComError&) {
        return std::nullopt;
    }
}

DestinationChecks ChecksFor(const std::string& sourceServer, const std::string& destinationServer)
{
    DestinationChecks checks;
    if (const std::optional<std::string> domain = DomainOf(destinationServer)) {
        checks.destinationDomain = *domain;
        checks.trustedDomains = TrustedDomainsOf(*domain);
    }
    if (const std::optional<std::string> domain = DomainOf(sourceServer)) {
        checks.sourceDomain = *domain;
        checks.sourceLocalGroups = ControllerLocalGroups(*domain);
    }
    return checks;
}

bool ContainsIgnoringCase(const std::vector<std::string>& names, const std::string& wanted)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return net::EqualsIgnoringCase(name, wanted); });
}

} // namespace

PermissionList ReadSecurityPermissions(SecuredKind kind, const std::string& path)
{
    const net::SecurityDescriptor security = NetCall([&] { return ReadDacl(kind, path); });
    if (!security.dacl) return {{MissingDaclEntry}, {std::int16_t(1)}};

    const net::AccountDirectory directory = NetCall([] { return net::AccountDirectory(); });
    PermissionList list;
    for (const net::Ace& ace : *security.dacl) {
        const std::optional<Entry> entry = EntryFor(directory, ace, DenyText::NoAccess);
        list.entries.push_back(entry ? com::Variant(entry->text) : com::Variant());
        list.accountTypes.push_back(entry ? com::Variant(AccountTypeOf(entry->account.use)) : com::Variant());
    }
    return list;
}

void ReturnPermissionList(com::Invocation& call, PermissionList list)
{
    call.setOut(2, Count(list.entries.size()));
    call.setOut(3, VariantList(std::move(list.accountTypes)));
    call.setResult(VariantList(std::move(list.entries)));
}

std::string SharePermissionPath(const std::string& server, const std::string& share)
{
    const std::string path = (server.rfind('\\', 0) == 0 ? server : "\\\\" + server) + "\\" + share;
    if (winreg::CharacterCount(path) > kMaxSharePath) FailWithNetError(net::ERROR_INVALID_PARAMETER);
    return path;
}

std::optional<ObjectPermissions> ReadObjectPermissions(SecuredKind kind, const std::string& path)
{
    net::SecurityDescriptor security;
    try {
        security = ReadDacl(kind, path);
    } catch (const com::ComError&) {
        return std::nullopt;
    }
    if (!security.dacl) return ObjectPermissions{{MissingDaclEntry}, {MissingDaclEntry}, 1, 1};

    const net::AccountDirectory directory = NetCall([] { return net::AccountDirectory(); });
    ObjectPermissions permissions;
    permissions.allow.resize(security.dacl->size());
    permissions.deny.resize(security.dacl->size());
    for (const net::Ace& ace : *security.dacl) {
        const std::optional<Entry> entry = EntryFor(directory, ace, DenyText::FullControl);
        if (!entry) continue;
        if (ace.type == net::AceType::Allow) permissions.allow[permissions.allowCount++] = entry->text;
        else permissions.deny[permissions.denyCount++] = entry->text;
    }
    return permissions;
}

std::optional<SplitPermissions> ReadObjectPermissionsEx(const std::string& sourceServer,
                                                        const std::string& destinationServer, SecuredKind kind,
                                                        const std::string& path)
{
    net::SecurityDescriptor security;
    try {
        security = ReadDacl(kind, path);
    } catch (const com::ComError& failure) {
        ReportNetError(failure);
        return std::nullopt;
    }
    if (!security.dacl) return SplitPermissions{{""}, {""}, {""}, {""}};

    const DestinationChecks checks = ChecksFor(sourceServer, destinationServer);
    const net::AccountDirectory directory = NetCall([] { return net::AccountDirectory(); });
    SplitPermissions permissions;
    for (const net::Ace& ace : *security.dacl) {
        const std::optional<Entry> entry = EntryFor(directory, ace, DenyText::FullControl);
        if (!entry) continue;
        const bool allowed = ace.type == net::AceType::Allow;
        std::vector<std::string>& list = IsValidAtDestination(entry->account, checks)
            ? (allowed ? permissions.allow : permissions.deny)
            : (allowed ? permissions.invalidAllow : permissions.invalidDeny);
        list.push_back(entry->text);
    }
    return permissions;
}

bool IsValidAtDestination(const net::AccountName& account, const DestinationChecks& checks)
{
    if (account.use == net::SidTypeWellKnownGroup || !checks.trustedDomains || !checks.sourceLocalGroups) return true;
    if (net::EqualsIgnoringCase(account.domain, checks.sourceDomain))
        return std::find(checks.sourceLocalGroups->begin(), checks.sourceLocalGroups->end(), account.name)
            == checks.sourceLocalGroups->end();
    return net::EqualsIgnoringCase(account.domain, checks.destinationDomain)
        || ContainsIgnoringCase(*checks.trustedDomains, account.domain);
}

} // namespace netperm
