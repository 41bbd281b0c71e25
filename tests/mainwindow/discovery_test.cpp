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

// Notes what is shown now, when it differs from what was noted last.
void Note(Texts& seen, std::string now)
{
    if (seen.empty() || seen.back() != now) seen.push_back(std::move(now));
}

// TARVEXNET holds the store servers SPSSOURCE and SPSTARGET, BERLIN the store
// server SPSBERLIN, EMPTYDOM none.
class DiscoveryTest : public CoreTest {
protected:
    DiscoveryTest()
    {
        avigen::WriteAviFile(programFolder() / "Findcomp.avi", avigen::SearchingNetworkClip(), avigen::Coding::Rle8);
        avigen::WriteAviFile(programFolder() / "findingsp.avi", avigen::ConnectingClip(), avigen::Coding::Rle8);
        setDomains({"EMPTYDOM", "TARVEXNET", "BERLIN"});
        network_.addServer("SPSSOURCE");
        network_.addServer("SPSTARGET");
        store::AddWorkspace("SPSTARGET", "Team");
        addStoreServer("SPSBERLIN", "BERLIN");
    }
    ~DiscoveryTest() override
    {
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }

    static void setDomains(const Texts& domains) { net::WriteNetwork({net::LocalHostName(), domains}); }
    static void addStoreServer(const std::string& name, const std::string& domain)
    {
        net::HostInfo host;
        host.name = name;
        host.domain = domain;
        host.serverType = "server";
        host.services = {"MSDMSERV"};
        net::SaveHost(host);
    }
    static void registerNetperm()
    {
        const char* bin = std::getenv("TARVEX_BUILD_BIN");
        const com::ModuleEntryPoints& module = com::LoadModule(std::string(bin ? bin : ".") + "/Netperm.so");
        ASSERT_EQ(module.registerServer(), com::S_OK);
    }

    static FrmMainGUI& window() { return ui::FormInstance<FrmMainGUI>::get(); }

    // List Servers, with the answers to its questions.
    void listServers(std::initializer_list<int> answers = {ui::vbYes})
    {
        for (int answer : answers) messageBoxes_.queueAnswer(answer);
        window().tbBottom->Buttons(2).action()->trigger();
    }

    // A left click on the node's text, as the user makes it; the nodes above
    // it are opened first, without reading them again.
    static void click(ui::TreeView& tree, const std::string& key)
    {
        for (ui::TreeNode above = tree.Nodes().Item(key).Parent(); above; above = above.Parent())
            above.setExpanded(true);
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
            if (ui::ItemControl::keyOf(*it) != key) continue;
            const QPoint at = tree.visualItemRect(*it).center();
            QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, at);
        }
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

    testing_support::StoreNetwork network_;
    ui::ScopedScreenSize screen_{{12000, 9000}};
};

TEST_F(DiscoveryTest, ListServersShowsTheDomainsWithStoreServersAndAPickedServerBecomesTheDestination)
{
    registerNetperm();
    FrmMainGUI& w = window();
    w.show();
    w.DoRealConnectionD();
    ui::FormInstance<frmConnecting>::get().txtURL->setText("SPSSOURCE");
    QTest::mouseClick(ui::FormInstance<frmConnecting>::get().CmdOk, Qt::LeftButton);
    const Texts connected = nodes(*w.tvBottom);
    {
        const RunGuard run("", "");
        w.tbBottom->Buttons(2).action()->trigger();
    }
    listServers({ui::vbNo});
    EXPECT_EQ(nodes(*w.tvBottom), connected) << "refused during a run, then answered No";
    EXPECT_EQ(w.txtBottom->text(), "http://SPSSOURCE");

    // What the wait form and the window show while discovery yields.
    Texts labels, windowStates;
    bool formShown = true;
    {
        ui::DoEventsHook hook([&](int) {
            frmAutoDetect& form = AutoDetect::get();
            Note(labels, form.Label1->text().toStdString());
            Note(windowStates, w.isEnabled() ? "enabled" : "disabled");
            if (labels.back() == Detecting("EMPTYDOM")) w.close(); // refused while discovery works on it
            formShown = formShown && form.isVisible() && form.cancelMarked() && form.Animation1->isPlaying()
                        && ui::Placed(*form.Animation1).left() == 1700;
        });
        listServers();
    }
    EXPECT_EQ(labels, (Texts{kFinding, Detecting("EMPTYDOM"), Detecting("TARVEXNET"), Detecting("BERLIN")}));
    EXPECT_EQ(windowStates, (Texts{"disabled", "enabled"})) << "enabled again for the last turn";
    EXPECT_TRUE(formShown);
    EXPECT_TRUE(ui::FormInstance<FrmMainGUI>::isLoaded() && w.isVisible() && w.isEnabled());
    EXPECT_FALSE(AutoDetect::isLoaded());
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_EQ(messageBoxes_.shown(), (std::vector<ui::ShownMessage>{{kListQuestion, 36}, {kListQuestion, 36}}));

    EXPECT_EQ(w.tvBottom->Nodes().Item(1).Key() + ":" + w.tvBottom->Nodes().Item(1).Text(), "E1:Entire Network");
    EXPECT_EQ(nodes(*w.tvBottom), (Texts{"D1 1:TARVEXNET", ":Searching...", "D1 2:BERLIN", ":Searching..."}))
        << "a domain without store servers gets no number";
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
    }

    click(*w.tvBottom, "M1 1 2");
    EXPECT_EQ(w.txtBottom->text(), "http://SPSTARGET");
    EXPECT_EQ(gCurrentDestUrl, "http://SPSTARGET");
    EXPECT_EQ(gDestServerName, "SPSTARGET");
    EXPECT_EQ(rowTexts(*w.lvBottom), Texts{"Team"});
    EXPECT_TRUE(mainWindowErrors().empty());
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
        const std::size_t boxes = messageBoxes_.shown().size();
        Texts labels;
        {
            ui::DoEventsHook hook([&](int) {
                frmAutoDetect& form = AutoDetect::get();
                const std::size_t seen = labels.size();
                Note(labels, form.Label1->text().toStdString());
                if (labels.size() == seen || labels.back() != Detecting("TARVEXNET")) return; // once, at its text
                if (c.titleBar) form.close();
                else QTest::mouseClick(form.cmdCancel, Qt::LeftButton);
            });
            listServers({ui::vbYes, c.answer});
        }
        EXPECT_EQ(labels, c.labels) << c.titleBar;
        EXPECT_EQ(rowTexts(*window().lvBottom), c.domains) << c.titleBar;
        EXPECT_EQ(messageBoxes_.shown().size(), boxes + 2) << c.titleBar;
        EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{kCancelQuestion, 36}));
        EXPECT_FALSE(AutoDetect::isLoaded());
    }
    EXPECT_TRUE(mainWindowErrors().empty());
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
    addStoreServer("SPSNEW", "BERLIN");
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
    std::string list;
    for (int domain = 1; domain <= 10; ++domain) list += DomainServerGroup({"A" + std::to_string(domain), "B"});
    EXPECT_EQ(list.substr(0, 10), "A1|B=A2|B=");
    EXPECT_EQ(ServersOfDomain(list, 10), (Texts{"A10", "B"})) << "domain 10 is not domain 1";
    for (int outside : {0, 11}) EXPECT_TRUE(ServersOfDomain(list, outside).empty()) << outside;
    EXPECT_TRUE(NamesInList(com::Variant()).empty()) << "a list the component left untouched";
}

} // namespace
