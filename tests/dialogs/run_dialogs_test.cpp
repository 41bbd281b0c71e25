// The options dialog (its rules, its defaults for each selection, leaving it,
// the profile copy it offers) and the progress dialog (its load, the pointer,
// Cancel, and the bar driven by a run).

#include "dialog_fixture.h"

#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/frm_auto_detect.h"
#include "app/dialogs/frm_finding.h"
#include "app/dialogs/frm_importing.h"
#include "app/dialogs/frm_option.h"
#include "app/engine/replication_drivers.h"
#include "platform/store/roles.h"
#include "platform/sys/datetime.h"
#include "platform/ui/animation.h"
#include "platform/ui/do_events.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/progress_bar.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>

using namespace dialog_testing;
using namespace engine_testing;
using enum OptionBox;

namespace {

// The option flags Proceed sets, as one set of names.
std::vector<std::string> FlagsSet()
{
    const std::pair<const char*, bool> flags[] = {
        {"WorkspacesOnly", gWorkspacesOnly}, {"WithProfilesOnly", gWorkspacesWithProfilesOnly},
        {"Content", gReplicateWorkspaceContent}, {"Folders", gReplicateFolders},
        {"Documents", gReplicateDocuments}, {"SkipProfiles", gSkipWorkspaceProfiles},
        {"ProfilePairs", gCopyProfilePairs}, {"FolderProfiles", gAssignFolderProfiles},
        {"FolderSecurity", gAssignFolderSecurity}, {"Metadata", gAssignDocumentMetadata},
        {"DocumentSecurity", gAssignDocumentSecurity}, {"CheckIn", gDocStateCheckIn},
        {"Publish", gDocStatePublish}, {"AsInSource", gDocStateAsInSource}};
    std::vector<std::string> set;
    for (const auto& [name, on] : flags)
        if (on) set.push_back(name);
    return set;
}

OptionChoices Checked(std::initializer_list<OptionBox> boxes, DocumentState state = DocumentState::Publish)
{
    OptionChoices choices;
    for (OptionBox box : boxes) choices.check(box);
    choices.state = state;
    return choices;
}

TEST(OptionRules, TheBoxesKeepEachOtherConsistent)
{
    struct Case {
        OptionChoices before;
        OptionBox clicked; // the box after the user's click is in before
        OptionChoices after;
    } cases[] = {
        {Checked({Documents}), Folders, Checked({Documents, Folders})},
        {Checked({Folders, AssignProfiles}), Folders, Checked({Folders, AssignProfiles})},
        {Checked({Folders, AssignMetadata}), Documents, Checked({Folders, Documents, AssignMetadata})},
        {Checked({AssignMetadata}), AssignMetadata, Checked({AssignMetadata, Documents, Folders})},
        {Checked({AssignFolderSecurity}), AssignFolderSecurity, Checked({AssignFolderSecurity, Folders})},
        {Checked({}), Workspaces, Checked({Workspaces})},
        {Checked({Folders}), Folders, Checked({Folders})},
        {Checked({}), Folders, Checked({})},
    };
    for (const Case& test : cases) EXPECT_EQ(AfterClick(test.before, test.clicked), test.after) << int(test.clicked);
}

TEST(OptionRules, ProceedSetsTheFlagsOfTheFirstMatchingRow)
{
    struct Case {
        OptionChoices choices;
        ReplicationOptions expected;
        bool stateMissing = false;
    } cases[] = {
        {Checked({Workspaces, Profiles, Folders, Documents}), {.replicateWorkspaceContent = true, .replicateFolders = true, .replicateDocuments = true, .copyProfilePairs = true, .docStatePublish = true}},
        {Checked({Workspaces, Folders}), {.replicateWorkspaceContent = true, .replicateFolders = true, .skipWorkspaceProfiles = true}},
        {Checked({Workspaces, Profiles}), {.workspacesWithProfilesOnly = true, .copyProfilePairs = true}},
        {Checked({Workspaces}), {.workspacesOnly = true}},
        {Checked({Workspaces, Documents}), {.docStatePublish = true}}, // a combination of no row
        {Checked({Folders, AssignProfiles, AssignFolderSecurity}), {.replicateFolders = true, .assignFolderProfiles = true, .assignFolderSecurity = true}},
        {Checked({Folders, Documents, AssignMetadata, AssignDocumentSecurity}, DocumentState::CheckIn), {.replicateFolders = true, .replicateDocuments = true, .assignDocumentMetadata = true, .assignDocumentSecurity = true, .docStateCheckIn = true}},
        {Checked({Folders, Documents}, DocumentState::AsInSource), {.replicateFolders = true, .replicateDocuments = true, .docStateAsInSource = true}},
        {Checked({Folders, Documents}, DocumentState::CheckOut), {.replicateFolders = true, .replicateDocuments = true}},
        {Checked({Folders, Documents}, DocumentState::None), {.replicateFolders = true, .replicateDocuments = true}, true},
    };
    for (const Case& test : cases) {
        const ProceedResult result = ProceedOptions(test.choices);
        EXPECT_EQ(result.options, test.expected) << &test - cases;
        EXPECT_EQ(result.documentStateMissing, test.stateMissing) << &test - cases;
    }
}

TEST(OptionRules, EachWorkspacePairIsCopiedOnceWholePairsCompared)
{
    const std::vector<std::string> sources = {"http://S/Team/Documents", "http://S/Team/Documents/a.txt",
                                              "http://S/TEAM/Documents/b", "http://S/Other", "http://S/Team/Documents"};
    const std::vector<std::string> destinations = {"http://D/Sales2/Documents", "http://D/Sales/Documents",
                                                   "http://D/sales2/Documents", "http://D", "http://D/Sales/Documents"};
    const std::vector<std::string> types = {"3", "3", "3", "2", "3"};
    EXPECT_EQ(DistinctWorkspacePairs(sources, destinations, types),
              (std::vector<WorkspacePair>{{"http://S/Team", "http://D/Sales2"}, {"http://S/Team", "http://D/Sales"}}));
}

class OptionsDialogTest : public DialogTest {
protected:
    // Shows the options dialog for the selection shape; script answers it.
    void Show(bool workspaces, bool folders, std::function<void(frmOption&)> script)
    {
        dialogs.answer("frmOption", [script](QDialog& shown) { script(static_cast<frmOption&>(shown)); });
        ShowOptionsDialog(nullptr, workspaces, folders);
    }
    static void Press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
};

TEST_F(OptionsDialogTest, EachSelectionGetsItsDefaultsAndProceedTheirFlags)
{
    struct Case {
        bool workspaces, folders, queued;
        std::vector<std::string> flags;
    } cases[] = {
        {true, false, false, {"Content", "Folders", "Documents", "SkipProfiles", "Publish"}},
        {false, true, false, {"Folders", "Documents", "Publish"}},
        {false, true, true, {"Folders", "Documents", "ProfilePairs", "Publish"}},
    };
    for (const Case& test : cases) {
        ResetSharedStateForTesting();
        gProfileSources = test.queued ? "http://S/Team|" : "";
        Show(test.workspaces, test.folders, [&](frmOption& options) {
            EXPECT_EQ(options.windowTitle(), "Workspace & Content Replication");
            EXPECT_EQ(options.Choices(), LoadedOptions(test.workspaces, test.folders, test.queued));
            EXPECT_EQ(options.Label7->isEnabled(), test.workspaces);
            EXPECT_EQ(options.Label8->isEnabled(), test.workspaces || test.queued);
            EXPECT_EQ(options.Label11->text(), "Replicate most recently published version of documents. in destination sharepoint.");
            EXPECT_TRUE(options.OptionPublish->isChecked());
            Press(options.Proceed);
        });
        EXPECT_EQ(FlagsSet(), test.flags);
        EXPECT_FALSE(gOptionsCancelled);
    }
    EXPECT_TRUE(messages.shown().empty()) << "no profile copy is offered without Assign Metadata";
}

TEST_F(OptionsDialogTest, TheBoxesRefuseAndCascadeAndCheckOutSetsNoState)
{
    Show(false, true, [](frmOption& options) {
        Press(options.CheckF);
        EXPECT_TRUE(options.CheckF->isChecked()) << "Documents still needs it";
        Press(options.CheckD);
        Press(options.CheckF);
        EXPECT_FALSE(options.CheckF->isChecked());
        Press(options.CheckDAM);
        EXPECT_TRUE(options.CheckD->isChecked());
        EXPECT_TRUE(options.CheckF->isChecked());
        Press(options.OptionCheckout);
        Press(options.Proceed);
    });
    EXPECT_EQ(FlagsSet(), (std::vector<std::string>{"Folders", "Documents", "Metadata"}));
}

TEST_F(OptionsDialogTest, CancelEscAndTheTitleBarChangeNoFlagButTheLoadsClearing)
{
    const std::function<void(frmOption&)> ways[] = {
        [](frmOption& options) { Press(options.CmdCancel); },
        [](frmOption& options) { QTest::keyClick(options.Proceed, Qt::Key_Escape); },
        [](frmOption& options) { options.close(); },
    };
    for (const auto& leave : ways) {
        gOptionsCancelled = false;
        gCopyProfilePairs = gReplicateFolders = gDocStatePublish = true;
        Show(true, true, [&](frmOption& options) {
            ui::SetMousePointer(ui::vbHourglass);
            leave(options);
        });
        EXPECT_TRUE(gOptionsCancelled);
        EXPECT_EQ(FlagsSet(), (std::vector<std::string>{"ProfilePairs"}));
        EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    }
}

TEST_F(OptionsDialogTest, AssignMetadataOffersToCopyEachWorkspacePairsProfilesUnderTheRunGuard)
{
    network.addServer("SRC");
    network.addServer("DST");
    const std::string team = store::AddWorkspace("SRC", "Team");
    const std::string sales2 = store::AddWorkspace("DST", "Sales2");
    const std::string sales = store::AddWorkspace("DST", "Sales");
    store::AddPropertyDefinition(team, {"Colour.xml", "urn:schemas-microsoft-com:office:office#Colour", "Colour title",
                                        "Colour text", "Text", "string", false, false, {}});
    store::SetRoles(sales2, {{network.user()}, {network.user()}, {"TARVEXNET\\owner"}});
    for (const std::string& destination : {sales2, sales, sales}) {
        gSelectedSources += team + "/Documents|";
        gSelectedDestinations += destination + "/Documents=";
        gSelectedTypes += "3~";
    }
    messages.queueAnswer(ui::vbYes);
    bool guarded = false;
    ui::DoEventsHook turns([&](int) { guarded = guarded || RunGuard::active(); });

    Show(false, true, [](frmOption& options) {
        Press(options.CheckDAM);
        Press(options.Proceed);
    });

    EXPECT_EQ(messages.shown(),
              (std::vector<ui::ShownMessage>{
                  {"Do you want to copy the source workspace profiles in the destination workspace?\r\n"
                   "If the profiles exists in the destination workspace,you do not need to copy again.",
                   36},
                  {"You do not have the Coordinator permission in '" + sales2 + "'.\r\nProceeding with out copying profiles.", 64}}));
    const auto rows = PropertyRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), PropertyRow{"Colour title", sales, "Created Successfully."}), rows.end());
    for (const PropertyRow& row : rows) EXPECT_EQ(row.workspace, sales) << "one copy, into Sales alone";
    EXPECT_TRUE(guarded);
    EXPECT_FALSE(RunGuard::active());
    EXPECT_FALSE(mainWindow.createProfileEnabled);
    EXPECT_EQ(gReplicationType, 3);
    EXPECT_FALSE(ui::FormInstance<frmImporting>::isLoaded());
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

