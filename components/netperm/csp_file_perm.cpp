#include "components/netperm/csp_file_perm.h"

#include "components/netperm/netperm_module.h"
#include "components/netperm/permissions.h"
#include "components/netperm/result_lists.h"

namespace netperm {

using com::Invocation;
using com::LongArg;
using com::Optional;
using com::OutArg;
using com::StringArg;

namespace {

constexpr std::int32_t kRead = 1;
constexpr std::int32_t kNotRead = 0;

SecuredKind KindOf(std::int32_t objectType)
{
    return objectType ? SecuredKind::File : SecuredKind::Share;
}

// A DACL that cannot be read: the value 0 with S_FALSE, the out arguments as
// the caller passed them.
void AnswerNotRead(Invocation& call)
{
    call.setResult(kNotRead);
    call.setSuccessCode(com::S_FALSE);
}

void GetObjectPermissions(Invocation& call)
{
    std::optional<ObjectPermissions> permissions = ReadObjectPermissions(KindOf(call.number(0)), call.string(1));
    if (!permissions) return AnswerNotRead(call);
    call.setOut(2, Count(permissions->allowCount));
    call.setOut(3, Count(permissions->denyCount));
    call.setOut(4, VariantList(std::move(permissions->allow)));
    call.setOut(5, VariantList(std::move(permissions->deny)));
    call.setResult(kRead);
}

void GetObjectPermissionsEx(Invocation& call)
{
    const std::optional<SplitPermissions> permissions =
        ReadObjectPermissionsEx(call.string(0), call.string(1), KindOf(call.number(2)), call.string(3));
    if (!permissions) return AnswerNotRead(call);
    call.setOut(4, Count(permissions->allow.size()));
    call.setOut(5, Count(permissions->deny.size()));
    call.setOut(6, StringList(permissions->allow));
    call.setOut(7, StringList(permissions->deny));
    call.setOut(8, Count(permissions->invalidAllow.size()));
    call.setOut(9, Count(permissions->invalidDeny.size()));
    call.setOut(10, StringList(permissions->invalidAllow));
    call.setOut(11, StringList(permissions->invalidDeny));
    call.setResult(kRead);
}

} // namespace

CSPFilePerm::CSPFilePerm() : DispatchObject(TheModule()) {}

const com::DispatchTable<CSPFilePerm>& CSPFilePerm::Members()
{
    static const auto table =
        com::DispatchTable<CSPFilePerm>()
            .method(1, "GetFilePermissions", {StringArg, StringArg, OutArg, Optional(OutArg)},
                    [](CSPFilePerm&, Invocation& call) {
                        const std::string path = call.string(0) + "\\" + call.string(1);
                        ReturnPermissionList(call, ReadSecurityPermissions(SecuredKind::File, path));
                    })
            .method(2, "GetObjectPermissions", {LongArg, StringArg, OutArg, OutArg, OutArg, OutArg},
                    [](CSPFilePerm&, Invocation& call) { GetObjectPermissions(call); })
            .method(3, "GetObjectPermissionsEx",
                    {StringArg, StringArg, LongArg, StringArg, OutArg, OutArg, OutArg, OutArg, OutArg, OutArg, OutArg,
                     OutArg},
                    [](CSPFilePerm&, Invocation& call) { GetObjectPermissionsEx(call); });
    return table;
}

} // namespace netperm
