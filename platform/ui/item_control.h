#pragma once
// What the tree view and the list view share: items that carry an id and an
// optional unique key, handles that outlive the items they name, and the
// controls' MouseDown and KeyPress events (coordinates in twips).

#include "platform/ui/control_errors.h"

#include <QPointer>
#include <QTreeWidget>

#include <string>
#include <unordered_map>

namespace ui {

class ImageList;

class ItemControl : public QTreeWidget {
    Q_OBJECT
public:
    explicit ItemControl(QWidget* parent = nullptr);

    // The selection stays visible while the control does not have the focus
    // (false), or shows only while it has (true).
    bool HideSelection() const { return hideSelection_; }
    void setHideSelection(bool hide);

    // The item a handle names, or nullptr when it is gone.
    QTreeWidgetItem* itemForHandle(quint64 id) const;
    // The key an item was added with.
    static std::string keyOf(const QTreeWidgetItem* item);

signals:
    // Raised before the control acts on the press.
    void MouseDown(int button, int shift, float x, float y);
    // Raised before the control acts on the key; only keys that type a
    // character code (see KeyAscii).
    void KeyPress(int keyAscii);

protected:
    using ItemId = quint64;

    // Gives a new item its id and key (checked unique by the caller).
    void enroll(QTreeWidgetItem* item, const std::string& key);
    // Forgets the item and everything below it; the caller deletes it.
    void forget(QTreeWidgetItem* item);
    void forgetAll();

    // Raises 35602 when the key is in use; an empty key is never in use.
    void requireFreeKey(const std::string& key) const;
    QTreeWidgetItem* itemWithKey(const std::string& key) const;
    static ItemId idOf(const QTreeWidgetItem* item);

    QTreeWidgetItem* itemAtTwips(float x, float y) const;

    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Called after the control acted on a press over an item.
    virtual void pressedOn(QTreeWidgetItem* item, const QPoint& position) = 0;
    // Called after a key (an arrow, Home, End, a page key, typing an item's
    // name) made another item the current and selected one; not when the key
    // removed the item it started on.
    virtual void selectedByKey(QTreeWidgetItem* item) = 0;

private:
    std::unordered_map<ItemId, QTreeWidgetItem*> items_;
    std::unordered_map<std::string, ItemId> keys_;
    ItemId nextId_ = 1;
    bool hideSelection_ = false;
};

// A handle on an item of a control: it stays safe to hold after the item or
// the control is gone, and then raises 91 when used, like any empty handle.
template <class Control>
class ItemHandle {
public:
    ItemHandle() = default;
    ItemHandle(Control* control, quint64 id) : control_(control), id_(id) {}

    bool isNothing() const { return !control_ || !control_->itemForHandle(id_); }

    std::string Key() const { return ItemControl::keyOf(&item()); }
    std::string Text() const { return item().text(0).toStdString(); }
    void setText(const std::string& text) const { item().setText(0, QString::fromStdString(text)); }
    explicit operator bool() const { return !isNothing(); }
    friend bool operator==(const ItemHandle& a, const ItemHandle& b)
    {
        return a.control_.data() == b.control_.data() && a.id_ == b.id_;
    }

protected:
    // The item; raises 91 when there is none.
    QTreeWidgetItem& item() const;
    Control& control() const { return *control_; }

private:
    QPointer<Control> control_;
    quint64 id_ = 0;
};

template <class Control>
QTreeWidgetItem& ItemHandle<Control>::item() const
{
    QTreeWidgetItem* found = control_ ? control_->itemForHandle(id_) : nullptr;
    if (!found) RaiseControlError(kObjectNotSet);
    return *found;
}

} // namespace ui
