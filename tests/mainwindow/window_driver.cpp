#include "window_driver.h"

#include "app/dialogs/frm_connecting.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/modal_dialog.h"
#include "platform/ui/tool_bar.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

void ui::PrintTo(const ShownMessage& message, std::ostream* out) { *out << message.style << ": " << message.text; }

namespace window_testing {

namespace {

std::string PathText(const Texts& path)
{
    std::string text;
    for (const std::string& part : path) text += "\\" + part;
    return text;
}

void PressAt(QWidget* viewport, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mousePress(viewport, button, modifiers, at);
    QTest::mouseRelease(viewport, button, modifiers, at);
}

} // namespace

void ConnectSource(FrmMainGUI& window, const char* server)
{
    ui::ScriptedDialogs dialogs;
    dialogs.answer("frmConnecting", [server](QDialog& shown) {
        auto& dialog = static_cast<frmConnecting&>(shown);
        dialog.txtURL->setText(QString::fromUtf8(server));
        QTest::mouseClick(dialog.CmdOk, Qt::LeftButton);
    });
    window.DoRealConnection();
    EXPECT_EQ(dialogs.shown(), Texts{"frmConnecting"});
}

void ConnectDestination(FrmMainGUI& window, const char* server)
{
    window.DoRealConnectionD();
    frmConnecting& dialog = ui::FormInstance<frmConnecting>::get();
    EXPECT_TRUE(dialog.isVisible() && !dialog.isModal());
    dialog.txtURL->setText(QString::fromUtf8(server));
    QTest::mouseClick(dialog.CmdOk, Qt::LeftButton);
}

QTreeWidgetItem* ItemAt(ui::TreeView& tree, const Texts& path)
{
    QTreeWidgetItem* item = tree.topLevelItem(0);
    for (const std::string& text : path) {
        QTreeWidgetItem* parent = item;
        item = nullptr;
        for (int i = 0; parent && i < parent->childCount(); ++i)
            if (parent->child(i)->text(0).toStdString() == text) item = parent->child(i);
    }
    return item;
}

ui::TreeNode NodeAt(ui::TreeView& tree, const Texts& path)
{
    const std::string wanted = tree.Nodes().Item(1).Text() + PathText(path);
    for (int i = 1; i <= tree.Nodes().Count(); ++i)
        if (tree.Nodes().Item(i).FullPath() == wanted) return tree.Nodes().Item(i);
    return {};
}

Texts ChildTexts(ui::TreeView& tree, const Texts& path)
{
    Texts texts;
    const QTreeWidgetItem* item = ItemAt(tree, path);
    for (int i = 0; item && i < item->childCount(); ++i) texts.push_back(item->child(i)->text(0).toStdString());
    return texts;
}

void Click(ui::TreeView& tree, const Texts& path, Qt::MouseButton button)
{
    for (std::size_t depth = 0; depth < path.size(); ++depth)
        NodeAt(tree, Texts(path.begin(), path.begin() + std::ptrdiff_t(depth))).setExpanded(true);
    QTreeWidgetItem* item = ItemAt(tree, path);
    ASSERT_NE(item, nullptr) << PathText(path);
    tree.scrollToItem(item);
    PressAt(tree.viewport(), button, tree.visualItemRect(item).center());
}

void BrowseTo(ui::TreeView& tree, const Texts& path)
{
    for (std::size_t depth = 0; depth <= path.size(); ++depth)
        Click(tree, Texts(path.begin(), path.begin() + std::ptrdiff_t(depth)));
}

void ClickRows(ui::ListView& list, const Texts& texts)
{
    for (std::size_t k = 0; k < texts.size(); ++k) {
        QTreeWidgetItem* row = nullptr;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            if (list.topLevelItem(i)->text(0).toStdString() == texts[k]) row = list.topLevelItem(i);
        ASSERT_NE(row, nullptr) << texts[k];
        if (k > 0) {
            row->setSelected(true);
            continue;
        }
        list.scrollToItem(row);
        PressAt(list.viewport(), Qt::LeftButton, list.visualItemRect(row).center());
    }
}

std::vector<Texts> Rows(ui::ListView& list)
{
    std::vector<Texts> shown;
    for (int i = 1; i <= list.ListItems().Count(); ++i) {
        const ui::ListItem row = list.ListItems().Item(i);
        shown.push_back({row.Text(), row.SubItem(1), row.SubItem(2), row.SubItem(3)});
    }
    return shown;
}

Texts RowNames(ui::ListView& list)
{
    Texts names;
    for (const Texts& row : Rows(list)) names.push_back(row[0]);
    return names;
}

void Press(ui::ToolBar& bar, int button) { bar.Buttons(button).action()->trigger(); }

} // namespace window_testing
