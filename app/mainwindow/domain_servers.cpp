#include "app/mainwindow/domain_servers.h"

#include "app/core/text_lists.h"
#include "app/engine/cart_entries.h"

std::string DomainServerGroup(const std::vector<std::string>& servers)
{
    std::string group;
    for (const std::string& server : servers) group += (group.empty() ? "" : "|") + server;
    return group + "=";
}

std::vector<std::string> ServersOfDomain(std::string_view domainServerList, int domainNumber)
{
    const std::vector<std::string> groups = SplitEntries(domainServerList, "=");
    if (domainNumber < 1 || domainNumber > int(groups.size())) return {};
    return SplitText(groups[std::size_t(domainNumber - 1)], "|");
}

std::vector<std::string> NamesInList(const com::Variant& list)
{
    const com::Variant& value = list.deref();
    if (!value.isArray()) return {};
    std::vector<std::string> names;
    for (const com::Variant& element : value.array().elements) names.push_back(element.toString());
    return names;
}
