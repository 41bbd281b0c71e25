#pragma once
// Item URLs: "http://HOST" names the server, "http://HOST/WORKSPACE/..." an
// item. The workspace container "http://HOST/sharepoint portal server/
// workspaces" stands for the server as well, and a URL that continues below
// it names the workspace that follows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

inline constexpr std::string_view kContainerSegment1 = "sharepoint portal server";
inline constexpr std::string_view kContainerSegment2 = "workspaces";

struct ItemUrl {
    std::string host;
    std::vector<std::string> path; // below the store's root; empty for the server
};

// Nullopt for a text that is not "http://" (any case) followed by a host
// name, or that holds an empty segment. One trailing "/" is allowed.
std::optional<ItemUrl> ParseItemUrl(std::string_view url);

// "http://HOST" followed by "/" and each segment.
std::string ItemUrlText(std::string_view host, const std::vector<std::string>& path);

// The URL of the item called name right below the item at url.
std::string ChildUrl(std::string_view url, std::string_view name);

} // namespace store
