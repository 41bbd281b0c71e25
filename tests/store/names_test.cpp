// Names: kept in their case, found without regard to it, and never leading
// outside the host's store.

#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ErrorOf;
using testing_support::StoreNetwork;

const com::HRESULT kInvalidName = com::HResultFromWin32(123);

class StoreNamesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        workspace = store::AddWorkspace("SRV", "Team");
        documents = workspace + "/Documents";
    }

    StoreNetwork network;
    std::string workspace;
    std::string documents;
};

TEST_F(StoreNamesTest, NamesKeepTheirCaseAndMatchWithoutRegardToIt)
{
    const std::string folder = store::AddFolder(documents, "Über Uns");
    store::AddDocument(folder, "Jahresbericht Ä.TXT", store::DocumentSpec("x"));

    store::SpsDocument doc;
    doc.DataSource().Open("http://srv/TEAM/documents/über uns/jahresbericht ä.txt");
    EXPECT_EQ(doc.displayName(), "Jahresbericht Ä.TXT");
    EXPECT_EQ(doc.property("RESOURCE_PARSENAME").toString(), "Jahresbericht Ä.TXT");
    EXPECT_EQ(doc.property("DAV:href").toString(), "http://SRV/Team/Documents/Über Uns/Jahresbericht Ä.TXT");
    EXPECT_EQ(doc.url(), "http://srv/TEAM/documents/über uns/jahresbericht ä.txt") << "the URL as opened";
    EXPECT_TRUE(std::filesystem::exists(network.storeFolder("SRV") / "Team/Documents/Über Uns/Jahresbericht Ä.TXT"))
        << "the store's folder mirrors the URL tree";

    // Saved again under another case, the item keeps its stored name.
    doc.setProperty("urn:x#note", "changed");
    doc.DataSource().Save();
    store::SpsFolder listed;
    listed.DataSource().Open(folder);
    ado::Recordset items = listed.Items();
    ASSERT_EQ(items.recordCount(), 1);
    EXPECT_EQ(items.field(0).toString(), "Jahresbericht Ä.TXT");
}

TEST_F(StoreNamesTest, UnsafeAndReservedNamesAreRefused)
{
    store::SpsDocument doc;
    const std::vector<std::string> names{"..",         ".",          "a\\b",        ".tvx.folder.json",
                                         ".tvx.lock",  ".TVX.LOCK",  ".Tvx.Tmp.1.2", std::string("nul\0byte", 8)};
    for (const std::string& name : names) {
        EXPECT_EQ(ErrorOf([&] { doc.DataSource().SaveTo(documents + "/" + name); }), kInvalidName) << name;
        EXPECT_EQ(ErrorOf([&] { store::AddFolder(documents, name); }), kInvalidName) << name;
    }
    for (const std::string& url : {documents + "/../../..", workspace + "/.tvx.folder.json", workspace + "/.TVX.FOLDER.JSON",
                                   documents + "/x\\..\\..\\y"})
        EXPECT_EQ(ErrorOf([&] { store::SpsDocument().DataSource().Open(url); }), kInvalidName) << url;
    EXPECT_EQ(ErrorOf([&] { store::AddWorkspace("SRV", "sharepoint portal server"); }), kInvalidName);
}

TEST_F(StoreNamesTest, LinksThatLeaveTheStoreAreRefused)
{
    testing_support::TempFolder outside;
    testing_support::WriteFile(outside.path() / "secret.txt", "not an item");
    std::filesystem::create_directory_symlink(outside.path(), network.storeFolder("SRV") / "Team/Documents/escape");

    EXPECT_EQ(ErrorOf([&] { store::SpsDocument().DataSource().Open(documents + "/escape/secret.txt"); }), kInvalidName);
    EXPECT_EQ(ErrorOf([&] { store::SpsDocument().DataSource().SaveTo(documents + "/escape/new.txt"); }), kInvalidName);
    EXPECT_FALSE(std::filesystem::exists(outside.path() / "new.txt"));

    store::SpsFolder folder;
    folder.DataSource().Open(documents);
    EXPECT_EQ(folder.Subfolders().recordCount(), 0) << "links are not listed";
}

TEST_F(StoreNamesTest, TheWorkspaceContainerNamesTheServerAndLeadsToItsWorkspaces)
{
    store::SpsServer server;
    server.DataSource().Open("http://SRV/SharePoint Portal Server/Workspaces");
    EXPECT_EQ(server.kind(), store::ItemKind::Server);
    EXPECT_EQ(server.displayName(), "SRV");

    store::SpsFolder viaContainer;
    viaContainer.DataSource().Open(server.url() + "/Team");
    EXPECT_EQ(viaContainer.kind(), store::ItemKind::Workspace);
    EXPECT_EQ(viaContainer.property("DAV:href").toString(), "http://SRV/Team");
}

} // namespace
