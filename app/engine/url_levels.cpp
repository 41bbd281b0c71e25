#include "app/engine/url_levels.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/text_lists.h"
#include "app/engine/runtime_values.h"
#include "platform/net/case_fold.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/sys/user.h"

#include <algorithm>

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

} // namespace

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
