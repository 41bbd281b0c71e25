// Network discovery from the destination tool bar's List Servers, through the
// share component registered into the test's network: the domains with
// store servers, their servers when a domain is opened, a server picked as
// the destination, Cancel between domains, a missing component and a network
// that changed between two discoveries.

#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/frm_auto_detect.h"
#include "app/dialogs/frm_connecting.h"
#include "app/mainwindow/domain_servers.h"
#include "app/mainwindow/frm_main_gui.h"
#include "clips.h"
#include "core/core_fixture.h"
#include "platform/com/module_loader.h"
#include "platform/net/network.h"
#include "platform/ui/animation.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/placement.h"
#include "platform/ui/screen.h"
#include "platform/ui/tool_bar.h"
#include "support/store_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include <cstdlib>

namespace {

using Texts = std::vector<std::string>;
using AutoDetect = ui::FormInstance<frmAutoDetect>;

const std::string kListQuestion =
    "Listing all SharePoint Portal Servers in the network will remove the present selection. Do you want to continue?";
const std::string kCancelQuestion = "Do you want to cancel detecting SharePoint Portal Servers?";
const std::string kFinding = "Finding SharePoint Portal Servers in the network. This may take few minutes...";

std::string Detecting(const std::string& domain)
{
    return "Detecting SharePoint Portal Servers in the domain " + domain + " ...";
}

// EMPTYDOM: a file server only. TARVEXNET: the store servers SPSSOURCE and
// SPSTARGET, a file server and an NT 4.0 machine running the store service,
// which is never listed. BERLIN: the store server SPSBERLIN.
class DiscoveryTest : public CoreTest {
protected:
    DiscoveryTest()
    {
        avigen::WriteAviFile(programFolder() / "Findcomp.avi", avigen::SearchingNetworkClip(), avigen::Coding::Rle8);
        avigen::WriteAviFile(programFolder() / "findingsp.avi", avigen::ConnectingClip(), avigen::Coding::Rle8);
        setDomains({"EMPTYDOM", "TARVEXNET", "BERLIN"});
        addHost("FILES1", "EMPTYDOM");
        network_.addServer("SPSSOURCE");
        network_.addServer("SPSTARGET");
        store::AddWorkspace("SPSTARGET", "Team");
        addHost("FILES2", "TARVEXNET");
        addHost("OLDSPS", "TARVEXNET", "4.0", {"MSDMSERV"});
        addHost("SPSBERLIN", "BERLIN", "5.0", {"MSDMSERV"});
    }
    ~DiscoveryTest() override
    {
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }

    static void setDomains(const Texts& domains) { net::WriteNetwork({net::LocalHostName(), domains}); }
    static void addHost(const std::string& name, const std::string& domain, const std::string& osVersion = "5.0",
                        const Texts& services = {})
    {
        net::HostInfo host;
        host.name = name;
        host.domain = domain;
        host.serverType = "server";
        host.osVersion = osVersion;
        host.services = services;
        net::SaveHost(host);
    }
    static void registerNetperm()
    {
        const char* bin = std::getenv("TARVEX_BUILD_BIN");
        const com::ModuleEntryPoints& module = com::LoadModule(std::string(bin ? bin : ".") + "/Netperm.so");
        ASSERT_TRUE(module.registerServer);
        ASSERT_EQ(module.registerServer(), com::S_OK);
    }

    static FrmMainGUI& window() { return ui::FormInstance<FrmMainGUI>::get(); }

    // List Servers, with the answers to its questions.
    void listServers(std::initializer_list<int> answers = {ui::vbYes})
    {
        for (int answer : answers) messageBoxes_.queueAnswer(answer);
        window().tbBottom->Buttons(2).action()->trigger();
    }

