#include "app/mainwindow/pane_items.h"

#include "app/core/error_trap.h"
#include "platform/net/case_fold.h"
#include "platform/store/sps.h"
#include "platform/sys/datetime.h"

void AddPlaceholder(ui::TreeView& tree, const ui::TreeNode& node)
{
    SetNodeKind(tree.Nodes().Add(node, ui::Relationship::Child, "", kPlaceholderText, "finding1", "finding1"),
                NodeKind::Placeholder);
}

ui::TreeNode AddOpenableNode(ui::TreeView& tree, const ui::TreeNode& parent, const std::string& key,
                             const std::string& text, const std::string& image, NodeKind kind)
{
    const ui::TreeNode node = tree.Nodes().Add(parent, ui::Relationship::Child, key, text, image, image);
    SetNodeKind(node, kind);
    AddPlaceholder(tree, node);
    return node;
}

void AddRowDetails(const ui::ListItem& row, const std::string& lastModified, const std::string& size,
                   const std::string& type)
{
    row.AddSubItem(1, lastModified);
    row.AddSubItem(1, size);
    row.AddSubItem(1, type);
}

bool Opened(ErrorTrap& trap, store::SpsItem& item, const std::string& url)
{
    return trap.value([&] {
        item.DataSource().Open(url, 0, -1, 0);
        return true;
    });
}

std::string LastModifiedText(const store::SpsItem& item) { return sys::GeneralDateText(item.lastModified()); }

bool HasChildNamed(const ui::TreeNode& node, std::string_view name)
{
    for (ui::TreeNode child = node.Child(); child; child = child.Next())
        if (net::EqualsIgnoringCase(child.Text(), name)) return true;
    return false;
}

bool HasRowNamed(const ui::ListView& list, std::string_view name)
{
    for (int i = 1; i <= list.ListItems().Count(); ++i)
        if (net::EqualsIgnoringCase(list.ListItems().Item(i).Text(), name)) return true;
    return false;
}
