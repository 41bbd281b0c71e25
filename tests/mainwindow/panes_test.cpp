// The panes' node keys and kinds, and the file types and icons of their
// documents.

#include "app/mainwindow/frm_main_gui.h"
#include "app/mainwindow/node_keys.h"
#include "core/core_fixture.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/image_list.h"
#include "platform/ui/screen.h"

#include <QLabel>

namespace {

class PanesTest : public CoreTest {
protected:
    ~PanesTest() override { ui::FormInstance<FrmMainGUI>::unload(); }
    static FrmMainGUI& window() { return ui::FormInstance<FrmMainGUI>::get(); }
    ui::ScopedScreenSize screen_{{12000, 9000}};
};

TEST_F(PanesTest, NodesNamedLikeTheFixedKeysNeitherCollideNorPassForThem)
{
    ui::TreeView& tree = *window().tvBottom;
    const auto add = [&](const ui::TreeNode& parent, const std::string& key, const std::string& text, NodeKind kind) {
        const ui::TreeNode node = tree.Nodes().Add(parent, ui::Relationship::Child, key, text);
        SetNodeKind(node, kind);
        return node;
    };
    const ui::TreeNode network = add({}, EntireNetworkNodeKey(), "Entire Network", NodeKind::EntireNetwork);
    const ui::TreeNode domain = add(network, DomainNodeKey(2), "CORP", NodeKind::Domain);
    add(domain, DomainServerNodeKey(1, 2), "SPS2", NodeKind::DomainServer);
    const ui::TreeNode root = add({}, RootNodeKey(), "SPSDEST", NodeKind::ServerRoot);
    for (const char* name : {"E1", "Root", "D1 2", "M1 1 2", "n:E1"})
        EXPECT_NO_THROW(add(root, NamedNodeKey(name), name, NodeKind::Workspace)) << name;

    EXPECT_EQ(tree.Nodes().Item("E1"), network);
    EXPECT_EQ(NodeKindOf(tree.Nodes().Item("D1 2")), NodeKind::Domain);
    EXPECT_EQ(NodeKindOf(tree.Nodes().Item(NamedNodeKey("D1 2"))), NodeKind::Workspace);
    EXPECT_EQ(tree.Nodes().Item(NamedNodeKey("Root")).Parent(), root);
    EXPECT_TRUE(IsServerNode(NodeKindOf(tree.Nodes().Item("M1 1 2"))));
    EXPECT_FALSE(IsServerNode(NodeKindOf(tree.Nodes().Item(NamedNodeKey("M1 1 2")))));
}

TEST(NodeKeys, FixedKeysAndTheirDomainNumbers)
{
    EXPECT_EQ(DomainNodeKey(1), "D1 1");
    EXPECT_EQ(DomainServerNodeKey(1, 2), "M1 1 2");
    EXPECT_EQ(DomainNumberOfKey(DomainNodeKey(10)), 10); // not the first domain's
    EXPECT_EQ(DomainNumberOfKey(DomainServerNodeKey(3, 12)), 3);
    EXPECT_EQ(DomainNumberOfKey("Root"), std::nullopt);
    EXPECT_EQ(DomainNumberOfKey(NamedNodeKey("D1 2")), std::nullopt);
}

TEST_F(PanesTest, ATypeNameComesFromTheNameAloneAndItsIconIsStoredOncePerList)
{
    FrmMainGUI& w = window();
    const std::string pdf = w.GetKey("never-written.pdf");
    EXPECT_FALSE(pdf.empty());
    EXPECT_EQ(w.GetKey("Budget.PDF"), pdf);
    EXPECT_NE(w.GetKey("notes.txt"), pdf);
    EXPECT_EQ(w.GetKey("data.qqz"), "QQZ File");
    EXPECT_EQ(w.GetKey("quarterly_numbers"), "File");

    ui::ImageList& top = *w.ImageList_TopTreeList;
    ui::ImageList& bottom = *w.ImageList_BottomTreeList;
    EXPECT_TRUE(w.StoreIcons("a.pdf", std::int16_t(top.Count() + 1), true));
    EXPECT_FALSE(w.StoreIcons("b.pdf", std::int16_t(top.Count() + 1), true)); // the same type
    EXPECT_EQ(top.Keys().back(), pdf);
    EXPECT_EQ(bottom.Keys().back(), pdf); // for the destination's pending rows
    EXPECT_EQ(top.Picture(pdf).size(), QSize(16, 16));

    EXPECT_TRUE(w.StoreIcons("c.qqz", std::int16_t(bottom.Count() + 1), false));
    EXPECT_FALSE(w.StoreIcons("d.qqz", std::int16_t(top.Count() + 1), true)); // new to the top, known below
    EXPECT_EQ(top.Keys().back(), "QQZ File");
    EXPECT_TRUE(w.tempPicture->pixmap().isNull());
    std::string padded("**abc\0xyz", 9); // as a fixed-length text comes back
    EXPECT_EQ(w.StripNulls(padded), "abc");
    EXPECT_TRUE(logLines().empty());
}

} // namespace