class ProgressDialogTest : public DialogTest {
protected:
    static bool Loaded() { return ui::FormInstance<frmImporting>::isLoaded(); }
    static frmImporting& Dialog() { return ui::FormInstance<frmImporting>::get(); }
};

TEST_F(ProgressDialogTest, ItLoadsWithItsTextsAndKeepsTheHourglassButOverCancel)
{
    sys::SetClockForTesting([] { return sys::MakeDateTime({2026, 12, 7, 22, 44, 30}); });
    ImportingDialog().show();
    sys::SetClockForTesting({});

    frmImporting& dialog = Dialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Importing...");
    EXPECT_EQ(dialog.lblTime->text(), "Import started:");
    EXPECT_EQ(dialog.lblDateTime->text(), "12/7/2026 10:44:30 PM");
    EXPECT_EQ(dialog.lblPercentage->text(), "0 % Completed...");
    EXPECT_EQ(dialog.lblStatus->text(), "Preparing to copy...");
    EXPECT_EQ(dialog.cmdCancel->toolTip(), "Cancel the import of documents into SharePoint Portal Server.");
    EXPECT_TRUE(dialog.anmavi->isPlaying());
    EXPECT_EQ(ui::MousePointer(), ui::vbHourglass);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(dialog.cmdCancel, &enter);
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    QTest::mouseMove(dialog.lblStatus);
    EXPECT_EQ(ui::MousePointer(), ui::vbHourglass);

    ui::FormInstance<frmImporting>::unload();
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    std::filesystem::remove(programFolder.path() / "importing.avi");
    ImportingDialog().show();
    EXPECT_FALSE(Dialog().anmavi->isOpen());
    EXPECT_EQ(LoggedErrors("in frmImporting -Load").size(), 1u);
}

