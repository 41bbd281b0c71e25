#pragma once
// The permissions of shares, files and folders for CSPSharePerm and
// CSPFilePerm: each entry of the object's DACL as its entry text, split by
// type and, for a copy to another server, by whether the destination can
// resolve its account.

#include "platform/com/dispatch_table.h"
#include "platform/net/accounts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace netperm {

enum class SecuredKind { Share, File };

// Parallel lists with one element per DACL entry; an entry whose account
// cannot be looked up, or whose text would exceed 360 characters, stays empty
// in both.
struct PermissionList {
    std::vector<com::Variant> entries;
    std::vector<com::Variant> accountTypes; // 16-bit integers
};
// An unreadable DACL fails with the component's error scheme.
PermissionList ReadSecurityPermissions(SecuredKind kind, const std::string& path);

// Hands a permission list back as GetSharePermissions and GetFilePermissions
// do: the count into argument 2, the account types into argument 3 and the
// entry texts as the call's value.
void ReturnPermissionList(com::Invocation& call, PermissionList list);

// "\\SERVER\SHARE" (the server name may bring its backslashes); a path over
// 250 characters is refused as an invalid parameter.
std::string SharePermissionPath(const std::string& server, const std::string& share);

// Each list has one element per DACL entry; the counts say how many are
// filled, from the first. Entries that cannot be named (account unknown, text
// over 360 characters) are left out, here and in SplitPermissions.
struct ObjectPermissions {
    std::vector<com::Variant> allow;
    std::vector<com::Variant> deny;
    std::size_t allowCount = 0;
    std::size_t denyCount = 0;
};
// nullopt when the DACL cannot be read.
std::optional<ObjectPermissions> ReadObjectPermissions(SecuredKind kind, const std::string& path);

struct SplitPermissions {
    std::vector<std::string> allow;
    std::vector<std::string> deny;
    std::vector<std::string> invalidAllow;
    std::vector<std::string> invalidDeny;
};
// nullopt when the DACL cannot be read (reported through the error object).
std::optional<SplitPermissions> ReadObjectPermissionsEx(const std::string& sourceServer,
                                                        const std::string& destinationServer, SecuredKind kind,
                                                        const std::string& path);

// What decides whether the destination server can resolve an entry's
// account. A check whose lookups failed is nullopt, and then every entry is
// valid.
struct DestinationChecks {
    std::optional<std::vector<std::string>> trustedDomains; // of the destination's domain
    std::string destinationDomain;
    std::optional<std::vector<std::string>> sourceLocalGroups; // of the source domain's controller
    std::string sourceDomain;
};
bool IsValidAtDestination(const net::AccountName& account, const DestinationChecks& checks);

} // namespace netperm
