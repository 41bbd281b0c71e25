// Role lists of workspaces and folders: inheritance and what each role may do.

#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

using store::AccountsToVariant;
using testing_support::ErrorOf;
using testing_support::StoreNetwork;

class StoreRolesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        workspace = store::AddWorkspace("SRV", "Team");
        documents = workspace + "/Documents";
        store::SetRoles(workspace, {{"TARVEXNET\\reader"}, {"TARVEXNET\\author"}, {network.user()}});
    }

    static store::SpsFolder opened(const std::string& url)
    {
        store::SpsFolder folder;
        folder.DataSource().Open(url);
        return folder;
    }

    StoreNetwork network;
    std::string workspace;
    std::string documents;
};

TEST_F(StoreRolesTest, ANewWorkspaceHasItsCreatorAsCoordinator)
{
    const std::string second = store::AddWorkspace("SRV", "Second");
    store::SpsFolder folder = opened(second);
    EXPECT_EQ(folder.coordinators(), AccountsToVariant({network.user()}));
    EXPECT_EQ(folder.readers(), AccountsToVariant({}));
    EXPECT_FALSE(folder.inheritParentSecurity());
}

TEST_F(StoreRolesTest, FoldersTakeTheirParentsRolesUntilTheyGetTheirOwn)
{
    const std::string sub = store::AddFolder(documents, "Sub");
    EXPECT_TRUE(opened(sub).inheritParentSecurity());
    EXPECT_EQ(opened(sub).authors(), AccountsToVariant({"TARVEXNET\\author"}));

    store::SetRoles(workspace, {{"TARVEXNET\\reader2"}, {"TARVEXNET\\author"}, {network.user()}});
    EXPECT_EQ(opened(sub).readers(), AccountsToVariant({"TARVEXNET\\reader2"})) << "inherited lists follow the parent";

    // Writing one list breaks the inheritance and keeps the other two.
    store::SpsFolder folder = opened(sub);
    folder.setReaders(AccountsToVariant({"\\Everyone"}));
    folder.DataSource().Save();
    EXPECT_FALSE(opened(sub).inheritParentSecurity());
    EXPECT_EQ(opened(sub).readers(), AccountsToVariant({"\\Everyone"}));
    EXPECT_EQ(opened(sub).authors(), AccountsToVariant({"TARVEXNET\\author"}));

    store::SetRoles(workspace, {{}, {"TARVEXNET\\author3"}, {network.user()}});
    EXPECT_EQ(opened(sub).authors(), AccountsToVariant({"TARVEXNET\\author"})) << "own lists stay";

    store::InheritRoles(sub);
    EXPECT_EQ(opened(sub).authors(), AccountsToVariant({"TARVEXNET\\author3"}));
}

TEST_F(StoreRolesTest, CoordinatorsCountAsAuthorsAndAuthorsAsReaders)
{
    network.actAs("TARVEXNET", "tester");
    EXPECT_EQ(ErrorOf([&] { store::AddDocument(documents, "by coordinator.txt", store::DocumentSpec()); }), com::S_OK);
    network.actAs("TARVEXNET", "author");
    EXPECT_EQ(ErrorOf([&] { opened(documents); }), com::S_OK);
    EXPECT_EQ(ErrorOf([&] { store::AddFolder(documents, "by author"); }), com::S_OK);
}

TEST_F(StoreRolesTest, EveryoneInAnyCaseCountsForEveryUser)
{
    store::SetRoles(workspace, {{}, {}, {"\\EVERYONE"}});
    network.actAs("ELSEWHERE", "anybody");
    EXPECT_EQ(ErrorOf([&] { store::SetRoles(documents, {{"\\everyone"}, {}, {}}); }), com::S_OK);
}

TEST_F(StoreRolesTest, AnAuthorCreatesInheritingFoldersButCannotGiveThemRoles)
{
    network.actAs("TARVEXNET", "author");
    store::SpsFolder folder;
    folder.DataSource().SaveTo(documents + "/Plain", 3, 0x4000000);
    folder.setInheritParentSecurity(true); // already inheriting: no change of roles
    EXPECT_EQ(ErrorOf([&] { folder.DataSource().Save(); }), com::S_OK);

    folder.setInheritParentSecurity(false);
    folder.setCoordinators(AccountsToVariant({"TARVEXNET\\author"}));
    EXPECT_EQ(ErrorOf([&] { folder.DataSource().Save(); }), store::errPermissionDenied);

    store::SpsFolder withRoles;
    withRoles.setCoordinators(AccountsToVariant({"TARVEXNET\\author"}));
    EXPECT_EQ(ErrorOf([&] { withRoles.DataSource().SaveTo(documents + "/Own"); }), store::errPermissionDenied);
}

} // namespace
