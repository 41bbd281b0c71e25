#include "app/engine/url_levels.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/text_lists.h"
#include "app/engine/runtime_values.h"
#include "platform/net/case_fold.h"
#include "platform/store/item_url.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/sys/user.h"

#include <algorithm>
#include <optional>

namespace {

using RoleListReader = com::Variant (store::SpsFolder::*)() const;

com::Variant CollectRoleList(const std::string& url, RoleListReader readList, const char* tag)
{
    ErrorTrap trap(tag);
    store::SpsFolder folder;
    folder.setPreOpenFlag(false);
    trap.step([&] { folder.DataSource().Open(url, 0, -1); });
    return trap.value([&] { return (folder.*readList)(); });
}

bool UserCoordinates(ErrorTrap& trap, const std::string& workspaceUrl)
{
    if (workspaceUrl.empty()) return false;
    store::SpsFolder workspace;
    workspace.setPreOpenFlag(false);
    trap.step([&] { workspace.DataSource().Open(workspaceUrl, 0, -1); });
    return trap.value(
        [&] { return CoordinatorsInclude(store::AccountsFromVariant(workspace.coordinators()), sys::CurrentUser()); },
        false);
}

// The path of an item as the store resolves it: host and names case folded.
std::optional<std::vector<std::string>> ResolvedPath(const std::string& url)
{
    std::optional<store::ItemUrl> item = store::ParseItemUrl(url);
    if (!item) return std::nullopt;
    std::vector<std::string> path{net::CaseFold(item->host)};
    for (const std::string& name : item->path) path.push_back(net::CaseFold(name));
    return path;
}

bool StartsWith(const std::vector<std::string>& path, const std::vector<std::string>& prefix)
{
    return path.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

} // namespace

bool IsSameOrWithin(const std::string& url, const std::string& container)
{
    const auto path = ResolvedPath(url);
    const auto prefix = ResolvedPath(container);
    return path && prefix && StartsWith(*path, *prefix);
}

bool CopyMeetsItsSource(const std::string& source, const std::string& destinationFolder)
{
    const auto from = ResolvedPath(source);
    const auto into = ResolvedPath(destinationFolder);
    if (!from || !into) return false;
    // Into the source or below it; or into its own folder, onto itself.
    if (StartsWith(*into, *from)) return true;
    return from->size() == into->size() + 1 && StartsWith(*from, *into);
}

CopyRefusal CheckCopyTarget(const std::string& source, const std::string& target)
{
    const std::optional<store::ItemUrl> item = store::ParseItemUrl(target);
    if (!item || item->path.size() < 2 || target.ends_with('/')) return CopyRefusal::NoItemNamed;
    return IsSameOrWithin(target, source) ? CopyRefusal::OntoItself : CopyRefusal::None;
}

std::string WorkspaceContainerUrl(const std::string& server)
{
    return "http://" + server + "/sharepoint portal server/workspaces";
}

int Count_SlashPresent(const std::string& url) { return int(std::count(url.begin(), url.end(), '/')); }

std::string ExtractWorkspaceName(const std::string& url)
{
    const std::vector<std::string> parts = SplitText(url, "/");
    if (parts.size() < 4) return {};
    return parts[0] + "/" + parts[1] + "/" + parts[2] + "/" + parts[3];
}

com::Variant CollectAllReaderNames(const std::string& url)
{
    return CollectRoleList(url, &store::SpsFolder::readers, " in CollectAllReaderNames");
}

com::Variant CollectAllAuthorNames(const std::string& url)
{
    return CollectRoleList(url, &store::SpsFolder::authors, "in CollectAllAuthorNames");
}

com::Variant CollectAllCoordinatorNames(const std::string& url)
{
    return CollectRoleList(url, &store::SpsFolder::coordinators, "in CollectAllCoordinatorNames");
}

bool CheckPermissionForCoordinator()
{
    ErrorTrap trap("in CheckPermissionForCoordinator");
    const std::string destination = trap.value([] { return Trim(MainWindow().txtBottom()); });
    return UserCoordinates(trap, ExtractWorkspaceName(destination));
}

bool CheckPermissionForCoordinator_test(const std::string& workspaceUrl)
{
    ErrorTrap trap("in CheckPermissionForCoordinator_test");
    return UserCoordinates(trap, workspaceUrl);
}

bool CoordinatorsInclude(const std::vector<std::string>& coordinators, const std::string& user)
{
    const auto listed = [&](const std::string& account) {
        return std::any_of(coordinators.begin(), coordinators.end(),
                           [&](const std::string& entry) { return net::EqualsIgnoringCase(entry, account); });
    };
    return listed(user) || listed("\\Everyone");
}