    static QTreeWidgetItem* itemWithKey(ui::TreeView& tree, const std::string& key)
    {
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (ui::ItemControl::keyOf(*it) == key) return *it;
        return nullptr;
    }
    // A left click on the node's text, as the user makes it; the nodes above
    // it are opened first, without reading them again.
    static void click(ui::TreeView& tree, const std::string& key)
    {
        QTreeWidgetItem* item = itemWithKey(tree, key);
        ASSERT_NE(item, nullptr) << key;
        for (ui::TreeNode above = tree.Nodes().Item(key).Parent(); above; above = above.Parent())
            above.setExpanded(true);
        tree.scrollToItem(item);
        const QPoint at = tree.visualItemRect(item).center();
        QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, at);
    }
    // Each node below the top node, as its key and text, depth first.
    static Texts nodes(ui::TreeView& tree)
    {
        Texts shown;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if ((*it)->parent()) shown.push_back(ui::ItemControl::keyOf(*it) + ":" + (*it)->text(0).toStdString());
        return shown;
    }
    static Texts rowTexts(ui::ListView& list)
    {
        Texts texts;
        for (int i = 1; i <= list.ListItems().Count(); ++i) texts.push_back(list.ListItems().Item(i).Text());
        return texts;
    }

    // The log's entries from the main window (the log's header, written with
    // its first entry, has others).
    Texts mainWindowErrors() const
    {
        Texts entries;
        for (const std::string& line : logLines())
            if (line.find("in MainGUI") != std::string::npos) entries.push_back(line);
        return entries;
    }

    // The boxes with the text, from the first-th box shown on.
    std::vector<ui::ShownMessage> questions(const std::string& text, std::size_t first = 0) const
    {
        std::vector<ui::ShownMessage> asked;
        const std::vector<ui::ShownMessage>& shown = messageBoxes_.shown();
        for (std::size_t i = first; i < shown.size(); ++i)
            if (shown[i].text == text) asked.push_back(shown[i]);
        return asked;
    }

    testing_support::StoreNetwork network_;
    ui::ScopedScreenSize screen_{{12000, 9000}};
};