TEST_F(ProgressDialogTest, CancelAndTheTitleBarSetTheFlagAndALateReferenceIsReleased)
{
    for (bool titleBar : {false, true}) {
        gCancelImport = false;
        ImportingDialog().show();
        if (titleBar) Dialog().close();
        else QTest::mouseClick(Dialog().cmdCancel, Qt::LeftButton);
        EXPECT_TRUE(gCancelImport);
        EXPECT_FALSE(Loaded());
        EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    }
    ImportingDialog().setLblPercentage("50 % Completed...");
    EXPECT_TRUE(Loaded());
    EXPECT_FALSE(Dialog().isVisible());
    ui::UnloadAllForms(); // as the main window does when it closes
    EXPECT_FALSE(Loaded());
}

// The forms shown without an owner come up centred over the program's main
// window, not at the screen's corner; the wait form "Connecting..." stays up
// through Esc and its title bar's close, as it cannot be cancelled.
TEST_F(ProgressDialogTest, TheFormsWithoutOwnerShowCentredOverTheMainWindow)
{
    QMainWindow main;
    main.setGeometry(120, 90, 520, 360);
    main.show();
    const QPoint centre = main.frameGeometry().center();
    const auto centredOverMain = [&](QWidget& form) {
        const QPoint offset = form.frameGeometry().center() - centre;
        return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
    };

    ImportingDialog().show();
    EXPECT_TRUE(centredOverMain(Dialog())) << "the progress dialog";
    frmAutoDetect& discovery = ui::FormInstance<frmAutoDetect>::get();
    discovery.show();
    EXPECT_TRUE(centredOverMain(discovery)) << "the discovery's wait form";
    frmFinding& finding = ui::FormInstance<frmFinding>::get();
    finding.show();
    EXPECT_TRUE(centredOverMain(finding)) << "the connection's wait form";

    QTest::keyClick(&finding, Qt::Key_Escape);
    finding.close();
    EXPECT_TRUE(ui::FormInstance<frmFinding>::isLoaded() && finding.isVisible());
    ui::FormInstance<frmFinding>::unload();
    EXPECT_FALSE(ui::FormInstance<frmFinding>::isLoaded());
}

