#include "platform/ui/tree_view.h"

#include "platform/ui/image_list.h"
#include "platform/ui/twips.h"

#include <QHeaderView>
#include <QIcon>

#include <algorithm>
#include <memory>

namespace ui {

namespace {

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;
constexpr int kTagRole = Qt::UserRole + 3;

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string text(const QVariant& value) { return value.toString().toStdString(); }

QTreeWidgetItem* siblingAt(QTreeWidgetItem* item, int offset)
{
    QTreeWidgetItem* parent = item->parent();
    QTreeWidget* tree = item->treeWidget();
    const int index = (parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item)) + offset;
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    if (index < 0 || index >= count) return nullptr;
    return parent ? parent->child(index) : tree->topLevelItem(index);
}

QTreeWidgetItem* lastSibling(QTreeWidgetItem* item)
{
    QTreeWidgetItem* parent = item->parent();
    return parent ? parent->child(parent->childCount() - 1)
                  : item->treeWidget()->topLevelItem(item->treeWidget()->topLevelItemCount() - 1);
}

QTreeWidgetItem* firstSibling(QTreeWidgetItem* item)
{
    QTreeWidgetItem* parent = item->parent();
    return parent ? parent->child(0) : item->treeWidget()->topLevelItem(0);
}

} // namespace

// --- TreeNode ---------------------------------------------------------------

TreeNode TreeNode::handleOf(QTreeWidgetItem* found) const { return control().handle(found); }

int TreeNode::Index() const { return control().indexOf(&item()); }
std::string TreeNode::Image() const { return text(item().data(0, kImageRole)); }
void TreeNode::setImage(const std::string& key) const { applyImages(key, SelectedImage()); }
std::string TreeNode::SelectedImage() const { return text(item().data(0, kSelectedImageRole)); }
void TreeNode::setSelectedImage(const std::string& key) const { applyImages(Image(), key); }

void TreeNode::applyImages(const std::string& image, const std::string& selectedImage) const
{
    control().showImages(item(), image, selectedImage);
}

bool TreeNode::Expanded() const { return item().isExpanded(); }

void TreeNode::setExpanded(bool expanded) const
{
    QTreeWidgetItem& node = item();
    TreeView& tree = control();
    const bool was = tree.changingExpansion_;
    tree.changingExpansion_ = true;
    node.setExpanded(expanded);
    tree.changingExpansion_ = was;
}

bool TreeNode::Selected() const { return item().isSelected(); }

void TreeNode::setSelected(bool selected) const
{
    QTreeWidgetItem& node = item();
    if (selected) control().setCurrentItem(&node);
    else node.setSelected(false);
}

QVariant TreeNode::Tag() const { return item().data(0, kTagRole); }
void TreeNode::setTag(const QVariant& tag) const { item().setData(0, kTagRole, tag); }

TreeNode TreeNode::Parent() const { return handleOf(item().parent()); }
TreeNode TreeNode::Child() const { return handleOf(item().child(0)); }
int TreeNode::Children() const { return item().childCount(); }
TreeNode TreeNode::Next() const { return handleOf(siblingAt(&item(), 1)); }
TreeNode TreeNode::Previous() const { return handleOf(siblingAt(&item(), -1)); }
TreeNode TreeNode::FirstSibling() const { return handleOf(firstSibling(&item())); }
TreeNode TreeNode::LastSibling() const { return handleOf(lastSibling(&item())); }

TreeNode TreeNode::Root() const
{
    QTreeWidgetItem* top = &item();
    while (top->parent()) top = top->parent();
    return handleOf(top);
}

std::string TreeNode::FullPath() const
{
    std::string path = Text();
    for (QTreeWidgetItem* up = item().parent(); up; up = up->parent())
        path = up->text(0).toStdString() + control().PathSeparator() + path;
    return path;
}

// --- TreeView ---------------------------------------------------------------

TreeView::TreeView(QWidget* parent) : ItemControl(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!changingExpansion_) emit Expand(handle(item));
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!changingExpansion_) emit Collapse(handle(item));
    });
}

void TreeView::setIndentationTwips(float twips) { setIndentation(std::max(TwipsToPixels(int(twips)), 8)); }

void TreeView::showImages(QTreeWidgetItem& node, const std::string& image, const std::string& selectedImage) const
{
    QIcon icon(ImageOf(imageList_, image));
    if (!selectedImage.empty()) icon.addPixmap(ImageOf(imageList_, selectedImage), QIcon::Selected);
    node.setIcon(0, icon);
    node.setData(0, kImageRole, qt(image));
    node.setData(0, kSelectedImageRole, qt(selectedImage));
}

