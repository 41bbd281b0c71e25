// The replication drivers over a selection in the shared state: what each
// driver copies, shows and records, where Cancel stops it, and the reset
// after a run.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/replication_drivers.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"
#include "platform/ui/mouse_pointer.h"

using namespace engine_testing;

namespace {

class DriversTest : public EngineTest {
protected:
    DriversTest()
    {
        network.addServer("SRC");
        network.addServer("DST");
        gSourceServerName = "SRC";
        gDestServerName = "DST";
        store::AddWorkspace("SRC", "Team");
        store::AddWorkspace("DST", "Team");
        projects = store::AddFolder(documents, "Projects");
        store::AddDocument(projects, "plan.txt", store::DocumentSpec("plan"));
        store::AddDocument(documents, "readme.txt", store::DocumentSpec("read me"));
        store::AddDocument(documents, "notes.txt", store::DocumentSpec("notes"));
        mainWindow.top = documents;
    }

    static void AddToCart(const std::string& source, const std::string& destination, const std::string& type)
    {
        gSelectedSources += source + "|";
        gSelectedDestinations += destination + "=";
        gSelectedTypes += type + "~";
    }

    const std::string documents = "http://SRC/Team/Documents";
    const std::string target = "http://DST/Team/Documents";
    std::string projects;
};

TEST_F(DriversTest, FolderAndDocumentEntriesAreCopiedWithProgress)
{
    AddToCart(projects, target, "3");
    AddToCart("http://SRC/Team", "http://DST", "2");
    AddToCart(documents + "/readme.txt", target, "3");
    AddToCart(documents + "/notes.txt", target, "x");
    gReplicateFolders = gReplicateDocuments = true;

    DoDefaultReplication();

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{
                                {projects, target + "/Projects", " ", "Replicated Successfully."},
                                {projects + "/plan.txt", target + "/Projects/plan.txt", "4 Bytes", "Replicated Successfully."},
                                {documents + "/readme.txt", target + "/readme.txt", "7 Bytes", "Replicated Successfully."}}));
    EXPECT_FALSE(ItemExists(target + "/notes.txt")) << "a type of no driver";
    EXPECT_EQ(importing.shows, 1);
    EXPECT_EQ(importing.unloads, 1);
    EXPECT_EQ(importing.caption, "Importing Contents...");
    EXPECT_EQ(importing.lblStatus, " Importing " + documents + "/readme.txt\r\n  Destination sharepoint - DST...");
    EXPECT_EQ(importing.lblSource, "Source: " + documents + "/readme.txt");
    EXPECT_EQ(importing.lblDest, "Target: " + target);
    EXPECT_EQ(importing.values, (std::vector<float>{50, 100}));
    EXPECT_EQ(importing.percentages, (std::vector<std::string>{"50 % Completed...", "100 % Completed..."}));
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(DriversTest, EachDriverLeavesAloneWhatIsNotItsOwn)
{
    AddToCart("http://SRC/Team", "http://DST", "1");
    DoDefaultReplication();
    EXPECT_EQ(importing.loads, 0) << "no entry of its own: the dialog is not shown";

    ResetReplicationState();
    AddToCart(projects, target, "3");
    DoWorkspaceReplication();
    EXPECT_EQ(importing.loads, 0);
    EXPECT_TRUE(LoggedErrors().empty()) << "its division by zero is passed over";
}

TEST_F(DriversTest, AFolderEntryWithoutFoldersStillWalksItsSubtree)
{
    AddToCart(projects, target, "3");
    gReplicateDocuments = true;

    DoDefaultReplication();

    EXPECT_FALSE(ItemExists(target + "/Projects"));
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{{projects + "/plan.txt", target + "/Projects/plan.txt", "4 Bytes",
                                                     "Destination Folder not found."}}));
}

TEST_F(DriversTest, CancelStopsAfterTheCurrentEntryAndResetsTheRun)
{
    for (const char* name : {"readme.txt", "notes.txt"}) AddToCart(documents + "/" + name, target, "3");
    gReplicateDocuments = true;
    ui::DoEventsHook cancel([](int turn) {
        if (turn == 2) gCancelImport = true;
    });

    DoDefaultReplication();

    EXPECT_TRUE(ItemExists(target + "/readme.txt"));
    EXPECT_FALSE(ItemExists(target + "/notes.txt"));
    EXPECT_EQ(messages.shown(),
              (std::vector<ui::ShownMessage>{{"Tarvex failed to replicate all documents due to user action.", 64}}));
    EXPECT_TRUE(gSelectedSources.empty());
    EXPECT_FALSE(gCancelImport);
    EXPECT_FALSE(gReplicateDocuments);
    EXPECT_EQ(importing.unloads, 0) << "Cancel closed the dialog already";
}

