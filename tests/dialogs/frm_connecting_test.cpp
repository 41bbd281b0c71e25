// The connect dialog and its wait form: the names it refuses, what OK does
// for each side, its keys, and the animation of the wait form.

#include "app/core/forms.h"
#include "app/dialogs/frm_connecting.h"
#include "app/dialogs/frm_finding.h"
#include "clips.h"
#include "core/core_fixture.h"
#include "platform/com/hresult.h"
#include "platform/ui/animation.h"
#include "platform/ui/form_instance.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The main window as the dialog reaches it: what was set and listed, and
// what the wait form said while the listing ran.
class RecordingMainWindow : public MainWindowForm {
public:
    std::string txtTop() override { return top; }
    std::string txtBottom() override { return bottom; }
    void setTxtTop(const std::string& text) override { top = text; }
    void setTxtBottom(const std::string& text) override { bottom = text; }
    std::string FindDocumentsFolderTitle(const std::string&) override { return "null"; }
    std::string FindCategoriesFolderTitle(const std::string&) override { return "null"; }
    void DisplaySourceWorkspaces(const std::string& server) override { list("source " + server); }
    void DisplayDestWorkspaces(const std::string& server) override { list("destination " + server); }
    void setReplicateEnabled(bool) override {}
    void setRemoveEnabled(bool) override {}
    void setCreateProfileEnabled(bool) override {}
    void setRefreshSourceEnabled(bool enabled) override { refreshSource = enabled; }
    void setRefreshDestEnabled(bool enabled) override { refreshDest = enabled; }

    std::string top, bottom;
    std::vector<std::string> listings;
    std::string findingText;
    bool listingFails = false;
    bool refreshSource = false, refreshDest = false;

private:
    void list(const std::string& what)
    {
        listings.push_back(what);
        if (ui::FormInstance<frmFinding>::isLoaded())
            findingText = ui::FormInstance<frmFinding>::get().Label1->text().toStdString();
        if (listingFails) throw com::ComError(com::E_FAIL, "listing failed");
    }
};

class ConnectDialogTest : public CoreTest {
protected:
    ConnectDialogTest()
    {
        InstallMainWindowForm(&mainWindow_);
        avigen::WriteAviFile(programFolder() / "findingsp.avi", avigen::ConnectingClip(), avigen::Coding::Rle8);
    }
    ~ConnectDialogTest() override
    {
        InstallMainWindowForm(nullptr);
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }

    // The dialog shown for a side, as the main window's connect commands show it.
    static frmConnecting& shownFor(bool source)
    {
        gIsSourceConnection = source;
        frmConnecting& dialog = ui::FormInstance<frmConnecting>::get();
        dialog.show();
        return dialog;
    }
    static bool dialogLoaded() { return ui::FormInstance<frmConnecting>::isLoaded(); }
    static void type(frmConnecting& dialog, const char* name, int key = Qt::Key_Return)
    {
        dialog.txtURL->setText(QString::fromUtf8(name));
        QTest::keyClick(dialog.txtURL, Qt::Key(key));
    }

    RecordingMainWindow mainWindow_;
    testing_support::ScopedEnv domain_{"USERDOMAIN", "TARVEXNET"};
    testing_support::ScopedEnv user_{"USERNAME", "anna"};
};

// A blank name is refused and the box emptied; a name with a separator is
// refused by that character and kept to be mended; any other name is listed,
// and the listing answers for a server that is not there.
TEST_F(ConnectDialogTest, OnlyBlankNamesAndNamesWithASeparatorAreRefused)
{
    const std::string blank = "Specify the server name to be connected";
    const struct {
        const char* typed;
        const char* refusal; // nullptr: listed
        const char* keptText;
        const char* listed;
    } cases[] = {
        {"", blank.c_str(), "", nullptr},
        {"   ", blank.c_str(), "", nullptr},
        {"a|b", "The server name cannot contain \"|\".", "a|b", nullptr},
        {"sps/team", "The server name cannot contain \"/\".", "sps/team", nullptr},
        {"a\\b", "The server name cannot contain \"\\\".", "a\\b", nullptr},
        {" x=y ", "The server name cannot contain \"=\".", " x=y ", nullptr},
        {"n~m", nullptr, nullptr, "source n~m"},
        {" two words ", nullptr, nullptr, "source two words"},
        {"-lead", nullptr, nullptr, "source -lead"},
        {"\u00dcmlaut", nullptr, nullptr, "source \u00dcmlaut"},
    };
    for (const auto& c : cases) {
        const std::size_t shown = messageBoxes_.shown().size();
        const std::size_t listed = mainWindow_.listings.size();
        frmConnecting& dialog = shownFor(true);
        type(dialog, c.typed);
        if (c.refusal) {
            ASSERT_EQ(messageBoxes_.shown().size(), shown + 1) << c.typed;
            EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{c.refusal, 48})) << c.typed;
            EXPECT_EQ(dialog.txtURL->text().toStdString(), c.keptText) << c.typed;
            EXPECT_TRUE(dialog.isVisible()) << c.typed;
            EXPECT_FALSE(ui::FormInstance<frmFinding>::isLoaded()) << c.typed;
            EXPECT_EQ(mainWindow_.listings.size(), listed) << c.typed;
            ui::FormInstance<frmConnecting>::unload();
        } else {
            EXPECT_EQ(messageBoxes_.shown().size(), shown) << c.typed;
            ASSERT_EQ(mainWindow_.listings.size(), listed + 1) << c.typed;
            EXPECT_EQ(mainWindow_.listings.back(), c.listed);
            EXPECT_FALSE(dialogLoaded()) << c.typed;
        }
    }
    QTest::keyClick(&shownFor(true), Qt::Key_Return); // elsewhere than in the box, through the default button
    EXPECT_EQ(messageBoxes_.shown().back(), (ui::ShownMessage{blank, 48}));
    EXPECT_EQ(mainWindow_.top, "http://\u00dcmlaut");
}

