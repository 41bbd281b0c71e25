#pragma once
// The text of one access-control entry: "DOMAIN\account @\@ right", or
// "account @\@ right" for an account without a domain, and the account's
// kind as a number.

#include "platform/net/accounts.h"
#include "platform/net/security.h"

#include <cstdint>
#include <string>

namespace netperm {

// The entry that stands for a missing DACL: everyone may do everything.
inline constexpr char MissingDaclEntry[] = "Everyone @\\@ FullControl";

// Whether a deny entry with the full mask reads "No Access" rather than
// "Full Control".
enum class DenyText { NoAccess, FullControl };

// "Read", "Change", "Full Control", "No Access", or "Special Access (" with
// the letters R W X D P O of the rights present and ")"; without a letter
// "Special Access " (the blank kept).
std::string AccessMaskToRightText(std::uint32_t mask, net::AceType type, DenyText denyText);

// "DOMAIN\account", or the account alone when it has no domain.
std::string QualifiedAccountName(const std::string& domain, const std::string& account);

std::string PermissionEntryText(const std::string& domain, const std::string& account, const std::string& right);

// 0 a user, 1 a group, alias or well-known group, 2 anything else.
std::int16_t AccountTypeOf(net::SidNameUse use);

} // namespace netperm
