// The window controls: keys, indices and relatives, the error numbers the
// forms' traps rely on, images by key, the events and their order.

#include "platform/ui/control_errors.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_view.h"
#include "platform/ui/mouse_keys.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/tree_view.h"
#include "support/qt_application.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QTest>

#include <functional>
#include <utility>
#include <vector>

namespace {

using ui::Relationship;

// The error number a statement raises, or 0.
com::HRESULT ErrorOf(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const com::ComError& error) {
        return error.number();
    }
    return 0;
}

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest()
    {
        testing_support::EnsureQtApplication();
        for (const char* key : {"server", "folder", "finding1"}) images.Add(0, key, QPixmap(16, 16));
    }
    ui::ImageList images;
};

TEST_F(ControlsTest, TreeNodesRaiseTheControlErrorsAndAddNothingWhenRefused)
{
    ui::TreeView tree;
    tree.setImageList(&images);
    const ui::TreeNode root = tree.Nodes().Add(ui::TreeNode(), Relationship::Last, "Root", "SPSSOURCE", "server");
    const ui::TreeNode leaf = tree.Nodes().Add(root, Relationship::Child, "", "Docs", "folder");

    const struct {
        const char* what;
        std::function<void()> statement;
        com::HRESULT error;
    } cases[] = {
        {"key in use", [&] { tree.Nodes().Add(root, Relationship::Child, "Root", "again"); }, ui::kKeyNotUnique},
        {"unknown key", [&] { tree.Nodes().Item("E1"); }, ui::kElementNotFound},
        {"index past the end", [&] { tree.Nodes().Item(3); }, ui::kIndexOutOfBounds},
        {"unknown image", [&] { tree.Nodes().Add(root, Relationship::Child, "x", "x", "nope"); }, ui::kInvalidImageKey},
        {"unknown selected image", [&] { leaf.setSelectedImage("nope"); }, ui::kInvalidImageKey},
        {"a leaf's child", [&] { leaf.Child().Text(); }, ui::kObjectNotSet},
        {"the root's parent", [&] { root.Parent().Key(); }, ui::kObjectNotSet},
        {"nothing selected", [&] { tree.SelectedItem().Selected(); }, ui::kObjectNotSet},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.statement), c.error) << c.what;
    EXPECT_EQ(tree.Nodes().Count(), 2);

    tree.Nodes().Remove("Root");
    EXPECT_EQ(ErrorOf([&] { leaf.Text(); }), ui::kObjectNotSet); // a handle outlives its node safely
    EXPECT_EQ(tree.Nodes().Count(), 0);
    EXPECT_NO_THROW(tree.Nodes().Add(ui::TreeNode(), Relationship::Last, "Root", "again")); // the key is free again
}

TEST_F(ControlsTest, TreeNodesKeepTheirAddingOrderAsIndexAndTheirPlaceAmongSiblings)
{
    ui::TreeView tree;
    auto& nodes = tree.Nodes();
    const ui::TreeNode server = nodes.Add(ui::TreeNode(), Relationship::Last, "Root", "SPS");
    const ui::TreeNode a = nodes.Add(server, Relationship::Child, "a", "A");
    const ui::TreeNode c = nodes.Add(server, Relationship::Child, "c", "C");
    nodes.Add(a, Relationship::Next, "b", "B");
    nodes.Add("a", Relationship::First, "first", "First");
    nodes.Add(c, Relationship::Child, "deep", "Deep");

    std::vector<std::string> siblings;
    for (ui::TreeNode n = server.Child(); n; n = n.Next()) siblings.push_back(n.Text());
    EXPECT_EQ(siblings, (std::vector<std::string>{"First", "A", "B", "C"}));
    EXPECT_EQ(nodes.Item("b").Index(), 4);
    EXPECT_EQ(nodes.Item("deep").FullPath(), "SPS\\C\\Deep");
    EXPECT_EQ(nodes.Item("deep").Root(), server);
    EXPECT_EQ(a.LastSibling(), c);
    EXPECT_EQ(c.FirstSibling().Key(), "first");

    nodes.Remove(a);
    EXPECT_EQ(nodes.Item("b").Index(), 3); // later nodes move up
    nodes.Remove("c");                      // with everything below it
    EXPECT_EQ(nodes.Count(), 3);
    EXPECT_EQ(ErrorOf([&] { nodes.Item("deep"); }), ui::kElementNotFound);
}

