#include "platform/store/access.h"

#include "platform/store/errors.h"
#include "platform/sys/user.h"

namespace store {

const RoleLists& AccessControl::rolesInForce(const Names& container) const
{
    static const RoleLists none;
    if (container.empty()) return none;
    const std::string key = NamesKey(container);
    const std::uint64_t generation = store_.generation();
    if (const RoleLists* cached = store_.cachedRoles(key, generation)) return *cached;

    ItemData data = files_.loadContainer(container);
    RoleLists roles = data.inheritsRoles && container.size() > 1
        ? rolesInForce(Names(container.begin(), container.end() - 1))
        : std::move(data.roles);
    return store_.cacheRoles(key, generation, std::move(roles));
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