TEST_F(DiscoveryTest, ListServersShowsTheDomainsWithStoreServersAndAPickedServerBecomesTheDestination)
{
    registerNetperm();
    FrmMainGUI& w = window();
    w.show();
    w.DoRealConnectionD();
    frmConnecting& connect = ui::FormInstance<frmConnecting>::get();
    connect.txtURL->setText("SPSSOURCE");
    QTest::mouseClick(connect.CmdOk, Qt::LeftButton);
    const Texts connected = nodes(*w.tvBottom);

    {
        const RunGuard run("", "");
        w.tbBottom->Buttons(2).action()->trigger();
    }
    EXPECT_TRUE(messageBoxes_.shown().empty()) << "refused during a run";
    listServers({ui::vbNo});
    EXPECT_EQ(nodes(*w.tvBottom), connected) << "answered No";
    EXPECT_EQ(w.txtBottom->text(), "http://SPSSOURCE");
    EXPECT_EQ(w.lvBottom->ColumnHeaders().Count(), 4);

    // What the wait form and the window show while discovery yields.
    Texts labels, windowStates;
    bool formShown = true;
    {
        ui::DoEventsHook hook([&](int) {
            frmAutoDetect& form = AutoDetect::get();
            const auto note = [](Texts& seen, std::string now) {
                if (seen.empty() || seen.back() != now) seen.push_back(std::move(now));
            };
            note(labels, form.Label1->text().toStdString());
            note(windowStates, w.isEnabled() ? "enabled" : "disabled");
            if (labels.back() == Detecting("EMPTYDOM")) w.close(); // refused while discovery works on it
            formShown = formShown && form.isVisible() && !form.parentWidget() && form.cancelMarked()
                        && form.Animation1->isPlaying() && ui::Placed(*form.Animation1).left() == 1700;
        });
        listServers();
    }
    EXPECT_EQ(labels, (Texts{kFinding, Detecting("EMPTYDOM"), Detecting("TARVEXNET"), Detecting("BERLIN")}));
    EXPECT_EQ(windowStates, (Texts{"disabled", "enabled"})) << "enabled again for the last turn";
    EXPECT_TRUE(formShown);
    EXPECT_TRUE(ui::FormInstance<FrmMainGUI>::isLoaded() && w.isVisible());
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(AutoDetect::isLoaded());
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_EQ(questions(kListQuestion).size(), 2u);
    EXPECT_EQ(questions(kListQuestion).back().style, 36);

    const ui::TreeNode root = w.tvBottom->Nodes().Item(1);
    EXPECT_EQ(root.Key(), "E1");
    EXPECT_EQ(root.Text(), "Entire Network");
    EXPECT_EQ(root.Image(), "entirenet");
    EXPECT_TRUE(root.Expanded() && root.Selected());
    EXPECT_EQ(nodes(*w.tvBottom), (Texts{"D1 1:TARVEXNET", ":Searching...", "D1 2:BERLIN", ":Searching..."}))
        << "a domain without store servers gets no number";
    EXPECT_EQ(w.tvBottom->Nodes().Item("D1 2").Image(), "listservers");
    EXPECT_EQ(rowTexts(*w.lvBottom), (Texts{"TARVEXNET", "BERLIN"}));
    EXPECT_EQ(w.lvBottom->ListItems().Item("D1 2").SmallIcon(), "listservers");
    EXPECT_EQ(gDomainServerList, "SPSSOURCE|SPSTARGET=SPSBERLIN=");
    EXPECT_EQ(w.txtBottom->text(), "");
    EXPECT_EQ(w.lvBottom->ColumnHeaders().Count(), 0);

    for (int opened = 1; opened <= 2; ++opened) {
        click(*w.tvBottom, "D1 1");
        EXPECT_EQ(nodes(*w.tvBottom), (Texts{"D1 1:TARVEXNET", "M1 1 1:SPSSOURCE", ":Searching...", "M1 1 2:SPSTARGET",
                                             ":Searching...", "D1 2:BERLIN", ":Searching..."}))
            << "opened " << opened << " times";
        EXPECT_EQ(rowTexts(*w.lvBottom), (Texts{"SPSSOURCE", "SPSTARGET"}));
        EXPECT_EQ(w.lvBottom->ListItems().Item("SPSTARGET").SmallIcon(), "server");
        EXPECT_EQ(w.txtBottom->text(), "");
    }

    click(*w.tvBottom, "M1 1 2");
    EXPECT_EQ(w.txtBottom->text(), "http://SPSTARGET");
    EXPECT_EQ(gCurrentDestUrl, "http://SPSTARGET");
    EXPECT_EQ(gDestServerName, "SPSTARGET");
    EXPECT_EQ(rowTexts(*w.lvBottom), Texts{"Team"});
    EXPECT_EQ(itemWithKey(*w.tvBottom, "M1 1 2")->child(0)->text(0), "Team");
    EXPECT_TRUE(logLines().empty());
}

// Cancel is noticed at the next domain; the title bar's close cancels too.
TEST_F(DiscoveryTest, CancelAtTheNextDomainKeepsWhatWasFoundOrGoesOnWhenAnsweredNo)
{
    registerNetperm();
    const struct {
        bool titleBar;
        int answer;
        Texts domains;
        Texts labels;
    } cases[] = {
        {false, ui::vbYes, {"TARVEXNET"}, {kFinding, Detecting("EMPTYDOM"), Detecting("TARVEXNET")}},
        {true, ui::vbNo, {"TARVEXNET", "BERLIN"},
         {kFinding, Detecting("EMPTYDOM"), Detecting("TARVEXNET"), Detecting("BERLIN")}},
    };
    for (const auto& c : cases) {
        window();
        const std::size_t before = messageBoxes_.shown().size();
        Texts labels;
        bool pressed = false;
        {
            ui::DoEventsHook hook([&](int) {
                frmAutoDetect& form = AutoDetect::get();
                const std::string label = form.Label1->text().toStdString();
                if (labels.empty() || labels.back() != label) labels.push_back(label);
                if (label != Detecting("TARVEXNET") || pressed) return;
                pressed = true;
                if (c.titleBar) form.close();
                else QTest::mouseClick(form.cmdCancel, Qt::LeftButton);
            });
            listServers({ui::vbYes, c.answer});
        }
        EXPECT_EQ(labels, c.labels) << c.titleBar;
        EXPECT_EQ(rowTexts(*window().lvBottom), c.domains) << c.titleBar;
        EXPECT_EQ(questions(kCancelQuestion, before), (std::vector<ui::ShownMessage>{{kCancelQuestion, 36}}));
        EXPECT_FALSE(AutoDetect::isLoaded());
    }
    EXPECT_TRUE(logLines().empty());
}

