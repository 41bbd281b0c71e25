#pragma once
// The keys and kinds of the tree nodes of both panes. Keys are ours, never a
// user-visible name on its own: the server root, the Entire Network root, the
// domain and the domain-server nodes keep their fixed keys ("Root", "E1",
// "D1 n", "M1 n m"), and a node named after a workspace or folder gets a key
// that no fixed key can equal, whatever the name. Handlers decide what a node
// is by its kind, never by its key or text.

#include "platform/ui/tree_view.h"

#include <optional>
#include <string>
#include <string_view>

enum class NodeKind {
    Other = 0,     // a node made without a kind
    ServerRoot,    // a server connected by name
    EntireNetwork, // the root of a network discovery
    Domain,        // a domain of the discovery
    DomainServer,  // a server found in a domain
    Workspace,
    Folder,
    PendingFolder, // a folder of the selection, not yet copied
    Placeholder,   // "Searching...": the level below has not been read
};

std::string RootNodeKey();
std::string EntireNetworkNodeKey();
// "D1", a blank and the domain number.
std::string DomainNodeKey(int domain);
// "M1", a blank, the domain number, a blank and the server number.
std::string DomainServerNodeKey(int domain, int server);
// The key of a node that stands for an item of the pane (a destination
// workspace, a pending folder): the item's URL in any letter case, so that
// items of one name in different folders have different keys.
std::string NamedNodeKey(std::string_view itemUrl);

// The domain number of a domain or domain-server node's key ("D1 10" gives 10).
std::optional<int> DomainNumberOfKey(std::string_view key);

void SetNodeKind(ui::TreeNode node, NodeKind kind);
NodeKind NodeKindOf(const ui::TreeNode& node);
// A node opened at its server's workspace container: a server root or a
// server found by discovery.
bool IsServerNode(NodeKind kind);
