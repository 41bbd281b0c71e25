#pragma once
// Users and groups for CSPShares, on a computer or on a domain's controller.
// Failures of the network fail with the component's error scheme.

#include "platform/net/network.h"

#include <cstdint>
#include <string>
#include <vector>

namespace netperm {

// The controller of a domain; a domain without one that can be reached fails
// with 0x800417E6, the text of code 6118.
std::string DomainControllerOf(const std::string& domain);
// The computer named, or for DOMAIN the domain's controller.
net::HostInfo TargetHost(const std::string& name, int nameType);

struct UserList {
    std::vector<std::string> names;
    std::vector<std::string> fullNames;
    std::vector<std::string> comments;
};
// The normal user accounts (machine accounts left out).
UserList GetUsers(const std::string& name, int nameType);

struct GroupList {
    std::vector<std::string> names;
    std::vector<std::int32_t> types; // 0 local group, 1 global group
};
// The local groups, then on a domain controller the global groups.
GroupList GetGroups(const std::string& name, int nameType);

// Group type 1: the members of the global group, machine accounts left out;
// otherwise the members of the local group as "DOMAIN\account" or "account".
std::vector<std::string> GetUsersInGroup(const std::string& name, int nameType, const std::string& group,
                                         std::int32_t groupType);

// Whether the domain has a controller; fails as DomainControllerOf when not.
bool IsValidDomain(const std::string& domain);

} // namespace netperm
