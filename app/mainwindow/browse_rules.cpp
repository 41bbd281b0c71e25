#include "app/mainwindow/browse_rules.h"

#include "app/core/text_lists.h"
#include "app/engine/cart_entries.h"
#include "app/engine/runtime_values.h"
#include "platform/net/case_fold.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view kSmartFolder = "urn:content-classes:smartfolder";
constexpr std::string_view kWorkspace = "urn:content-classes:workspace";

std::string joined(const std::vector<std::string>& parts, std::size_t first, std::string_view separator)
{
    std::string text;
    for (std::size_t i = first; i < parts.size(); ++i) {
        if (i > first) text += separator;
        text += parts[i];
    }
    return text;
}

std::string lastSegment(std::string_view url)
{
    const std::size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

} // namespace

std::string NodeUrl(std::string_view fullPath, bool networkMode)
{
    const std::vector<std::string> parts = SplitText(fullPath, "\\");
    return "http://" + joined(parts, networkMode ? 2 : 0, "/");
}

bool IsNeverListedFolder(std::string_view name)
{
    static constexpr std::array<std::string_view, 9> kStoreFolders = {
        "_TEMP_", "LOCKS", "Verwaltung", "Management", "SHADOW", "system", "Dashboards", "PubModels", "selectors"};
    return std::find(kStoreFolders.begin(), kStoreFolders.end(), name) != kStoreFolders.end()
           || net::EqualsIgnoringCase(name, "pkmevents");
}

bool IsNeverListedDocument(std::string_view name) { return name == "pkmevents"; }

std::string FolderImageKey(std::string_view contentClass, std::string_view levelImage)
{
    return net::EqualsIgnoringCase(contentClass, kSmartFolder) ? "enhanced" : std::string(levelImage);
}

std::string PendingFolderImageKey(std::string_view contentClass)
{
    return net::EqualsIgnoringCase(contentClass, kWorkspace) ? "workspace" : FolderImageKey(contentClass, "folder");
}

std::vector<PendingOrigin> FindPendingOrigins(std::string_view url, std::string_view sources,
                                              std::string_view destinations)
{
    const std::vector<std::string> sourceEntries = SplitEntries(sources, "|");
    const std::vector<std::string> destinationEntries = SplitEntries(destinations, "=");
    const std::vector<std::string> urlParts = SplitText(Trim(url), "/");
    const std::size_t entries = std::min(sourceEntries.size(), destinationEntries.size());
    std::vector<PendingOrigin> origins;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::string source = Trim(sourceEntries[i]);
        const std::vector<std::string> pendingParts =
            SplitText(Trim(destinationEntries[i]) + "/" + lastSegment(source), "/");
        if (pendingParts.size() > urlParts.size()
            || !std::equal(pendingParts.begin(), pendingParts.end(), urlParts.begin(), net::EqualsIgnoringCase))
            continue;
        origins.push_back({source, {urlParts.begin() + std::ptrdiff_t(pendingParts.size()), urlParts.end()}});
    }
    return origins;
}
