#include "platform/store/roles.h"

#include "platform/net/case_fold.h"

#include <algorithm>

namespace store {

namespace {

bool listHolds(const std::vector<std::string>& accounts, std::string_view user)
{
    return std::any_of(accounts.begin(), accounts.end(), [&](const std::string& account) {
        return IsEveryone(account) || net::EqualsIgnoringCase(account, user);
    });
}

} // namespace

bool IsEveryone(std::string_view account)
{
    return net::EqualsIgnoringCase(account, "\\Everyone");
}

bool HasRole(const RoleLists& lists, Role role, std::string_view user)
{
    if (listHolds(lists.coordinators, user)) return true;
    if (role == Role::Coordinator) return false;
    if (listHolds(lists.authors, user)) return true;
    return role == Role::Reader && listHolds(lists.readers, user);
}

bool IsKnownAccount(std::string_view account, std::string_view hostName, std::string_view hostDomain,
                    const std::vector<std::string>& networkDomains)
{
    if (IsEveryone(account)) return true;
    const std::size_t separator = account.find('\\');
    if (separator == std::string_view::npos) return !account.empty();
    const std::string_view domain = account.substr(0, separator);
    const std::string_view user = account.substr(separator + 1);
    if (domain.empty() || user.empty()) return false;
    if (net::EqualsIgnoringCase(domain, hostName) || net::EqualsIgnoringCase(domain, hostDomain)) return true;
    return std::any_of(networkDomains.begin(), networkDomains.end(),
                       [&](const std::string& known) { return net::EqualsIgnoringCase(domain, known); });
}

com::Variant AccountsToVariant(const std::vector<std::string>& accounts)
{
    return com::Variant::StringArray(accounts);
}

std::vector<std::string> AccountsFromVariant(const com::Variant& accounts)
{
    const com::Variant& value = accounts.deref();
    if (value.isEmpty() || value.isNull() || value.isMissing()) return {};
    if (!value.isArray()) return {value.toString()};
    std::vector<std::string> texts;
    for (const com::Variant& element : value.array().elements) texts.push_back(element.toString());
    return texts;
}

} // namespace store
