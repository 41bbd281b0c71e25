#pragma once
// The nodes and rows that the listings of a pane make: nodes that can be
// opened (with their "Searching..." placeholder), the detail columns of a
// row, and lookups by name.

#include "app/mainwindow/node_keys.h"
#include "platform/ui/list_view.h"
#include "platform/ui/tree_view.h"

#include <string>
#include <string_view>

namespace store {
class SpsItem;
}

inline constexpr const char* kPlaceholderText = "Searching...";

// Adds a node under parent (or a top node when parent is empty) with its one
// placeholder child, which stands for the level below until it is read.
ui::TreeNode AddOpenableNode(ui::TreeView& tree, const ui::TreeNode& parent, const std::string& key,
                             const std::string& text, const std::string& image, NodeKind kind);

// Fills a new row's columns after its name, so that they read type, size,
// last modified.
void AddRowDetails(const ui::ListItem& row, const std::string& lastModified, const std::string& size,
                   const std::string& type);

// The item's last-modified time as the panes show it.
std::string LastModifiedText(const store::SpsItem& item);

// Whether a child of the node or a row of the list has the text, in any
// letter case.
bool HasChildNamed(const ui::TreeNode& node, std::string_view name);
bool HasRowNamed(const ui::ListView& list, std::string_view name);
