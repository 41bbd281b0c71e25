#pragma once
// The tree view control: nodes addressed by key and by 1-based index (the
// order in which the nodes still present were added), with their relatives,
// full path, images from the tree's image list by key, and the control's
// events: NodeClick, Expand, Collapse, MouseDown, KeyPress.
//
// Errors: an unknown key raises 35601, a key in use 35602, an unknown image
// key 35603, an index out of range 35600, and every use of an empty node
// handle (a missing child, parent or sibling) 91.

#include "platform/ui/item_control.h"

#include <QVariant>

#include <string>
#include <vector>

namespace ui {

class ImageList;
class TreeView;

// Where a new node goes relative to its relative node.
enum class Relationship { First = 0, Last = 1, Next = 2, Previous = 3, Child = 4 };

class TreeNode : public ItemHandle<TreeView> {
public:
    using ItemHandle::ItemHandle;

    int Index() const;
    std::string Image() const;
    void setImage(const std::string& key) const;
    std::string SelectedImage() const;
    void setSelectedImage(const std::string& key) const;
    bool Expanded() const;
    // Opens or closes the node without raising Expand or Collapse.
    void setExpanded(bool expanded) const;
    bool Selected() const;
    void setSelected(bool selected) const;
    QVariant Tag() const;
    void setTag(const QVariant& tag) const;

    TreeNode Parent() const;
    TreeNode Child() const; // the first child
    int Children() const;
    TreeNode Next() const;
    TreeNode Previous() const;
    TreeNode FirstSibling() const;
    TreeNode LastSibling() const;
    TreeNode Root() const;
    // The texts from the top node down to this one, joined by the tree's
    // path separator.
    std::string FullPath() const;

private:
    friend class TreeView;
    TreeNode handleOf(QTreeWidgetItem* item) const;
    void applyImages(const std::string& image, const std::string& selectedImage) const;
};

class TreeView : public ItemControl {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent = nullptr);

    class Collection {
    public:
        int Count() const;
        // Adds a node; without a relative (an empty handle) it goes last among
        // the top nodes.
        TreeNode Add(const TreeNode& relative, Relationship relationship, const std::string& key,
                     const std::string& text, const std::string& image = {}, const std::string& selectedImage = {});
        TreeNode Add(const std::string& relativeKey, Relationship relationship, const std::string& key,
                     const std::string& text, const std::string& image = {}, const std::string& selectedImage = {});
        TreeNode Item(int index) const;
        TreeNode Item(const std::string& key) const;
        // Removes the node and everything below it.
        void Remove(int index);
        void Remove(const std::string& key);
        void Remove(const TreeNode& node);
        void Clear();

    private:
        friend class TreeView;
        explicit Collection(TreeView& tree) : tree_(tree) {}
        TreeView& tree_;
    };

    Collection& Nodes() { return nodes_; }
    const Collection& Nodes() const { return nodes_; }

    ImageList* imageList() const { return imageList_; }
    void setImageList(ImageList* list) { imageList_ = list; }
    // The indentation of each level, in twips.
    void setIndentationTwips(float twips);
    const std::string& PathSeparator() const { return pathSeparator_; }
    void setPathSeparator(std::string separator) { pathSeparator_ = std::move(separator); }

    // The selected node, or an empty handle.
    TreeNode SelectedItem();
    void setSelectedItem(const TreeNode& node);
    // The node at the point (twips, in the control), or an empty handle.
    TreeNode HitTest(float x, float y);

signals:
    // A press on a node's row (not on its expander), after the control
    // selected it; and a node that a key made the selected one.
    void NodeClick(ui::TreeNode node);
    // The user opened or closed a node.
    void Expand(ui::TreeNode node);
    void Collapse(ui::TreeNode node);

protected:
    void pressedOn(QTreeWidgetItem* item, const QPoint& position) override;
    void selectedByKey(QTreeWidgetItem* item) override;

private:
    friend class TreeNode;
    TreeNode handle(QTreeWidgetItem* item) { return item ? TreeNode(this, idOf(item)) : TreeNode(); }
    int indexOf(const QTreeWidgetItem* item) const;
    void showImages(QTreeWidgetItem& node, const std::string& image, const std::string& selectedImage) const;
    void remove(QTreeWidgetItem* item);

    Collection nodes_{*this};
    std::vector<QTreeWidgetItem*> order_; // the nodes in the order they were added
    ImageList* imageList_ = nullptr;
    std::string pathSeparator_ = "\\";
    bool changingExpansion_ = false;
};

} // namespace ui
