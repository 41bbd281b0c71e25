#include "platform/ui/list_view.h"

#include "platform/ui/image_list.h"
#include "platform/ui/twips.h"

#include <QHeaderView>
#include <QIcon>

#include <algorithm>
#include <memory>

namespace ui {

namespace {

constexpr int kIconRole = Qt::UserRole + 1;
constexpr int kSmallIconRole = Qt::UserRole + 2;

QString qt(const std::string& text) { return QString::fromStdString(text); }

Qt::Alignment qtAlignment(ColumnAlignment alignment)
{
    switch (alignment) {
    case ColumnAlignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

// --- ListView::Row --------------------------------------------------------

// A row of the list. Its sub-items live here, and the columns after the first
// read them, so that a change of sub-items is one change of the row.
class ListView::Row : public QTreeWidgetItem {
public:
    explicit Row(const QString& text) : QTreeWidgetItem(QStringList{text}, UserType) {}

    const QStringList& subItems() const { return subItems_; }

    void setSubItem(qsizetype position, const QString& text)
    {
        if (position >= subItems_.size()) subItems_.resize(position + 1);
        subItems_[position] = text;
        emitDataChanged();
    }

    void insertSubItem(qsizetype position, const QString& text)
    {
        subItems_.insert(position, text);
        emitDataChanged();
    }

    QVariant data(int column, int role) const override
    {
        if (column > 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            return column <= subItems_.size() ? subItems_[column - 1] : QString();
        return QTreeWidgetItem::data(column, role);
    }

private:
    QStringList subItems_;
};

// Every item of the list is a row made by Items::Add.
ListView::Row& ListView::rowOf(QTreeWidgetItem& item) { return static_cast<Row&>(item); }

// --- ListItem ---------------------------------------------------------------

int ListItem::Index() const { return control().indexOfTopLevelItem(&item()) + 1; }
bool ListItem::Selected() const { return item().isSelected(); }
void ListItem::setSelected(bool selected) const { item().setSelected(selected); }
std::string ListItem::Icon() const { return item().data(0, kIconRole).toString().toStdString(); }
void ListItem::setIcon(const std::string& key) const { control().showIcon(&item(), key); }
std::string ListItem::SmallIcon() const { return item().data(0, kSmallIconRole).toString().toStdString(); }
void ListItem::setSmallIcon(const std::string& key) const { control().showSmallIcon(&item(), key); }

bool ListItem::Checked() const { return item().checkState(0) == Qt::Checked; }

void ListItem::setChecked(bool checked) const { item().setCheckState(0, checked ? Qt::Checked : Qt::Unchecked); }

int ListItem::SubItemCount() const { return int(ListView::rowOf(item()).subItems().size()); }

std::string ListItem::SubItem(int index) const
{
    const QStringList& items = ListView::rowOf(item()).subItems();
    if (index < 1) RaiseControlError(kIndexOutOfBounds);
    return index <= items.size() ? items[index - 1].toStdString() : std::string();
}

void ListItem::setSubItem(int index, const std::string& text) const
{
    ListView::Row& row = ListView::rowOf(item());
    if (index < 1) RaiseControlError(kIndexOutOfBounds);
    row.setSubItem(index - 1, qt(text));
}

void ListItem::AddSubItem(int index, const std::string& text) const
{
    ListView::Row& row = ListView::rowOf(item());
    const qsizetype count = row.subItems().size();
    if (index < 0 || index > count + 1) RaiseControlError(kIndexOutOfBounds);
    row.insertSubItem(index == 0 ? count : index - 1, qt(text));
}

// --- ListView ---------------------------------------------------------------

ListView::ListView(QWidget* parent) : ItemControl(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int section) { emit ColumnClick(section + 1); });
    header()->hide();
    showColumns();
}

bool ListView::HideColumnHeaders() const { return header()->isHidden(); }
void ListView::setHideColumnHeaders(bool hide) { header()->setHidden(hide); }

bool ListView::MultiSelect() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }

void ListView::setMultiSelect(bool multiple)
{
    setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void ListView::setCheckboxes(bool show)
{
    checkboxes_ = show;
    for (int i = 0; i < topLevelItemCount(); ++i) showCheckbox(topLevelItem(i));
}

void ListView::showCheckbox(QTreeWidgetItem* item) const
{
    if (checkboxes_) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        if (!item->data(0, Qt::CheckStateRole).isValid()) item->setCheckState(0, Qt::Unchecked);
    } else {
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setData(0, Qt::CheckStateRole, QVariant());
    }
}

void ListView::setSorted(bool sorted)
{
    sorted_ = sorted;
    sortNow();
}

void ListView::setSortKey(int key)
{
    sortKey_ = key;
    sortNow();
}

void ListView::setSortOrder(SortOrder order)
{
    sortOrder_ = order;
    sortNow();
}

ListItem ListView::SelectedItem() { return handle(currentItem()); }

ListItem ListView::HitTest(float x, float y) { return handle(itemAtTwips(x, y)); }

void ListView::pressedOn(QTreeWidgetItem* item, const QPoint&) { emit ItemClick(handle(item)); }
void ListView::selectedByKey(QTreeWidgetItem* item) { emit ItemClick(handle(item)); }

void ListView::showColumns()
{
    const int count = std::max<int>(1, int(columnList_.size()));
    setColumnCount(count);
    QStringList titles;
    for (const Column& column : columnList_) titles << qt(column.text);
    if (titles.isEmpty()) titles << QString();
    setHeaderLabels(titles);
    for (int i = 0; i < int(columnList_.size()); ++i) {
        setColumnWidth(i, TwipsToPixels(int(columnList_[i].width)));
        headerItem()->setTextAlignment(i, qtAlignment(columnList_[i].alignment));
    }
    for (int i = 0; i < topLevelItemCount(); ++i) showAlignments(topLevelItem(i));
}

// The item's texts sit in their columns as the columns align them.
void ListView::showAlignments(QTreeWidgetItem* item) const
{
    for (int column = 0; column < int(columnList_.size()); ++column)
        item->setTextAlignment(column, qtAlignment(columnList_[column].alignment));
}

void ListView::showIcon(QTreeWidgetItem* item, const std::string& key) const
{
    ImageOf(icons_, key);
    item->setData(0, kIconRole, qt(key));
}

void ListView::showSmallIcon(QTreeWidgetItem* item, const std::string& key) const
{
    item->setIcon(0, IconOf(smallIcons_, key));
    item->setData(0, kSmallIconRole, qt(key));
}

void ListView::sortNow()
{
    if (!sorted_ || topLevelItemCount() < 2) return;
    QTreeWidgetItem* current = currentItem();
    std::vector<std::pair<QTreeWidgetItem*, bool>> rows;
    while (topLevelItemCount() > 0) {
        QTreeWidgetItem* row = topLevelItem(0);
        rows.emplace_back(row, row->isSelected());
        takeTopLevelItem(0);
    }
    const int key = sortKey_;
    const auto sortText = [key](QTreeWidgetItem* row) {
        if (key == 0) return row->text(0);
        const QStringList& subItems = rowOf(*row).subItems();
        return key <= subItems.size() ? subItems[key - 1] : QString();
    };
    const bool descending = sortOrder_ == SortOrder::Descending;
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
        const int order = QString::compare(sortText(a.first), sortText(b.first), Qt::CaseInsensitive);
        return descending ? order > 0 : order < 0;
    });
    for (const auto& [row, selected] : rows) {
        addTopLevelItem(row);
        row->setSelected(selected);
    }
    if (current) setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
}

