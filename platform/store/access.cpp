#include "platform/store/access.h"

#include "platform/store/errors.h"
#include "platform/sys/user.h"

namespace store {

RoleLists AccessControl::rolesInForce(const Names& container) const
{
    if (container.empty()) return {};
    const std::string key = NamesKey(container);
    const std::uint64_t generation = store_.generation();
    if (std::optional<RoleLists> cached = store_.cachedRoles(key, generation)) return *cached;

    const ItemData data = files_.loadContainer(container);
    const RoleLists roles = data.inheritsRoles && container.size() > 1
        ? rolesInForce(Names(container.begin(), container.end() - 1))
        : data.roles;
    store_.cacheRoles(key, generation, roles);
    return roles;
}

bool AccessControl::holds(const Names& container, Role role) const
{
    return HasRole(rolesInForce(container), role, sys::CurrentUser());
}

void AccessControl::require(const Names& container, Role role, std::string_view action) const
{
    if (holds(container, role)) return;
    throw com::ComError(errPermissionDenied, "Permission denied: " + sys::CurrentUser() + " may not " + std::string(action)
                                                 + " in \"" + NamesKey(container) + "\"");
}

} // namespace store