TEST_F(DriversTest, ResetReplicationStateEmptiesTheRunAndKeepsItsRecord)
{
    AddToCart(projects, target, "3");
    gProfileSources = "http://SRC/Team|";
    gProfileDestinations = "http://DST/Team=";
    for (bool* flag : {&gCopyProfilePairs, &gOptionsCancelled, &gCancelImport, &gWorkspacesOnly,
                       &gWorkspacesWithProfilesOnly, &gReplicateWorkspaceContent, &gReplicateFolders,
                       &gReplicateDocuments, &gWorkspacesInCart, &gAssignDocumentSecurity, &gAssignFolderProfiles,
                       &gAssignFolderSecurity, &gSkipWorkspaceProfiles, &gAssignDocumentMetadata, &gDocStateCheckIn,
                       &gDocStateAsInSource, &gDocStatePublish, &gAbortWorkspaceCopy})
        *flag = true;
    gReplicationType = 3;
    gReportSrc = "##a";
    gFailedCount = 2;

    ResetReplicationState();

    for (const std::string* list : {&gSelectedSources, &gSelectedDestinations, &gSelectedTypes, &gProfileSources,
                                    &gProfileDestinations})
        EXPECT_TRUE(list->empty());
    for (const bool flag : {gCopyProfilePairs, gOptionsCancelled, gCancelImport, gWorkspacesOnly,
                            gWorkspacesWithProfilesOnly, gReplicateWorkspaceContent, gReplicateFolders,
                            gReplicateDocuments, gWorkspacesInCart, gAssignDocumentSecurity, gAssignFolderProfiles,
                            gAssignFolderSecurity, gSkipWorkspaceProfiles, gAssignDocumentMetadata, gDocStateCheckIn,
                            gDocStateAsInSource, gDocStatePublish})
        EXPECT_FALSE(flag);
    EXPECT_TRUE(gAbortWorkspaceCopy);
    EXPECT_EQ(gReplicationType, 3);
    EXPECT_EQ(gDestServerName, "DST");
    EXPECT_EQ(gReportSrc, "##a");
    EXPECT_EQ(gFailedCount, 2);
    EXPECT_FALSE(mainWindow.replicateEnabled);
    EXPECT_FALSE(mainWindow.removeEnabled);
}

TEST_F(DriversTest, QueuedProfilePairsAreCopiedOneAfterAnother)
{
    store::AddWorkspace("DST", "Second");
    store::AddPropertyDefinition("http://SRC/Team", {"Budget.xml", "urn:schemas-microsoft-com:office:office#Budget",
                                                     "Budget", "", "Number", "i4", false, false, {}});
    gProfileSources = "http://SRC/Team|http://SRC/Team|";
    gProfileDestinations = "http://DST/Team=http://DST/Second=";

    DoDirectProfileReplication();

    std::vector<PropertyRow> created;
    for (const PropertyRow& row : PropertyRows())
        if (row.status == "Created Successfully.") created.push_back(row);
    EXPECT_EQ(created, (std::vector<PropertyRow>{{"Budget", "http://DST/Team", "Created Successfully."},
                                                 {"Budget", "http://DST/Second", "Created Successfully."}}));
    EXPECT_EQ(std::count(importing.statuses.begin(), importing.statuses.end(), "Preparing to copy..."), 2);
    EXPECT_EQ(importing.unloads, 1);
    EXPECT_EQ(importing.value, 100.0f);
}

TEST_F(DriversTest, AnInconsistentProfileQueueIsRefused)
{
    gProfileSources = "http://SRC/Team|http://SRC/Team|";
    gProfileDestinations = "http://DST/Team=";

    DoDirectProfileReplication();

    EXPECT_EQ(messages.shown(), (std::vector<ui::ShownMessage>{{"source,dest count nomatch", 0}}));
    EXPECT_TRUE(PropertyRows().empty());
    EXPECT_TRUE(importing.visible) << "left shown, as the driver returns early";
}

class WorkspaceDriverTest : public DriversTest {
protected:
    WorkspaceDriverTest() { RegisterRegistryComponent(); }
};

TEST_F(WorkspaceDriverTest, AWholeWorkspaceIsCreatedWithProfilesAndContent)
{
    store::SetRoles("http://SRC/Team", {{"\\Everyone"}, {"TARVEXNET\\anna"}, {"TARVEXNET\\tester"}});
    store::AddFolder("http://SRC/Team/Categories", "Regions", store::ItemKind::CategoryFolder);
    AddToCart("http://SRC/Team", "http://DST", "2");
    gReplicateWorkspaceContent = gReplicateFolders = gReplicateDocuments = gWorkspacesInCart = true;

    DoWorkspaceReplication();

    const std::vector<ReportRow> rows = ReportRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), (ReportRow{"http://SRC/Team", "http://DST", "", "Replicated Successfully."}));
    EXPECT_EQ(rows.size(), 5u) << "the workspace, Projects, plan.txt, notes.txt, readme.txt";
    EXPECT_TRUE(ItemExists("http://DST/Team/Documents/Projects/plan.txt"));
    EXPECT_TRUE(ItemExists("http://DST/Team/Categories/Regions"));
    EXPECT_FALSE(PropertyRows().empty());
    EXPECT_EQ(importing.captions.front(), "Copying Workspace...");
    EXPECT_EQ(importing.statuses.front(), "Creating Workspace(Team)... It may take time! Please Wait..");
    EXPECT_NE(std::find(importing.captions.begin(), importing.captions.end(), "Importing Contents..."),
              importing.captions.end());
    EXPECT_EQ(importing.lblSource, "Source: http://SRC/Team/Categories");
    EXPECT_EQ(importing.lblDest, "Target: http://DST/Team/Categories");
    EXPECT_EQ(importing.value, 100.0f);
    EXPECT_EQ(importing.unloads, 1);
    // A content class item is read as a property definition too: the three
    // values it lacks are logged, and it is not copied as one.
    const std::vector<std::string> logged = LoggedErrors();
    EXPECT_EQ(logged.size(), 3u);
    EXPECT_EQ(LoggedErrors("in CreateProfiles"), logged);
}

