#include "components/netperm/csp_share_perm.h"

#include "components/netperm/netperm_module.h"
#include "components/netperm/permissions.h"

namespace netperm {

using com::Invocation;
using com::Optional;
using com::OutArg;
using com::StringArg;

CSPSharePerm::CSPSharePerm() : DispatchObject(TheModule()) {}

const com::DispatchTable<CSPSharePerm>& CSPSharePerm::Members()
{
    static const auto table = com::DispatchTable<CSPSharePerm>().method(
        1, "GetSharePermissions", {StringArg, StringArg, OutArg, Optional(OutArg)}, [](CSPSharePerm&, Invocation& call) {
            const std::string path = SharePermissionPath(call.string(0), call.string(1));
            ReturnPermissionList(call, ReadSecurityPermissions(SecuredKind::Share, path));
        });
    return table;
}

} // namespace netperm