TEST_F(DiscoveryTest, WithoutTheComponentTheTreeKeepsItsRootAloneAndOneLineIsLogged)
{
    FrmMainGUI& w = window();
    listServers();
    EXPECT_EQ(w.tvBottom->Nodes().Count(), 1);
    EXPECT_EQ(w.tvBottom->Nodes().Item(1).Text(), "Entire Network");
    EXPECT_EQ(w.lvBottom->ListItems().Count(), 0);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(AutoDetect::isLoaded());
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_EQ(messageBoxes_.shown().size(), 1u) << "the question only";
    const Texts logged = mainWindowErrors();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], kLogTime + "No=-2147221005-due to -Invalid class stringin MainGUI-picAutoDetectOn_Click");
}

// Each discovery lists what the network holds now; a domain whose lookup
// fails (it left the network while discovery ran) is logged and lists none.
TEST_F(DiscoveryTest, ASecondDiscoveryShowsTheNetworkAsItIsNowAndNoneOfTheOldList)
{
    registerNetperm();
    FrmMainGUI& w = window();
    listServers();
    ASSERT_EQ(gDomainServerList, "SPSSOURCE|SPSTARGET=SPSBERLIN=");

    network_.setReachable("SPSBERLIN", false);
    addHost("SPSNEW", "BERLIN", "5.0", {"MSDMSERV"});
    setDomains({"TARVEXNET", "GHOST", "BERLIN"});
    {
        ui::DoEventsHook hook([&](int) {
            if (AutoDetect::get().Label1->text().toStdString() == Detecting("TARVEXNET"))
                setDomains({"TARVEXNET", "BERLIN"});
        });
        listServers();
    }
    EXPECT_EQ(gDomainServerList, "SPSSOURCE|SPSTARGET=SPSNEW=");
    EXPECT_EQ(rowTexts(*w.lvBottom), (Texts{"TARVEXNET", "BERLIN"}));
    click(*w.tvBottom, "D1 2");
    EXPECT_EQ(rowTexts(*w.lvBottom), Texts{"SPSNEW"});
    const Texts logged = mainWindowErrors();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].find(kLogTime + "No=-2147215386-due to -"), 0u) << logged[0];
    EXPECT_TRUE(logged[0].ends_with("in MainGUI-picAutoDetectOn_Click")) << logged[0];
}

TEST(DomainServerList, GroupsAreWrittenAndFoundByDomainNumber)
{
    const std::string list = DomainServerGroup({"s1", "s2"}) + DomainServerGroup({"s3"});
    EXPECT_EQ(list, "s1|s2=s3=");
    EXPECT_EQ(ServersOfDomain(list, 1), (Texts{"s1", "s2"}));
    EXPECT_EQ(ServersOfDomain(list, 2), Texts{"s3"});
    for (int outside : {0, 3, -1}) EXPECT_TRUE(ServersOfDomain(list, outside).empty()) << outside;

    std::string ten;
    for (int domain = 1; domain <= 10; ++domain) ten += DomainServerGroup({"S" + std::to_string(domain)});
    EXPECT_EQ(ServersOfDomain(ten, 10), Texts{"S10"}) << "domain 10 is not domain 1";

    EXPECT_TRUE(NamesInList(com::Variant()).empty());
    com::Variant list2 = com::Variant::StringArray({"A", "B"});
    EXPECT_EQ(NamesInList(com::Variant::ByRef(&list2)), (Texts{"A", "B"}));
}

} // namespace
