#pragma once
// Item URLs ("http://SERVER/WORKSPACE/folder/.../item"), the role lists of a
// folder or workspace, and whether the user coordinates a workspace.

#include "platform/com/variant.h"

#include <string>
#include <vector>

// "http://SERVER/sharepoint portal server/workspaces": where a server's
// workspaces are listed and created.
std::string WorkspaceContainerUrl(const std::string& server);

// The number of "/" in the URL: 2 a server, 3 a workspace, 4 or more a folder
// or document; 0 for an empty URL.
int Count_SlashPresent(const std::string& url);

// The workspace part of an item URL ("http://SERVER/WORKSPACE"); "" when the
// URL has fewer than four "/"-separated parts.
std::string ExtractWorkspaceName(const std::string& url);

// Whether the item at url is the item at container or lies below it. URLs are
// compared as the store resolves them: letter case ignored, the workspace
// container standing for the server, whole names only ("A/AB" is not below
// "A/A").
bool IsSameOrWithin(const std::string& url, const std::string& container);

// Whether copying the item at source into the folder at destinationFolder
// would write onto the source itself or into its own subtree.
bool CopyMeetsItsSource(const std::string& source, const std::string& destinationFolder);

// Why a copy must not write its target, if it must not: a target whose last
// name is empty, or that is no item inside a workspace, would stand for the
// folder or the server above it; a target that is its source, or lies inside
// it, would overwrite the source or walk the copies just made. An empty
// source checks the target alone.
enum class CopyRefusal { None, NoItemNamed, OntoItself };
CopyRefusal CheckCopyTarget(const std::string& source, const std::string& target);

// The readers, authors and coordinators of the folder or workspace at url, as
// the store returns them; empty when it cannot be opened.
com::Variant CollectAllReaderNames(const std::string& url);
com::Variant CollectAllAuthorNames(const std::string& url);
com::Variant CollectAllCoordinatorNames(const std::string& url);

// Whether the user coordinates the workspace of the destination pane's
// address box.
bool CheckPermissionForCoordinator();
// Whether the user coordinates the workspace at workspaceUrl.
bool CheckPermissionForCoordinator_test(const std::string& workspaceUrl);

// Whether the coordinator list grants the user the role: the user's own
// account or "\Everyone", in any letter case.
bool CoordinatorsInclude(const std::vector<std::string>& coordinators, const std::string& user);