TEST_F(ControlsTest, ATreeReportsTheMouseButtonBeforeTheNodeClickAndOpeningOnlyWhenTheUserOpens)
{
    ui::TreeView tree;
    tree.resize(300, 200);
    tree.show();
    const ui::TreeNode root = tree.Nodes().Add(ui::TreeNode(), Relationship::Last, "Root", "SPS");
    tree.Nodes().Add(root, Relationship::Child, "", "Searching...");

    std::vector<std::string> events;
    QObject::connect(&tree, &ui::TreeView::MouseDown, [&](int button, int, float, float) {
        events.push_back("down " + std::to_string(button));
    });
    QObject::connect(&tree, &ui::TreeView::NodeClick, [&](ui::TreeNode n) { events.push_back("click " + n.Text()); });
    QObject::connect(&tree, &ui::TreeView::Expand, [&](ui::TreeNode n) { events.push_back("expand " + n.Text()); });

    root.setExpanded(true); // by the program: no event
    root.setExpanded(false);
    const QTreeWidgetItem* item = tree.topLevelItem(0);
    const QRect row = tree.visualItemRect(item);
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, row.center());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(row.left() - tree.indentation() / 2, row.center().y()));

    EXPECT_EQ(events, (std::vector<std::string>{"down 2", "click SPS", "down 1", "expand SPS"}));
    EXPECT_TRUE(root.Expanded());
    EXPECT_EQ(tree.HitTest(float(row.center().x() * 15), float(row.center().y() * 15)), root);
}

TEST_F(ControlsTest, ListSubItemsInsertedAtPositionOneReadInReverseAndFollowTheColumns)
{
    ui::ListView list;
    list.setSmallIcons(&images);
    ui::ListItem row = list.ListItems().Add(0, "", "report.pdf", "", "folder");
    for (const char* text : {"12/7/2026 10:44:30 PM", "1.2 KB", "PDF document"}) row.AddSubItem(1, text);
    EXPECT_EQ(row.SubItem(1), "PDF document");
    EXPECT_EQ(row.SubItem(3), "12/7/2026 10:44:30 PM");

    list.ColumnHeaders().Add(0, "k1", "File Name", 2250);
    list.ColumnHeaders().Add(0, "k2", "File Type", 1670, ui::ColumnAlignment::Center);
    QTreeWidgetItem* shown = list.topLevelItem(0);
    EXPECT_EQ(shown->text(1), "PDF document");
    list.ColumnHeaders().Add(0, "k3", "File Size");
    EXPECT_EQ(shown->text(2), "1.2 KB");
    EXPECT_EQ(list.columnWidth(0), 150); // 2250 twips

    EXPECT_EQ(ErrorOf([&] { list.ColumnHeaders().Add(0, "k2", "again"); }), ui::kKeyNotUnique);
    EXPECT_EQ(ErrorOf([&] { list.ColumnHeaders().Remove("k9"); }), ui::kElementNotFound);
    list.ColumnHeaders().Remove("k2");
    EXPECT_EQ(shown->text(1), "PDF document"); // sub-items stay, the columns show them in order
    EXPECT_EQ(list.ColumnHeaders().Key(2), "k3");
}

// A view repaints what its model says has changed: a change of sub-items
// must name every column of the row, not only the first.
TEST_F(ControlsTest, AChangeOfSubItemsTellsTheViewOfTheWholeRowAlignedAsItsColumns)
{
    ui::ListView list;
    list.ColumnHeaders().Add(0, "k1", "File Name");
    list.ColumnHeaders().Add(0, "k2", "File Size", 1440, ui::ColumnAlignment::Right);
    list.ColumnHeaders().Add(0, "k3", "Last Modified");
    const ui::ListItem row = list.ListItems().Add(0, "", "a.txt");
    std::vector<std::pair<int, int>> changed;
    QObject::connect(list.model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& first, const QModelIndex& last) {
                         changed.emplace_back(first.column(), last.column());
                     });

    row.AddSubItem(1, "12/7/2026 10:44:30 PM");
    row.AddSubItem(1, "1 KB");
    row.setSubItem(2, "12/8/2026 9:00:00 AM");

    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>(3, {0, 2})));
    const QTreeWidgetItem* shown = list.topLevelItem(0);
    EXPECT_EQ(shown->text(1), "1 KB");
    EXPECT_EQ(shown->text(2), "12/8/2026 9:00:00 AM");
    EXPECT_EQ(shown->textAlignment(1), int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST_F(ControlsTest, ListItemsRaiseTheControlErrorsAndAddNothingWhenRefused)
{
    ui::ListView list;
    list.setSmallIcons(&images);
    list.ListItems().Add(0, "Docs", "Docs", "", "folder");
    const struct {
        const char* what;
        std::function<void()> statement;
        com::HRESULT error;
    } cases[] = {
        {"key in use", [&] { list.ListItems().Add(0, "Docs", "Docs"); }, ui::kKeyNotUnique},
        {"unknown small icon", [&] { list.ListItems().Add(0, "x", "x", "", "PDF document"); }, ui::kInvalidImageKey},
        {"no large icons", [&] { list.ListItems().Add(0, "y", "y", "folder"); }, ui::kInvalidImageKey},
        {"position past the end", [&] { list.ListItems().Add(3, "z", "z"); }, ui::kIndexOutOfBounds},
        {"unknown key", [&] { list.ListItems().Item("nope"); }, ui::kElementNotFound},
        {"nothing under the point", [&] { list.HitTest(0, 15000).Text(); }, ui::kObjectNotSet},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.statement), c.error) << c.what;
    EXPECT_EQ(list.ListItems().Count(), 1);
}