TEST_F(WorkspaceDriverTest, ContentGoesUnderTheTitlesTheDestinationServerGives)
{
    network.addServer("BER", store::ServerLanguage::German);
    store::AddFolder("http://SRC/Team/Categories", "Regions", store::ItemKind::CategoryFolder);
    AddToCart("http://SRC/Team", "http://BER", "2");
    gDestServerName = "BER";
    gReplicateWorkspaceContent = gReplicateDocuments = gWorkspacesInCart = true;

    DoWorkspaceReplication();

    EXPECT_TRUE(ItemExists("http://BER/Team/Dokumente/readme.txt"));
    EXPECT_TRUE(ItemExists("http://BER/Team/Kategorien/Regions"));
    EXPECT_EQ(importing.lblDest, "Target: http://BER/Team/Kategorien");
}

TEST_F(WorkspaceDriverTest, EachWorkspaceAdvancesTheBarByOneStepInThreeParts)
{
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        store::AddWorkspace("SRC", name);
        AddToCart("http://SRC/" + std::string(name), "http://DST", "1");
    }
    gWorkspacesOnly = true;

    DoWorkspaceReplication();

    ASSERT_EQ(importing.values.size(), 9u);
    EXPECT_EQ(importing.values[2], 33.333332f);
    EXPECT_EQ(importing.values[5], 66.666664f);
    EXPECT_EQ(importing.values[8], 100.0f);
    EXPECT_EQ(ReportRows().size(), 3u);
    EXPECT_TRUE(PropertyRows().empty()) << "no profiles without the option";
}

TEST_F(WorkspaceDriverTest, ARefusedCreationStopsTheWorkspaceCopy)
{
    network.setAdministrators("DST", {"TARVEXNET\\owner"});
    store::AddWorkspace("SRC", "Beta");
    AddToCart("http://SRC/Team", "http://DST", "2");
    AddToCart("http://SRC/Beta", "http://DST", "2");
    gReplicateWorkspaceContent = true;

    DoWorkspaceReplication();

    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(ReportRows().empty());
    EXPECT_FALSE(gAbortWorkspaceCopy);
    EXPECT_EQ(importing.unloads, 1);
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

TEST_F(WorkspaceDriverTest, CancelDuringTheContentStopsTheRun)
{
    store::AddWorkspace("SRC", "Beta");
    AddToCart("http://SRC/Team", "http://DST", "2");
    AddToCart("http://SRC/Beta", "http://DST", "2");
    gReplicateWorkspaceContent = gSkipWorkspaceProfiles = gReplicateDocuments = true;
    ui::DoEventsHook cancel([](int) {
        if (!gReportSrc.empty()) gCancelImport = true;
    });

    DoWorkspaceReplication();

    EXPECT_EQ(messages.shown(),
              (std::vector<ui::ShownMessage>{{"Tarvex failed to replicate workspaces due to user action.", 64}}));
    EXPECT_TRUE(ItemExists("http://DST/Team/Documents/readme.txt")) << "the tree copy does not yield";
    EXPECT_FALSE(ItemExists("http://DST/Beta"));
    EXPECT_TRUE(gSelectedSources.empty());
}

TEST_F(WorkspaceDriverTest, AWorkspaceThatCannotBeMadeIsReportedFailedAndNothingIsCopiedIntoIt)
{
    store::AddWorkspace("SRC", "Beta");
    const std::string locked = store::AddWorkspace("DST", "Beta");
    store::SetRoles(locked, {{}, {}, {"TARVEXNET\\owner"}});
    AddToCart("http://SRC/Beta", "http://DST", "2");
    AddToCart("http://SRC/Team", "http://DST", "2");
    gReplicateWorkspaceContent = gReplicateDocuments = true;

    DoWorkspaceReplication();

    const std::vector<ReportRow> rows = ReportRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0], (ReportRow{"http://SRC/Beta", "http://DST", "", "Existing workspace could not be replaced."}));
    EXPECT_EQ(rows[1], (ReportRow{"http://SRC/Team", "http://DST", "", "Replicated Successfully."}));
    EXPECT_EQ(gFailedCount, 1);
    EXPECT_EQ(importing.value, 100.0f);
}

} // namespace
