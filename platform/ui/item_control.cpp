#include "platform/ui/item_control.h"

#include "platform/ui/control_errors.h"
#include "platform/ui/mouse_keys.h"
#include "platform/ui/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

namespace {

constexpr int kIdRole = Qt::UserRole + 100;
constexpr int kKeyRole = Qt::UserRole + 101;

} // namespace

ItemControl::ItemControl(QWidget* parent) : QTreeWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ItemControl::setHideSelection(bool hide)
{
    hideSelection_ = hide;
    QPalette colours = palette();
    const QPalette standard = QApplication::palette(this);
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     hide ? standard.color(QPalette::Inactive, QPalette::Base)
                          : standard.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     hide ? standard.color(QPalette::Inactive, QPalette::Text)
                          : standard.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

void ItemControl::enroll(QTreeWidgetItem* item, const std::string& key)
{
    const ItemId id = nextId_++;
    item->setData(0, kIdRole, QVariant::fromValue(id));
    items_[id] = item;
    if (key.empty()) return;
    item->setData(0, kKeyRole, QString::fromStdString(key));
    keys_[key] = id;
}

void ItemControl::forget(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i) forget(item->child(i));
    items_.erase(idOf(item));
    const std::string key = keyOf(item);
    if (!key.empty()) keys_.erase(key);
}

void ItemControl::forgetAll()
{
    items_.clear();
    keys_.clear();
}

void ItemControl::requireFreeKey(const std::string& key) const
{
    if (!key.empty() && keys_.count(key)) RaiseControlError(kKeyNotUnique);
}

QTreeWidgetItem* ItemControl::itemWithKey(const std::string& key) const
{
    const auto found = keys_.find(key);
    return found == keys_.end() ? nullptr : itemForHandle(found->second);
}

QTreeWidgetItem* ItemControl::itemForHandle(quint64 id) const
{
    const auto found = items_.find(id);
    return found == items_.end() ? nullptr : found->second;
}

ItemControl::ItemId ItemControl::idOf(const QTreeWidgetItem* item) { return item->data(0, kIdRole).toULongLong(); }

std::string ItemControl::keyOf(const QTreeWidgetItem* item) { return item->data(0, kKeyRole).toString().toStdString(); }

QTreeWidgetItem* ItemControl::itemAtTwips(float x, float y) const
{
    return itemAt(QPoint(TwipsToPixels(int(x)), TwipsToPixels(int(y))));
}

void ItemControl::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    emit MouseDown(MouseButtonCode(event->button()), ShiftState(event->modifiers()),
                   float(position.x() * kTwipsPerPixel), float(position.y() * kTwipsPerPixel));
    QPointer<ItemControl> alive(this);
    QTreeWidget::mousePressEvent(event);
    if (!alive) return;
    if (QTreeWidgetItem* item = itemAt(position)) pressedOn(item, position);
}

void ItemControl::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* before = currentItem();
    const ItemId beforeId = before ? idOf(before) : 0;
    QPointer<ItemControl> alive(this);
    if (const int code = KeyAscii(*event)) {
        emit KeyPress(code);
        if (!alive) return;
    }
    QTreeWidget::keyPressEvent(event);
    if (!alive || (before && !itemForHandle(beforeId))) return;
    QTreeWidgetItem* after = currentItem();
    if (after && after != before && after->isSelected()) selectedByKey(after);
}

} // namespace ui