TEST_F(ConnectDialogTest, OkStoresTheTrimmedNameAndListsTheSideTheDialogWasShownFor)
{
    frmConnecting& source = shownFor(true);
    EXPECT_EQ(source.lbluser->text(), "TARVEXNET\\anna");
    type(source, "  SPSSOURCE  ");
    EXPECT_EQ(gSourceServerName, "SPSSOURCE");
    EXPECT_EQ(mainWindow_.top, "http://SPSSOURCE");
    EXPECT_EQ(mainWindow_.findingText,
              "Detecting source sharepoint portal server and searching for the available workspaces...");
    EXPECT_TRUE(mainWindow_.refreshSource);

    frmConnecting& destination = shownFor(false);
    gIsSourceConnection = true; // marked for the source while the destination's dialog stays open
    destination.txtURL->setText(" SPSTARGET");
    QTest::mouseClick(destination.CmdOk, Qt::LeftButton);
    EXPECT_EQ(gDestServerName, "SPSTARGET");
    EXPECT_EQ(gSourceServerName, "SPSSOURCE");
    EXPECT_EQ(mainWindow_.bottom, "http://SPSTARGET");
    EXPECT_EQ(mainWindow_.findingText,
              "Detecting destination sharepoint portal server and searching for the available workspaces...");
    EXPECT_TRUE(mainWindow_.refreshDest);

    EXPECT_EQ(mainWindow_.listings, (std::vector<std::string>{"source SPSSOURCE", "destination SPSTARGET"}));
    EXPECT_FALSE(dialogLoaded());
    EXPECT_FALSE(ui::FormInstance<frmFinding>::isLoaded());
    EXPECT_TRUE(logLines().empty());
}

TEST_F(ConnectDialogTest, EscAndCancelCloseTheDialogWithoutAChange)
{
    type(shownFor(true), "SPSSOURCE", Qt::Key_Escape);
    EXPECT_FALSE(dialogLoaded());
    frmConnecting& dialog = shownFor(false);
    dialog.txtURL->setText("SPSTARGET");
    QTest::mouseClick(dialog.CmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dialogLoaded());
    EXPECT_TRUE(mainWindow_.listings.empty());
    EXPECT_TRUE(gSourceServerName.empty() && gDestServerName.empty());
    EXPECT_TRUE(messageBoxes_.shown().empty());
}

TEST_F(ConnectDialogTest, AFailingListingIsLoggedAndOkStillEndsWithTheWaitFormGone)
{
    mainWindow_.listingFails = true;
    type(shownFor(true), "SPSSOURCE");
    EXPECT_EQ(lastLogLine(), kLogTime + "No=-2147467259-due to -listing failedin frmconnecting-fnOk_Click");
    EXPECT_FALSE(ui::FormInstance<frmFinding>::isLoaded());
}

TEST_F(ConnectDialogTest, TheWaitFormPlaysItsClipFromTheProgramFolderOrShowsWithoutIt)
{
    frmFinding& finding = ui::FormInstance<frmFinding>::get();
    EXPECT_EQ(finding.windowTitle(), "Connecting...");
    EXPECT_TRUE(finding.AnmSearch->isPlaying());
    EXPECT_TRUE(logLines().empty());
    ui::FormInstance<frmFinding>::unload();

    std::filesystem::remove(programFolder() / "findingsp.avi");
    EXPECT_FALSE(ui::FormInstance<frmFinding>::get().AnmSearch->isOpen());
    EXPECT_EQ(lastLogLine().find(kLogTime + "No=35752-due to -"), 0u) << lastLogLine();
    EXPECT_TRUE(lastLogLine().ends_with("in frmFinding - Load")) << lastLogLine();
}

} // namespace