int TreeView::indexOf(const QTreeWidgetItem* item) const
{
    return int(std::find(order_.begin(), order_.end(), item) - order_.begin()) + 1;
}

TreeNode TreeView::SelectedItem()
{
    QTreeWidgetItem* current = currentItem();
    return current && current->isSelected() ? handle(current) : TreeNode();
}

void TreeView::setSelectedItem(const TreeNode& node) { node.setSelected(true); }

TreeNode TreeView::HitTest(float x, float y) { return handle(itemAtTwips(x, y)); }

void TreeView::pressedOn(QTreeWidgetItem* item, const QPoint& position)
{
    // A press left of the row's text is on the expander: that opens or closes
    // the node and is no click on it.
    if (position.x() < visualItemRect(item).left()) return;
    emit NodeClick(handle(item));
}

void TreeView::selectedByKey(QTreeWidgetItem* item) { emit NodeClick(handle(item)); }

void TreeView::remove(QTreeWidgetItem* item)
{
    std::vector<QTreeWidgetItem*> gone{item};
    for (std::size_t i = 0; i < gone.size(); ++i)
        for (int c = 0; c < gone[i]->childCount(); ++c) gone.push_back(gone[i]->child(c));
    std::erase_if(order_, [&](QTreeWidgetItem* node) { return std::find(gone.begin(), gone.end(), node) != gone.end(); });
    forget(item);
    delete item;
}

// --- TreeView::Collection ---------------------------------------------------

int TreeView::Collection::Count() const { return int(tree_.order_.size()); }

TreeNode TreeView::Collection::Add(const TreeNode& relative, Relationship relationship, const std::string& key,
                                   const std::string& text, const std::string& image,
                                   const std::string& selectedImage)
{
    QTreeWidgetItem* anchor = relative.isNothing() ? nullptr : &relative.item();
    tree_.requireFreeKey(key);

    // The node is made whole before it joins the tree, which then takes it
    // in at once instead of hearing of each of its parts; an unknown image
    // key leaves the tree as it was.
    auto made = std::make_unique<QTreeWidgetItem>(QStringList{qt(text)});
    tree_.showImages(*made, image, selectedImage);
    QTreeWidgetItem* node = made.release();
    tree_.enroll(node, key);
    tree_.order_.push_back(node);
    if (!anchor) {
        tree_.addTopLevelItem(node);
    } else if (relationship == Relationship::Child) {
        anchor->addChild(node);
    } else {
        QTreeWidgetItem* parent = anchor->parent();
        const int at = parent ? parent->indexOfChild(anchor) : tree_.indexOfTopLevelItem(anchor);
        const int count = parent ? parent->childCount() : tree_.topLevelItemCount();
        const int position = relationship == Relationship::First  ? 0
                             : relationship == Relationship::Last ? count
                             : relationship == Relationship::Next ? at + 1
                                                                  : at;
        if (parent) parent->insertChild(position, node);
        else tree_.insertTopLevelItem(position, node);
    }
    return tree_.handle(node);
}

TreeNode TreeView::Collection::Add(const std::string& relativeKey, Relationship relationship, const std::string& key,
                                   const std::string& text, const std::string& image,
                                   const std::string& selectedImage)
{
    return Add(Item(relativeKey), relationship, key, text, image, selectedImage);
}

TreeNode TreeView::Collection::Item(int index) const
{
    if (index < 1 || index > Count()) RaiseControlError(kIndexOutOfBounds);
    return tree_.handle(tree_.order_[index - 1]);
}

TreeNode TreeView::Collection::Item(const std::string& key) const
{
    QTreeWidgetItem* node = tree_.itemWithKey(key);
    if (!node) RaiseControlError(kElementNotFound);
    return tree_.handle(node);
}

void TreeView::Collection::Remove(int index) { tree_.remove(&Item(index).item()); }
void TreeView::Collection::Remove(const std::string& key) { tree_.remove(&Item(key).item()); }
void TreeView::Collection::Remove(const TreeNode& node) { tree_.remove(&node.item()); }

void TreeView::Collection::Clear()
{
    tree_.order_.clear();
    tree_.forgetAll();
    tree_.clear();
}

} // namespace ui