TEST_F(ProgressDialogTest, ARunFillsTheBarToExactlyOneHundredAndStopsAtCancel)
{
    network.addServer("SRC");
    network.addServer("DST");
    store::AddWorkspace("SRC", "Team");
    store::AddWorkspace("DST", "Team");
    const std::string target = "http://DST/Team/Documents";
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        gSelectedSources += store::AddDocument("http://SRC/Team/Documents", name, store::DocumentSpec(name)) + "|";
        gSelectedDestinations += target + "=";
        gSelectedTypes += "3~";
    }
    const std::string cart[] = {gSelectedSources, gSelectedDestinations, gSelectedTypes};
    std::vector<float> values;
    std::vector<std::string> percentages;
    ui::DoEventsHook record([&](int) {
        if (!Loaded()) return;
        const std::string percentage = Dialog().lblPercentage->text().toStdString();
        if (percentages.empty() || percentages.back() != percentage) {
            values.push_back(Dialog().ProgressBar1->Value());
            percentages.push_back(percentage);
        }
    });
    gReplicateDocuments = true;
    DoDefaultReplication();

    EXPECT_EQ(values, (std::vector<float>{0, 33.333332f, 66.666664f, 100}));
    EXPECT_EQ(percentages.back(), "100 % Completed...");
    EXPECT_FALSE(Loaded());

    gSelectedSources = cart[0], gSelectedDestinations = cart[1], gSelectedTypes = cart[2];
    gReplicateDocuments = true;
    ui::DoEventsHook cancel([&](int turn) {
        if (turn == 3) QTest::mouseClick(Dialog().cmdCancel, Qt::LeftButton);
    });
    DoDefaultReplication();
    EXPECT_EQ(messages.shown().back(),
              (ui::ShownMessage{"Tarvex failed to replicate all documents due to user action.", 64}));
    EXPECT_EQ(gReplicatedCount, 4) << "three, then one before Cancel";
}

} // namespace
