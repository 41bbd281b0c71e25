#pragma once
// Who may do what in a store: the role lists in force for a container (its
// own, or its parent's when it inherits them) and the checks against the
// current user.

#include "platform/store/item_files.h"
#include "platform/store/roles.h"

#include <string>
#include <string_view>

namespace store {

class AccessControl {
public:
    AccessControl(HostStore& store, const ItemFiles& files) : store_(store), files_(files) {}

    // The lists in force for the container with these stored names (valid
    // until the store next changes). The server itself has none: only
    // workspaces and folders grant roles.
    const RoleLists& rolesInForce(const Names& container) const;
    // Throws errPermissionDenied naming the action unless the current user
    // holds role in the container.
    void require(const Names& container, Role role, std::string_view action) const;
    bool holds(const Names& container, Role role) const;

private:
    HostStore& store_;
    const ItemFiles& files_;
};

} // namespace store
