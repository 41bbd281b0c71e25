#include "app/engine/workspace_titles.h"

#include "app/core/error_trap.h"
#include "app/engine/url_levels.h"
#include "platform/store/sps.h"

std::string WorkspaceFolderTitle(const std::string& server, std::string_view titleField, const std::string& tag)
{
    ErrorTrap trap(tag);
    store::SpsServer container;
    container.setPreOpenFlag(true);
    trap.step([&] { container.DataSource().Open(WorkspaceContainerUrl(server), 0, -1, 0); });
    const std::string title = trap.value([&] { return container.Workspaces().field(titleField).toString(); });
    return title.empty() ? "null" : title;
}
