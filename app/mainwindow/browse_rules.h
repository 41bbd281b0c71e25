#pragma once
// The rules of browsing a server that depend on texts alone: a tree node's
// URL, the names a listing never shows, the images of folders, and where a
// pending folder of the selection comes from.

#include <string>
#include <string_view>
#include <vector>

// The URL of a tree node from its full path (the node texts from the top
// down, joined by "\"): "http://" followed by the texts joined by "/". In
// network mode (the tree holds a discovery) the Entire Network and domain
// texts are left out, so that a server found in a domain reads like one
// connected by name.
std::string NodeUrl(std::string_view fullPath, bool networkMode);

// Folders a listing below the server never shows: the store's own ("_TEMP_",
// "LOCKS", "system", ... in exactly that case) and "pkmevents" in any case.
bool IsNeverListedFolder(std::string_view name);
// Documents a listing never shows: "pkmevents" in exactly that case.
bool IsNeverListedDocument(std::string_view name);

// The image of a listed folder: "enhanced" for a smart folder, else the
// image of the level it is listed at.
std::string FolderImageKey(std::string_view contentClass, std::string_view levelImage);
// The image of a pending folder: "enhanced" for a smart folder, "workspace"
// for a workspace, "folder" otherwise.
std::string PendingFolderImageKey(std::string_view contentClass);

// A destination URL at or below a pending item of the selection: the source
// URL of the item and the names of the folders below it that lead there.
struct PendingOrigin {
    std::string sourceUrl;
    std::vector<std::string> below;
};

// The pending items of the selection (sources followed by "|", destination
// folders by "=") that the destination URL lies in, in the selection's order,
// comparing without regard to case and blanks around the entries; none when
// it lies in none. A pending folder added into another one lies in both.
std::vector<PendingOrigin> FindPendingOrigins(std::string_view url, std::string_view sources,
                                              std::string_view destinations);
