#pragma once
// The list view control in report view: items addressed by key and by 1-based
// position, each with its text, sub-items (one per column after the first),
// icons from the list's image lists by key, and selection; column headers by
// key; sorting by a column in either order; and the control's events:
// ItemClick, ColumnClick, MouseDown, KeyPress.
//
// Errors: an unknown key raises 35601, a key in use 35602, an unknown image
// key 35603, a position out of range 35600, an empty item handle 91.

#include "platform/ui/item_control.h"

#include <string>
#include <vector>

namespace ui {

class ImageList;
class ListView;

enum class ColumnAlignment { Left = 0, Right = 1, Center = 2 };
enum class SortOrder { Ascending = 0, Descending = 1 };

class ListItem : public ItemHandle<ListView> {
public:
    using ItemHandle::ItemHandle;

    int Index() const;
    bool Selected() const;
    void setSelected(bool selected) const;
    std::string Icon() const;
    void setIcon(const std::string& key) const;
    std::string SmallIcon() const;
    void setSmallIcon(const std::string& key) const;
    // The item's check box, while the list shows check boxes.
    bool Checked() const;
    void setChecked(bool checked) const;

    int SubItemCount() const;
    // Sub-item 1 fills the second column, 2 the third, and so on; "" when unset.
    std::string SubItem(int index) const;
    void setSubItem(int index, const std::string& text) const;
    // Inserts a sub-item at the 1-based position (0 appends), moving those
    // from there one column to the right.
    void AddSubItem(int index, const std::string& text) const;

private:
    friend class ListView;
};

class ListView : public ItemControl {
    Q_OBJECT
    struct Column {
        std::string key;
        std::string text;
        float width;
        ColumnAlignment alignment;
    };

public:
    explicit ListView(QWidget* parent = nullptr);

    class Items {
    public:
        int Count() const;
        // Inserts an item at the 1-based position (0 appends).
        ListItem Add(int index, const std::string& key, const std::string& text, const std::string& icon = {},
                     const std::string& smallIcon = {});
        ListItem Item(int index) const;
        ListItem Item(const std::string& key) const;
        void Remove(int index);
        void Remove(const std::string& key);
        void Clear();

    private:
        friend class ListView;
        explicit Items(ListView& list) : list_(list) {}
        ListView& list_;
    };

    class Columns {
    public:
        int Count() const;
        // Inserts a column at the 1-based position (0 appends); width in twips.
        void Add(int index, const std::string& key, const std::string& text, float width = 1440,
                 ColumnAlignment alignment = ColumnAlignment::Left);
        std::string Key(int index) const;
        std::string Text(int index) const;
        float Width(int index) const;
        ColumnAlignment Alignment(int index) const;
        void Remove(int index);
        void Remove(const std::string& key);
        void Clear();

    private:
        friend class ListView;
        explicit Columns(ListView& list) : list_(list) {}
        int positionOf(const std::string& key) const;
        const Column& at(int index) const;
        ListView& list_;
    };

    Items& ListItems() { return items_; }
    const Items& ListItems() const { return items_; }
    Columns& ColumnHeaders() { return columns_; }
    const Columns& ColumnHeaders() const { return columns_; }

    ImageList* Icons() const { return icons_; }
    void setIcons(ImageList* list) { icons_ = list; }
    ImageList* SmallIcons() const { return smallIcons_; }
    void setSmallIcons(ImageList* list) { smallIcons_ = list; }

    bool HideColumnHeaders() const;
    void setHideColumnHeaders(bool hide);
    bool MultiSelect() const;
    void setMultiSelect(bool multiple);
    // Whether every item shows a check box (unchecked when it is added).
    bool Checkboxes() const { return checkboxes_; }
    void setCheckboxes(bool show);

    // While Sorted, the items stay ordered by the column SortKey (0 the item
    // text, k sub-item k), in SortOrder, comparing texts without regard to case.
    bool Sorted() const { return sorted_; }
    void setSorted(bool sorted);
    int SortKey() const { return sortKey_; }
    void setSortKey(int key);
    SortOrder sortOrder() const { return sortOrder_; }
    void setSortOrder(SortOrder order);

    // The focused item (selected or not), or an empty handle.
    ListItem SelectedItem();
    // The item at the point (twips, in the control), or an empty handle.
    ListItem HitTest(float x, float y);

signals:
    // A press on an item, after the control selected it; and an item that a
    // key made the selected one.
    void ItemClick(ui::ListItem item);
    // A click on the header of the column at the 1-based position.
    void ColumnClick(int column);

protected:
    void pressedOn(QTreeWidgetItem* item, const QPoint& position) override;
    void selectedByKey(QTreeWidgetItem* item) override;

private:
    friend class ListItem;
    class Row;
    static Row& rowOf(QTreeWidgetItem& item);
    ListItem handle(QTreeWidgetItem* item) { return item ? ListItem(this, idOf(item)) : ListItem(); }
    void showColumns();
    void showAlignments(QTreeWidgetItem* item) const;
    void showIcon(QTreeWidgetItem* item, const std::string& key) const;
    void showSmallIcon(QTreeWidgetItem* item, const std::string& key) const;
    void sortNow();
    void remove(QTreeWidgetItem* item);
    void showCheckbox(QTreeWidgetItem* item) const;

    Items items_{*this};
    Columns columns_{*this};
    std::vector<Column> columnList_;
    ImageList* icons_ = nullptr;
    ImageList* smallIcons_ = nullptr;
    bool sorted_ = false;
    bool checkboxes_ = false;
    int sortKey_ = 0;
    SortOrder sortOrder_ = SortOrder::Ascending;
};

} // namespace ui
