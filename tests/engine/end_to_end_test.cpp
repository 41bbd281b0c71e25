// A whole run on the demo network: the source server's workspaces replicated
// into the empty target server with every option on, compared item by item
// through the store's JSON dump.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/replication_drivers.h"
#include "platform/store/admin.h"
#include "support/store_tree.h"

using namespace engine_testing;
using json = nlohmann::json;
using testing_support::CopiedItems;
using testing_support::ExpectSameItems;
using testing_support::SchemaItemNames;

namespace {

class EndToEndTest : public EngineTest {
protected:
    EndToEndTest() : demoNetwork("TARVEX_NETWORK", (demoRoot.path() / "network").string())
    {
        store::BuildDemoNetwork();
        RegisterRegistryComponent();
    }

    testing_support::TempFolder demoRoot;
    testing_support::ScopedEnv demoNetwork;
};

TEST_F(EndToEndTest, TheDemoWorkspacesArriveWholeInTheTargetServer)
{
    const std::vector<std::string> workspaces = {"Marketing", "Research and Development"};
    for (const std::string& workspace : workspaces) {
        gSelectedSources += "http://SPSSOURCE/" + workspace + "|";
        gSelectedDestinations += "http://SPSTARGET=";
        gSelectedTypes += "2~";
    }
    gSourceServerName = "SPSSOURCE";
    gDestServerName = "SPSTARGET";
    mainWindow.top = "http://SPSSOURCE/Marketing";
    gReplicateWorkspaceContent = gReplicateFolders = gReplicateDocuments = gWorkspacesInCart = true;
    gAssignFolderProfiles = gAssignFolderSecurity = gAssignDocumentMetadata = gAssignDocumentSecurity = true;
    gDocStateAsInSource = true;

    DoDefaultReplication();
    DoWorkspaceReplication();

    for (const std::string& workspace : workspaces) {
        SCOPED_TRACE(workspace);
        const std::string source = "http://SPSSOURCE/" + workspace;
        const std::string target = "http://SPSTARGET/" + workspace;
        for (const char* folder : {"/Documents", "/Categories"}) {
            const auto expected = CopiedItems(source + folder);
            EXPECT_GT(expected.size(), 2u);
            ExpectSameItems(expected, CopiedItems(target + folder), folder);
        }
        const json sourceRoot = json::parse(store::DumpItemTree(source))["roles"];
        const json targetRoot = json::parse(store::DumpItemTree(target))["roles"];
        for (const char* role : {"readers", "authors", "coordinators"}) EXPECT_EQ(targetRoot[role], sourceRoot[role]);
        EXPECT_EQ(SchemaItemNames(target), SchemaItemNames(source));
    }

    for (const ReportRow& row : ReportRows()) EXPECT_EQ(row.remark, "Replicated Successfully.") << row.source;
    EXPECT_EQ(gFailedCount, 0);
}

} // namespace
