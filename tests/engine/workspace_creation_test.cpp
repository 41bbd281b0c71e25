// Creating whole workspaces from the destination server's template, found
// through the registry component created by its ProgID.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/workspace_creation.h"
#include "platform/registry/registry.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"

#include <filesystem>

using namespace engine_testing;

namespace {

void WriteInstallPath(const std::string& host, const std::string& path)
{
    winreg::HKEY machine = 0;
    winreg::HKEY key = 0;
    ASSERT_EQ(winreg::ConnectRegistry(host, winreg::HKEY_LOCAL_MACHINE, &machine), 0);
    ASSERT_EQ(winreg::CreateKey(machine, store::kInstallPathKey, false, &key), 0);
    const std::string value = path + '\0';
    ASSERT_EQ(winreg::SetValue(key, store::kInstallPathValue, winreg::REG_SZ,
                               reinterpret_cast<const std::uint8_t*>(value.data()), std::uint32_t(value.size())),
              0);
    winreg::CloseKey(key);
    winreg::CloseKey(machine);
}

class WorkspaceCreationTest : public EngineTest {
protected:
    WorkspaceCreationTest()
    {
        network.addServer("SRC");
        network.addServer("DST");
        gDestServerName = "DST";
    }

    static WorkspaceOutcome CreateFromRoles(const std::string& url, const store::RoleLists& roles)
    {
        return CreateWorkspace(url, store::AccountsToVariant(roles.coordinators), store::AccountsToVariant(roles.authors),
                               store::AccountsToVariant(roles.readers));
    }

    const store::RoleLists sourceRoles{{"\\Everyone"}, {"TARVEXNET\\anna"}, {"TARVEXNET\\tester", "TARVEXNET\\carla"}};
};

TEST_F(WorkspaceCreationTest, TheTemplateFolderIsReadFromTheServersRegistry)
{
    RegisterRegistryComponent();

    EXPECT_EQ(FindSPSInstallationPath("DST"), "\\\\DST\\C$\\Program Files\\SharePoint Portal Server\\bin\\");
    WriteInstallPath("DST", "D:\\Portal\\");
    EXPECT_EQ(FindSPSInstallationPath("DST"), "\\\\DST\\D$\\Portal\\\\bin\\");
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(WorkspaceCreationTest, AnUnregisteredComponentGivesAnEmptyFolderAndOneLineAPerFailingStep)
{
    EXPECT_EQ(FindSPSInstallationPath("SRV"), "\\\\SRV\\\\bin\\");

    const auto logged = LoggedErrors("in FindSPSInstallationPath");
    ASSERT_EQ(logged.size(), 5u) << "create, computer name, key, value, value data";
    EXPECT_EQ(logged[0], "No=-2147221005-due to -Invalid class stringin FindSPSInstallationPath");
}

TEST_F(WorkspaceCreationTest, AWorkspaceIsMadeFromTheTemplateWithTheSourceRoles)
{
    RegisterRegistryComponent();

    EXPECT_EQ(CreateFromRoles("http://DST/Sales", sourceRoles), WorkspaceOutcome::Created);

    EXPECT_EQ(RolesOf("http://DST/Sales"), sourceRoles);
    for (const char* folder : {"Documents", "Categories", "system/schema/Title.xml"})
        EXPECT_TRUE(ItemExists("http://DST/Sales/" + std::string(folder))) << folder;
    EXPECT_EQ(mainWindow.destinationListings, (std::vector<std::string>{"DST"}));
    EXPECT_FALSE(gAbortWorkspaceCopy);
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(WorkspaceCreationTest, AnExistingWorkspaceIsDeletedAndMadeAgain)
{
    RegisterRegistryComponent();
    store::AddDocument(store::AddWorkspace("DST", "sales") + "/Documents", "old.txt", store::DocumentSpec("old"));

    EXPECT_EQ(CreateFromRoles("http://DST/Sales", sourceRoles), WorkspaceOutcome::Created);

    EXPECT_FALSE(ItemExists("http://DST/Sales/Documents/old.txt"));
    EXPECT_EQ(RolesOf("http://DST/Sales"), sourceRoles);
    EXPECT_EQ(mainWindow.destinationListings, (std::vector<std::string>{"DST", "DST"}))
        << "after the deletion and after the creation";
}

TEST_F(WorkspaceCreationTest, AWorkspaceThatCannotBeDeletedIsNotReplacedAgainAndAgain)
{
    RegisterRegistryComponent();
    const std::string locked = store::AddWorkspace("DST", "Locked");
    store::SetRoles(locked, {{}, {}, {"TARVEXNET\\owner"}});

    EXPECT_EQ(CreateFromRoles(locked, sourceRoles), WorkspaceOutcome::NotReplaced);

    EXPECT_EQ(LoggedErrors("in CreateWorkspace").size(), 1u) << "the refused replacement";
    EXPECT_TRUE(std::filesystem::is_directory(network.storeFolder("DST") / "Locked")) << "the old workspace stays";
}

TEST_F(WorkspaceCreationTest, AUserWhoIsNoAdministratorIsToldOnceAndTheCopyAborts)
{
    RegisterRegistryComponent();
    network.setAdministrators("DST", {"TARVEXNET\\owner"});

    EXPECT_EQ(CreateFromRoles("http://DST/Sales", sourceRoles), WorkspaceOutcome::NotCreated);

    EXPECT_TRUE(gAbortWorkspaceCopy);
    EXPECT_EQ(messages.shown(),
              (std::vector<ui::ShownMessage>{{"You should have administrative privileges on Microsoft Windows server to "
                                              "create a workspace. Contact your system administrator.",
                                              48}}));
    EXPECT_FALSE(ItemExists("http://DST/Sales"));
    EXPECT_TRUE(LoggedErrors("in CreateWorkspace").empty());
}

TEST_F(WorkspaceCreationTest, AMissingTemplateFailsTheCreation)
{
    EXPECT_EQ(CreateFromRoles("http://DST/Sales", sourceRoles), WorkspaceOutcome::NotCreated);

    EXPECT_FALSE(ItemExists("http://DST/Sales"));
    EXPECT_EQ(LoggedErrors("in CreateWorkspace").size(), 1u) << "the creation; nothing is opened after it";
    EXPECT_TRUE(mainWindow.destinationListings.empty());
}

} // namespace
