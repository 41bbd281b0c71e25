#include "components/netperm/csp_shares.h"

#include "components/netperm/browsing.h"
#include "components/netperm/csp_file_perm.h"
#include "components/netperm/csp_share_perm.h"
#include "components/netperm/directory_listing.h"
#include "components/netperm/netperm_module.h"
#include "components/netperm/network_accounts.h"
#include "components/netperm/result_lists.h"
#include "components/netperm/session.h"
#include "platform/ui/message_box.h"

#include <new>

namespace netperm {

using com::Invocation;
using com::LongArg;
using com::Optional;
using com::OutArg;
using com::StringArg;

namespace {

template <class T>
com::Variant NewObject()
{
    return com::DispatchVariant(com::MakeObject<T>());
}

std::int32_t YesNo(bool yes)
{
    return yes ? 1 : 0;
}

// A list of a domain's servers into the count argument and the call's value;
// nothing is written when the domain has no servers.
void ReturnServerNames(Invocation& call, const std::optional<std::vector<std::string>>& names)
{
    if (!names) return;
    call.setOut(1, Count(names->size()));
    call.setResult(StringList(*names));
}

void ReturnServers(Invocation& call)
{
    const std::optional<ServerList> servers = GetServers(call.string(0), call.number(1));
    if (!servers) return;
    call.setOut(2, StringList(servers->labels));
    call.setOut(3, Count(servers->names.size()));
    call.setResult(StringList(servers->names));
}

void ReturnSharesEx(Invocation& call)
{
    const std::vector<std::string> names = GetSharesEx(call.string(0));
    com::Variant list;
    try {
        list = StringList(names);
    } catch (const std::bad_alloc&) {
        ui::MsgBox("safe array not created", ui::vbOKOnly, "from com");
        throw;
    }
    call.setOut(1, std::move(list));
    call.setOut(2, Count(names.size()));
    call.setResult(NewObject<CSPSharePerm>());
}

// GetFilesInShare and its two siblings: the count is written before the list.
void ListShare(Invocation& call, ListingKind kind)
{
    const std::vector<std::string> elements = ListShareFolder(call.string(0), kind);
    call.setOut(2, Count(elements.size()));
    call.setOut(1, StringList(elements));
    call.setResult(NewObject<CSPFilePerm>());
}

void ReturnUsers(Invocation& call)
{
    const UserList users = GetUsers(call.string(0), call.number(1));
    call.setOut(2, Count(users.names.size()));
    call.setOut(3, StringList(users.fullNames));
    call.setOut(4, StringList(users.comments));
    call.setResult(StringList(users.names));
}

void ReturnGroups(Invocation& call)
{
    const GroupList groups = GetGroups(call.string(0), call.number(1));
    call.setOut(2, Count(groups.names.size()));
    call.setOut(3, VariantList({groups.types.begin(), groups.types.end()}));
    call.setResult(StringList(groups.names));
}

void ReturnUsersInGroup(Invocation& call)
{
    const std::vector<std::string> users =
        GetUsersInGroup(call.string(0), call.number(1), call.string(2), call.number(3));
    call.setOut(4, Count(users.size()));
    call.setResult(StringList(users));
}

// A yes/no member on its first argument: the value is 0 when the check fails.
template <bool (*Check)(const std::string&)>
void ReturnYesNo(CSPShares&, Invocation& call)
{
    call.setResult(YesNo(false));
    call.setResult(YesNo(Check(call.string(0))));
}

void ReturnOSType(Invocation& call)
{
    const OsTypeResult os = GetOSType(call.string(0));
    call.setOut(1, os.comment);
    call.setResult(os.osType);
}

// A member whose code is one function of the call.
template <void (*Member)(Invocation&)>
void Run(CSPShares&, Invocation& call)
{
    Member(call);
}

} // namespace

CSPShares::CSPShares() : DispatchObject(TheModule()) {}

const com::DispatchTable<CSPShares>& CSPShares::Members()
{
    static const auto table =
        com::DispatchTable<CSPShares>()
            .method(1, "GetDomains", {OutArg},
                    [](CSPShares&, Invocation& call) {
                        const std::optional<std::vector<std::string>> domains = GetDomains();
                        if (!domains) return;
                        call.setOut(0, Count(domains->size()));
                        call.setResult(StringList(*domains));
                    })
            .method(2, "GetShares", {StringArg, OutArg},
                    [](CSPShares&, Invocation& call) {
                        const std::vector<std::string> shares = GetShares(call.string(0));
                        call.setOut(1, StringList(shares));
                        call.setResult(std::int32_t(shares.size()));
                    })
            .method(3, "GetServers", {StringArg, LongArg, OutArg, OutArg}, Run<ReturnServers>)
            .method(4, "GetServerName", {StringArg},
                    [](CSPShares&, Invocation& call) { call.setResult(GetServerName(call.string(0))); })
            .method(5, "GetSharesEx", {StringArg, OutArg, OutArg}, Run<ReturnSharesEx>)
            .method(6, "GetFilesInShare", {StringArg, OutArg, OutArg},
                    [](CSPShares&, Invocation& call) { ListShare(call, ListingKind::Names); })
            .method(7, "GetSPServers", {StringArg, OutArg},
                    [](CSPShares&, Invocation& call) { ReturnServerNames(call, GetSPServers(call.string(0))); })
            .method(0x11, "IsSPServer", {StringArg}, ReturnYesNo<IsSPServer>)
            .method(8, "GetUsers", {StringArg, Optional(LongArg), OutArg, OutArg, OutArg}, Run<ReturnUsers>)
            .method(9, "GetGroups", {StringArg, Optional(LongArg), OutArg, OutArg}, Run<ReturnGroups>)
            .method(0xA, "GetUsersInGroup", {StringArg, Optional(LongArg), StringArg, LongArg, OutArg},
                    Run<ReturnUsersInGroup>)
            .method(0xB, "IsValidDomain", {StringArg}, ReturnYesNo<IsValidDomain>)
            .method(0xC, "GetExchangeServers", {StringArg, OutArg},
                    [](CSPShares&, Invocation& call) {
                        ReturnServerNames(call, GetExchangeServers(call.string(0)));
                    })
            .method(0xD, "IsExchServer", {StringArg}, ReturnYesNo<IsExchServer>)
            .method(0xE, "EstablishSession", {StringArg, LongArg},
                    [](CSPShares&, Invocation& call) { EstablishSession(call.string(0), call.number(1)); })
            .method(0xF, "GetAllFoldersInShare", {StringArg, OutArg, OutArg},
                    [](CSPShares&, Invocation& call) { ListShare(call, ListingKind::FolderDetails); })
            .method(0x10, "GetAllFilesInShare", {StringArg, OutArg, OutArg},
                    [](CSPShares&, Invocation& call) { ListShare(call, ListingKind::FileDetails); })
            .method(0x12, "GetOSType", {StringArg, OutArg}, Run<ReturnOSType>);
    return table;
}

} // namespace netperm
