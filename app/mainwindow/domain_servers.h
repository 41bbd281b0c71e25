#pragma once
// The servers that network discovery found, kept in one string
// (gDomainServerList): one group per domain that has servers, in the order
// the domains were numbered, each group the server names joined by "|" and
// followed by "=". Two domains with the servers s1, s2 and s3 give
// "s1|s2=s3=".

#include "platform/com/variant.h"

#include <string>
#include <string_view>
#include <vector>

// One domain's group: "s1|s2=".
std::string DomainServerGroup(const std::vector<std::string>& servers);

// The servers of the group at position domainNumber (counting from 1); none
// when the list has no such group.
std::vector<std::string> ServersOfDomain(std::string_view domainServerList, int domainNumber);

// The texts of a component's list result (an array, any lower bound); none
// when the result is no array, as when the component left it untouched.
std::vector<std::string> NamesInList(const com::Variant& list);
