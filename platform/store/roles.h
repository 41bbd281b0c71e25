#pragma once
// Role lists of folders and workspaces, and the checks made on them.

#include "platform/com/variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace store {

enum class Role { Reader, Author, Coordinator };

struct RoleLists {
    std::vector<std::string> readers;
    std::vector<std::string> authors;
    std::vector<std::string> coordinators;

    friend bool operator==(const RoleLists&, const RoleLists&) = default;
};

// "\Everyone" in any letter case: an entry that counts for every user.
bool IsEveryone(std::string_view account);

// Whether user holds role through lists: coordinators count as authors and
// authors as readers; accounts compare without regard to case.
bool HasRole(const RoleLists& lists, Role role, std::string_view user);

// Whether a host knows the account: "\Everyone", a plain "user", or a
// "DOMAIN\user" whose domain is the host's own domain, the host's name or one
// of the network's domains (all without regard to case).
bool IsKnownAccount(std::string_view account, std::string_view hostName, std::string_view hostDomain,
                    const std::vector<std::string>& networkDomains);

// Role lists cross the object interface as arrays of strings.
com::Variant AccountsToVariant(const std::vector<std::string>& accounts);
// Any array's elements as texts; empty, null and missing values give an empty
// list; a single text gives a list of one.
std::vector<std::string> AccountsFromVariant(const com::Variant& accounts);

} // namespace store