void ListView::remove(QTreeWidgetItem* item)
{
    forget(item);
    delete item;
}

// --- ListView::Items --------------------------------------------------------

int ListView::Items::Count() const { return list_.topLevelItemCount(); }

ListItem ListView::Items::Add(int index, const std::string& key, const std::string& text, const std::string& icon,
                              const std::string& smallIcon)
{
    if (index < 0 || index > Count() + 1) RaiseControlError(kIndexOutOfBounds);
    list_.requireFreeKey(key);

    // The row is made whole before it joins the list, which then takes it in
    // at once instead of hearing of each of its parts; an unknown image key
    // leaves the list as it was.
    auto row = std::make_unique<Row>(qt(text));
    if (!icon.empty()) list_.showIcon(row.get(), icon);
    if (!smallIcon.empty()) list_.showSmallIcon(row.get(), smallIcon);
    list_.showCheckbox(row.get());
    list_.showAlignments(row.get());
    list_.enroll(row.get(), key);
    list_.insertTopLevelItem(index == 0 ? Count() : index - 1, row.get());
    ListItem added = list_.handle(row.release());
    list_.sortNow();
    return added;
}

ListItem ListView::Items::Item(int index) const
{
    if (index < 1 || index > Count()) RaiseControlError(kIndexOutOfBounds);
    return list_.handle(list_.topLevelItem(index - 1));
}

ListItem ListView::Items::Item(const std::string& key) const
{
    QTreeWidgetItem* row = list_.itemWithKey(key);
    if (!row) RaiseControlError(kElementNotFound);
    return list_.handle(row);
}

void ListView::Items::Remove(int index) { list_.remove(&Item(index).item()); }
void ListView::Items::Remove(const std::string& key) { list_.remove(&Item(key).item()); }

void ListView::Items::Clear()
{
    list_.forgetAll();
    list_.clear();
}

// --- ListView::Columns ------------------------------------------------------

int ListView::Columns::Count() const { return int(list_.columnList_.size()); }

void ListView::Columns::Add(int index, const std::string& key, const std::string& text, float width,
                            ColumnAlignment alignment)
{
    if (index < 0 || index > Count() + 1) RaiseControlError(kIndexOutOfBounds);
    if (!key.empty() && positionOf(key) > 0) RaiseControlError(kKeyNotUnique);
    auto& columns = list_.columnList_;
    columns.insert(index == 0 ? columns.end() : columns.begin() + (index - 1), Column{key, text, width, alignment});
    list_.showColumns();
}

int ListView::Columns::positionOf(const std::string& key) const
{
    const auto& columns = list_.columnList_;
    const auto found = std::find_if(columns.begin(), columns.end(), [&](const Column& c) { return c.key == key; });
    return found == columns.end() ? 0 : int(found - columns.begin()) + 1;
}

const ListView::Column& ListView::Columns::at(int index) const
{
    if (index < 1 || index > Count()) RaiseControlError(kIndexOutOfBounds);
    return list_.columnList_[index - 1];
}

std::string ListView::Columns::Key(int index) const { return at(index).key; }
std::string ListView::Columns::Text(int index) const { return at(index).text; }
float ListView::Columns::Width(int index) const { return at(index).width; }
ColumnAlignment ListView::Columns::Alignment(int index) const { return at(index).alignment; }

void ListView::Columns::Remove(int index)
{
    at(index);
    list_.columnList_.erase(list_.columnList_.begin() + (index - 1));
    list_.showColumns();
}

void ListView::Columns::Remove(const std::string& key)
{
    const int position = positionOf(key);
    if (position == 0) RaiseControlError(kElementNotFound);
    Remove(position);
}

void ListView::Columns::Clear()
{
    list_.columnList_.clear();
    list_.showColumns();
}

} // namespace ui
