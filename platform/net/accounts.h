#pragma once
// User accounts and groups, and the security identifiers (SIDs) that name
// them. accounts.ini in a host's folder holds one section per account:
//
//   [anna]
//   kind = user                  user, global (a global group) or local (a local group)
//   full_name = Anna Berg
//   comment = Marketing
//   members = anna, bernd        a global group: user names of the same host;
//                                a local group: SIDs of any accounts
//   sid = S-1-5-21-2411843562-...-1001
//
// The accounts of a domain controller are its domain's accounts; those of any
// other host are its own local accounts, named after the host. Users whose
// names end in "$" are machine accounts.

#include "platform/net/network.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

enum class AccountKind { User, GlobalGroup, LocalGroup };

struct Account {
    std::string name;
    AccountKind kind = AccountKind::User;
    std::string fullName;
    std::string comment;
    std::vector<std::string> members;
    std::string sid;
};

// The kind words of accounts.ini; nullopt for another word.
std::optional<AccountKind> ParseAccountKind(std::string_view word);
const char* AccountKindWord(AccountKind kind);

std::vector<Account> Accounts(const HostInfo& host);
std::optional<Account> FindAccount(const HostInfo& host, std::string_view name);
// Adds or replaces an account. A new account gets its SID; local group
// members may be given as "DOMAIN\name", "name" or a SID and are kept as
// SIDs. Throws ComError(E_INVALIDARG) for a name an account cannot have, a
// member of a global group that is no user of the host, and a local group
// member that names no account.
Account SaveAccount(const HostInfo& host, Account account);

// The domain name of the host's accounts: its domain on a domain controller,
// else the host's own name.
std::string AccountDomainOf(const HostInfo& host);

// What a SID names, as the security system classes it.
enum SidNameUse {
    SidTypeUser = 1,
    SidTypeGroup = 2,
    SidTypeDomain = 3,
    SidTypeAlias = 4,
    SidTypeWellKnownGroup = 5,
    SidTypeDeletedAccount = 6,
    SidTypeInvalid = 7,
    SidTypeUnknown = 8,
    SidTypeComputer = 9,
};

struct AccountName {
    std::string domain; // empty for Everyone and the like
    std::string name;
    SidNameUse use = SidTypeUnknown;
    std::string sid;
};

// The accounts the local machine can name: the well-known and built-in ones
// and those of every host of the network, read once.
class AccountDirectory {
public:
    AccountDirectory();

    std::optional<AccountName> lookupSid(std::string_view sid) const;
    // "DOMAIN\name", or "name": a well-known account, else one of the local
    // host, else one of the local host's domain.
    std::optional<AccountName> lookupName(std::string_view name) const;

private:
    std::vector<AccountName> accounts_;
    std::string localHost_;
    std::string localDomain_;
};

} // namespace net
