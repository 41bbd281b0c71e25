#include "platform/net/accounts.h"

#include "platform/net/case_fold.h"
#include "platform/net/data_files.h"
#include "platform/net/servers.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace net {

namespace {

const char kAccountsFile[] = "accounts.ini";
const char kBuiltin[] = "BUILTIN";
const char kNtAuthority[] = "NT AUTHORITY";
constexpr std::size_t kMaxAccountName = 256;
constexpr unsigned long kFirstUserRid = 1000;

struct KnownAccount {
    const char* sid;
    const char* domain;
    const char* name;
    SidNameUse use;
};

// The accounts every machine knows by the same SID.
constexpr KnownAccount kWellKnown[] = {
    {"S-1-1-0", "", "Everyone", SidTypeWellKnownGroup},
    {"S-1-3-0", "", "CREATOR OWNER", SidTypeWellKnownGroup},
    {"S-1-5-2", kNtAuthority, "NETWORK", SidTypeWellKnownGroup},
    {"S-1-5-4", kNtAuthority, "INTERACTIVE", SidTypeWellKnownGroup},
    {"S-1-5-11", kNtAuthority, "Authenticated Users", SidTypeWellKnownGroup},
    {"S-1-5-18", kNtAuthority, "SYSTEM", SidTypeWellKnownGroup},
    {"S-1-5-32-544", kBuiltin, "Administrators", SidTypeAlias},
    {"S-1-5-32-545", kBuiltin, "Users", SidTypeAlias},
    {"S-1-5-32-546", kBuiltin, "Guests", SidTypeAlias},
    {"S-1-5-32-547", kBuiltin, "Power Users", SidTypeAlias},
    {"S-1-5-32-548", kBuiltin, "Account Operators", SidTypeAlias},
    {"S-1-5-32-549", kBuiltin, "Server Operators", SidTypeAlias},
    {"S-1-5-32-550", kBuiltin, "Print Operators", SidTypeAlias},
    {"S-1-5-32-551", kBuiltin, "Backup Operators", SidTypeAlias},
};

// The relative identifiers that accounts of these names always get.
struct WellKnownRid {
    const char* name;
    unsigned long rid;
};
constexpr WellKnownRid kWellKnownRids[] = {
    {"Administrator", 500}, {"Guest", 501},         {"Domain Admins", 512},
    {"Domain Users", 513},  {"Domain Guests", 514}, {"Domain Computers", 515},
};

bool isMachineAccount(std::string_view name)
{
    return !name.empty() && name.back() == '$';
}

bool isValidAccountName(std::string_view name)
{
    return IsSafeName(name) && name.size() <= kMaxAccountName && name.front() != ' ' && name.back() != ' '
        && name.find_first_of("\"[]:;|=,+*?<>") == std::string_view::npos;
}

[[noreturn]] void invalidAccount(const std::string& why)
{
    throw com::ComError(com::E_INVALIDARG, why);
}

std::uint64_t fnv1a(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The SID prefix of a host's or domain's own accounts, the same for one name
// wherever it is computed.
std::string domainSid(std::string_view accountDomain)
{
    const std::string folded = CaseFold(accountDomain);
    const std::uint64_t first = fnv1a(folded);
    const std::uint64_t second = fnv1a(folded + "#");
    return "S-1-5-21-" + std::to_string(first & 0xFFFFFFFFu) + "-" + std::to_string(first >> 32) + "-"
        + std::to_string(second & 0xFFFFFFFFu);
}

std::optional<unsigned long> ridIn(std::string_view sid, std::string_view prefix)
{
    if (sid.size() <= prefix.size() + 1 || sid.substr(0, prefix.size()) != prefix || sid[prefix.size()] != '-')
        return std::nullopt;
    return std::strtoul(std::string(sid.substr(prefix.size() + 1)).c_str(), nullptr, 10);
}

const KnownAccount* builtinNamed(std::string_view name)
{
    for (const KnownAccount& known : kWellKnown)
        if (known.domain == std::string_view(kBuiltin) && EqualsIgnoringCase(known.name, name)) return &known;
    return nullptr;
}

std::string newSid(const HostInfo& host, const Account& account, const std::vector<Account>& existing)
{
    if (account.kind == AccountKind::LocalGroup)
        if (const KnownAccount* builtin = builtinNamed(account.name)) return builtin->sid;
    const std::string prefix = domainSid(AccountDomainOf(host));
    for (const WellKnownRid& known : kWellKnownRids)
        if (EqualsIgnoringCase(known.name, account.name)) return prefix + "-" + std::to_string(known.rid);
    unsigned long highest = kFirstUserRid - 1;
    for (const Account& other : existing)
        if (const std::optional<unsigned long> rid = ridIn(other.sid, prefix); rid && *rid > highest) highest = *rid;
    return prefix + "-" + std::to_string(highest + 1);
}

SidNameUse useOf(const Account& account)
{
    switch (account.kind) {
    case AccountKind::User: return isMachineAccount(account.name) ? SidTypeComputer : SidTypeUser;
    case AccountKind::GlobalGroup: return SidTypeGroup;
    case AccountKind::LocalGroup: return SidTypeAlias;
    }
    return SidTypeUnknown;
}

bool isSidText(std::string_view text)
{
    return text.size() > 4 && text.substr(0, 4) == "S-1-";
}

// The members of a group as accounts.ini keeps them.
std::vector<std::string> storedMembers(const HostInfo& host, const Account& group)
{
    std::vector<std::string> members;
    if (group.kind == AccountKind::GlobalGroup) {
        for (const std::string& member : group.members) {
            const std::optional<Account> user = FindAccount(host, member);
            if (!user || user->kind != AccountKind::User)
                invalidAccount("\"" + member + "\" is no user of " + host.name);
            members.push_back(user->name);
        }
    } else if (group.kind == AccountKind::LocalGroup) {
        const AccountDirectory directory;
        for (const std::string& member : group.members) {
            if (isSidText(member)) {
                members.push_back(member);
                continue;
            }
            const std::optional<AccountName> found = directory.lookupName(member);
            if (!found) invalidAccount("No account is named \"" + member + "\"");
            members.push_back(found->sid);
        }
    } else if (!group.members.empty()) {
        invalidAccount("A user has no members");
    }
    return members;
}

} // namespace

std::optional<AccountKind> ParseAccountKind(std::string_view word)
{
    if (EqualsIgnoringCase(word, "user")) return AccountKind::User;
    if (EqualsIgnoringCase(word, "global")) return AccountKind::GlobalGroup;
    if (EqualsIgnoringCase(word, "local")) return AccountKind::LocalGroup;
    return std::nullopt;
}

const char* AccountKindWord(AccountKind kind)
{
    switch (kind) {
    case AccountKind::User: return "user";
    case AccountKind::GlobalGroup: return "global";
    case AccountKind::LocalGroup: return "local";
    }
    return "user";
}

std::vector<Account> Accounts(const HostInfo& host)
{
    const IniDocument ini = ReadIniFile(host.folder, kAccountsFile);
    std::vector<Account> accounts;
    for (const std::string& name : ini.sectionNames()) {
        const std::optional<AccountKind> kind = ParseAccountKind(ini.valueOr(name, "kind", ""));
        if (!kind || !isValidAccountName(name)) continue;
        accounts.push_back({name, *kind, ini.valueOr(name, "full_name", ""), ini.valueOr(name, "comment", ""),
                            SplitList(ini.valueOr(name, "members", "")), ini.valueOr(name, "sid", "")});
    }
    return accounts;
}

std::optional<Account> FindAccount(const HostInfo& host, std::string_view name)
{
    for (Account& account : Accounts(host))
        if (EqualsIgnoringCase(account.name, name)) return std::move(account);
    return std::nullopt;
}

Account SaveAccount(const HostInfo& host, Account account)
{
    if (!isValidAccountName(account.name)) invalidAccount("Not a name for an account: \"" + account.name + "\"");
    account.members = storedMembers(host, account);

    const std::vector<Account> existing = Accounts(host);
    const auto same = std::find_if(existing.begin(), existing.end(),
                                   [&](const Account& other) { return EqualsIgnoringCase(other.name, account.name); });
    if (same != existing.end()) {
        account.name = same->name;
        if (same->kind == account.kind) account.sid = same->sid;
    }
    if (account.sid.empty()) account.sid = newSid(host, account, existing);

    IniDocument ini = ReadIniFile(host.folder, kAccountsFile);
    ini.removeSection(account.name);
    ini.setValue(account.name, "kind", AccountKindWord(account.kind));
    ini.setValue(account.name, "full_name", account.fullName);
    ini.setValue(account.name, "comment", account.comment);
    ini.setValue(account.name, "members", JoinList(account.members));
    ini.setValue(account.name, "sid", account.sid);
    WriteIniFile(host.folder, kAccountsFile, ini);
    return account;
}

std::string AccountDomainOf(const HostInfo& host)
{
    return IsDomainController(host) && !host.domain.empty() ? host.domain : host.name;
}

AccountDirectory::AccountDirectory()
{
    for (const KnownAccount& known : kWellKnown) accounts_.push_back({known.domain, known.name, known.use, known.sid});
    for (const HostInfo& host : Hosts()) {
        const std::string domain = AccountDomainOf(host);
        for (const Account& account : Accounts(host)) {
            if (account.sid.empty() || (account.kind == AccountKind::LocalGroup && builtinNamed(account.name))) continue;
            accounts_.push_back({domain, account.name, useOf(account), account.sid});
        }
    }
    localHost_ = LocalHostName();
    if (const std::optional<HostInfo> local = FindHost(localHost_)) localDomain_ = local->domain;
}

std::optional<AccountName> AccountDirectory::lookupSid(std::string_view sid) const
{
    for (const AccountName& account : accounts_)
        if (EqualsIgnoringCase(account.sid, sid)) return account;
    return std::nullopt;
}

std::optional<AccountName> AccountDirectory::lookupName(std::string_view name) const
{
    const auto find = [&](std::string_view domain, std::string_view account) -> std::optional<AccountName> {
        for (const AccountName& known : accounts_)
            if (EqualsIgnoringCase(known.domain, domain) && EqualsIgnoringCase(known.name, account)) return known;
        return std::nullopt;
    };
    if (const std::size_t separator = name.find('\\'); separator != std::string_view::npos)
        return find(name.substr(0, separator), name.substr(separator + 1));
    for (const std::string_view domain : {std::string_view(), std::string_view(kNtAuthority),
                                          std::string_view(kBuiltin), std::string_view(localHost_),
                                          std::string_view(localDomain_)})
        if (auto found = find(domain, name)) return found;
    return std::nullopt;
}

} // namespace net
