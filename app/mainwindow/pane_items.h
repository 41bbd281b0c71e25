#pragma once
// The nodes and rows that the listings of a pane make: nodes that can be
// opened (with their "Searching..." placeholder), the detail columns of a
// row, and lookups by name.

#include "app/mainwindow/node_keys.h"
#include "platform/ui/list_view.h"
#include "platform/ui/tree_view.h"

#include <string>
#include <string_view>

class ErrorTrap;

namespace store {
class SpsItem;
}

inline constexpr const char* kPlaceholderText = "Searching...";

// Adds the placeholder child that stands for the node's level until it is
// read.
void AddPlaceholder(ui::TreeView& tree, const ui::TreeNode& node);

// Adds a node under parent (or a top node when parent is empty) with its
// placeholder.
ui::TreeNode AddOpenableNode(ui::TreeView& tree, const ui::TreeNode& parent, const std::string& key,
                             const std::string& text, const std::string& image, NodeKind kind);

// Fills a new row's columns after its name, so that they read type, size,
// last modified.
void AddRowDetails(const ui::ListItem& row, const std::string& lastModified, const std::string& size,
                   const std::string& type);

// Opens the item at url; false when that failed and the trap had its say.
bool Opened(ErrorTrap& trap, store::SpsItem& item, const std::string& url);

// The item's last-modified time as the panes show it.
std::string LastModifiedText(const store::SpsItem& item);

// Whether a child of the node or a row of the list has the text, in any
// letter case.
bool HasChildNamed(const ui::TreeNode& node, std::string_view name);
bool HasRowNamed(const ui::ListView& list, std::string_view name);