TEST_F(ControlsTest, ASortedListOrdersByItsSortKeyWithoutRegardToCase)
{
    ui::ListView list;
    for (const auto& [name, size] : {std::pair{"b.txt", "2 KB"}, {"A.txt", "3 KB"}, {"c.txt", "1 KB"}})
        list.ListItems().Add(0, "", name).AddSubItem(1, size);
    const auto names = [&] {
        std::vector<std::string> texts;
        for (int i = 1; i <= list.ListItems().Count(); ++i) texts.push_back(list.ListItems().Item(i).Text());
        return texts;
    };
    list.setSorted(true);
    EXPECT_EQ(names(), (std::vector<std::string>{"A.txt", "b.txt", "c.txt"}));
    list.setSortKey(1);
    list.setSortOrder(ui::SortOrder::Descending);
    EXPECT_EQ(names(), (std::vector<std::string>{"A.txt", "b.txt", "c.txt"})); // 3 KB, 2 KB, 1 KB
    list.setSortOrder(ui::SortOrder::Ascending);
    EXPECT_EQ(names(), (std::vector<std::string>{"c.txt", "b.txt", "A.txt"}));
}

TEST_F(ControlsTest, ImageListsAndToolBarsAddressByKeyAndIndex)
{
    EXPECT_EQ(ErrorOf([&] { images.Add(0, "folder", QPixmap(16, 16)); }), ui::kKeyNotUnique);
    EXPECT_EQ(ErrorOf([&] { images.Add(9, "new", QPixmap(16, 16)); }), ui::kIndexOutOfBounds);
    EXPECT_EQ(ErrorOf([&] { images.Picture("nope"); }), ui::kInvalidImageKey);
    images.Add(1, "first", QPixmap(32, 32));
    EXPECT_EQ(images.Keys(), (std::vector<std::string>{"first", "server", "folder", "finding1"}));
    EXPECT_EQ(images.Picture("first").size(), QSize(16, 16));

    ui::ToolBar bar;
    bar.setImageList(&images);
    bar.AddButton("Add", "add", "Copy", "Copy selected item ");
    bar.AddSeparator();
    bar.AddButton("Remove", "remove", "Remove", "Delete copied item");
    std::vector<int> clicked;
    QObject::connect(&bar, &ui::ToolBar::ButtonClick, [&](int index) { clicked.push_back(index); });
    bar.Buttons(3).action()->trigger();
    bar.Buttons(1).action()->trigger();
    EXPECT_EQ(clicked, (std::vector<int>{3, 1}));
    EXPECT_TRUE(bar.Buttons(2).isSeparator());
    EXPECT_EQ(bar.Buttons(1).ToolTipText(), "Copy selected item "); // trailing blank kept
    EXPECT_EQ(ErrorOf([&] { bar.Buttons(4); }), ui::kIndexOutOfBounds);
    EXPECT_EQ(ErrorOf([&] { bar.Buttons(1).setImage("nope"); }), ui::kInvalidImageKey);
}

TEST_F(ControlsTest, TheProgressBarKeepsSinglePrecisionValuesWithinItsRange)
{
    ui::ProgressBar bar;
    bar.setValue(33.333332f);
    EXPECT_EQ(bar.Value(), 33.333332f);
    EXPECT_EQ(ErrorOf([&] { bar.setValue(100.5f); }), ui::kInvalidPropertyValue);
    bar.setMax(20);
    EXPECT_EQ(bar.Value(), 20); // a smaller maximum takes the value with it
}

TEST(StatusPanels, DateAndTimeTexts)
{
    const struct {
        sys::DateParts time;
        const char* date;
        const char* clock;
    } cases[] = {
        {{2026, 12, 7, 22, 44, 30}, "12/7/2026", "10:44 PM"},
        {{2027, 1, 1, 0, 5, 0}, "1/1/2027", "12:05 AM"},
        {{2027, 6, 30, 12, 0, 0}, "6/30/2027", "12:00 PM"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::PanelDateText(sys::MakeDateTime(c.time)), c.date);
        EXPECT_EQ(ui::PanelTimeText(sys::MakeDateTime(c.time)), c.clock);
    }
}

TEST(KeyAscii, TheCodeComesFromTheKeyAndItsModifiersNotFromItsText)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text; // what different windowing systems put in the event
        int code;
    } cases[] = {
        {Qt::Key_A, Qt::ControlModifier, "\x01", 1},
        {Qt::Key_A, Qt::ControlModifier, "a", 1},
        {Qt::Key_C, Qt::ControlModifier, "", 3},
        {Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "V", 22},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 27},
        {Qt::Key_Return, Qt::NoModifier, "\r", 13},
        {Qt::Key_X, Qt::NoModifier, "x", 'x'},
        {Qt::Key_Shift, Qt::ShiftModifier, "", 0},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
        EXPECT_EQ(ui::KeyAscii(event), c.code) << c.key << " " << c.text;
    }
}

} // namespace
