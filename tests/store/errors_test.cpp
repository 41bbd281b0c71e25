// Every error number the store reports, each produced by its real cause.

#include "platform/net/network.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing_support::ErrorOf;
using testing_support::StoreNetwork;

class StoreErrorsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        workspace = store::AddWorkspace("SRV", "Team");
        documents = workspace + "/Documents";
        document = store::AddDocument(documents, "a.txt", store::DocumentSpec("a"));
    }

    static com::HRESULT openError(const std::string& url)
    {
        return ErrorOf([&] {
            store::SpsDocument item;
            item.DataSource().Open(url);
        });
    }

    StoreNetwork network;
    std::string workspace;
    std::string documents;
    std::string document;
};

TEST_F(StoreErrorsTest, HostsThatCannotServeAStoreHaveTheirConnectionErrors)
{
    network.addHost("PLAIN");
    network.addHost("NOSTORE");
    net::HostInfo host = *net::FindHost("NOSTORE");
    host.services = {"MSDMSERV"};
    net::SaveHost(host);
    network.addServer("DOWN");
    network.setReachable("DOWN", false);

    EXPECT_EQ(openError("http://NOPE/Team"), store::errHostNotFound);
    EXPECT_EQ(openError("http://DOWN/Team"), store::errHostUnreachable);
    EXPECT_EQ(openError("http://PLAIN/sharepoint portal server/workspaces"), store::errNoStoreOnHost);
    EXPECT_EQ(openError("http://NOSTORE/sharepoint portal server/workspaces"), store::errNoStoreOnHost);

    network.setReachable("DOWN", true);
    EXPECT_EQ(openError("http://DOWN/sharepoint portal server/workspaces"), com::S_OK) << "reachable again";

    store::SpsDocument opened;
    opened.DataSource().Open(document);
    network.setReachable("SRV", false);
    EXPECT_EQ(ErrorOf([&] { opened.DataSource().Save(); }), store::errHostUnreachable) << "an opened object too";
}

TEST_F(StoreErrorsTest, AStoreFolderRemovedWhileInUseMeansNoStoreUntilItIsBack)
{
    EXPECT_EQ(openError(document), com::S_OK);
    std::filesystem::remove_all(network.storeFolder("SRV"));
    EXPECT_EQ(openError(document), store::errNoStoreOnHost);
    EXPECT_EQ(openError(document), store::errNoStoreOnHost);

    store::MakeStoreServer("SRV", store::ServerLanguage::English);
    EXPECT_EQ(openError(document), store::errItemNotFound) << "a new, empty store";
    EXPECT_EQ(openError("http://SRV/sharepoint portal server/workspaces"), com::S_OK);
}

TEST_F(StoreErrorsTest, WithoutANetworkTheStoreCannotBeReached)
{
    testing_support::TempFolder empty;
    testing_support::ScopedEnv noNetwork("TARVEX_NETWORK", empty.path().string());
    EXPECT_EQ(openError(document), store::errStoreUnreachable);
}

TEST_F(StoreErrorsTest, MissingItemsAreNotFound)
{
    for (const std::string& url : {documents + "/missing.txt", workspace + "/Nope/a.txt", std::string("http://SRV/Nope"),
                                   std::string("Null String"), document + "/below a document"})
        EXPECT_EQ(openError(url), store::errItemNotFound) << url;

    store::SpsDocument fresh;
    EXPECT_EQ(ErrorOf([&] { fresh.DataSource().SaveTo(workspace + "/Nope/b.txt"); }), store::errItemNotFound);
    EXPECT_EQ(ErrorOf([&] { fresh.DataSource().SaveTo(document + "/b.txt"); }), store::errItemNotFound);
    EXPECT_EQ(ErrorOf([&] { fresh.DataSource().Save(); }), store::errItemNotFound) << "nothing opened";
}

TEST_F(StoreErrorsTest, SavingOntoAnExistingItemIsRefusedForEveryKindWhateverTheOverwriteOption)
{
    store::AddFolder(documents, "Sub");
    store::AddFolder(workspace + "/Categories", "Cat", store::ItemKind::CategoryFolder);
    store::SpsDocument doc;
    store::SpsFolder folder;
    store::SpsCategoryFolder category;
    store::SpsPropertyDef definition;
    store::SpsContentClass contentClass;
    const std::pair<store::SpsItem*, std::string> cases[] = {
        {&doc, documents + "/A.TXT"},
        {&folder, documents + "/sub"},
        {&category, workspace + "/Categories/CAT"},
        {&definition, workspace + "/system/schema/title.xml"},
        {&contentClass, workspace + "/system/schema/document_cc.xml"},
        {&folder, workspace},
    };
    for (const auto& [item, url] : cases) {
        EXPECT_EQ(ErrorOf([&] { item->DataSource().SaveTo(url, 3, 0x4000000); }), store::errItemExists) << url;
        EXPECT_EQ(ErrorOf([&] { item->DataSource().SaveTo(url, 0, 0); }), store::errItemExists) << url;
    }
    EXPECT_EQ(ErrorOf([&] { store::AddWorkspace("SRV", "TEAM"); }), store::errItemExists);
}

TEST_F(StoreErrorsTest, LackingTheRoleIsPermissionDenied)
{
    store::SetRoles(workspace, {{"TARVEXNET\\reader"}, {"TARVEXNET\\author"}, {network.user()}});
    auto saveDocument = [&](const std::string& name) {
        return ErrorOf([&] {
            store::SpsDocument doc;
            doc.DataSource().SaveTo(documents + "/" + name);
        });
    };
    auto changeRoles = [&] {
        return ErrorOf([&] { store::SetRoles(documents, {{"\\Everyone"}, {}, {}}); });
    };

    network.actAs("TARVEXNET", "stranger");
    EXPECT_EQ(openError(document), store::errPermissionDenied);
    EXPECT_EQ(openError(workspace), store::errPermissionDenied);

    network.actAs("TARVEXNET", "reader");
    EXPECT_EQ(openError(document), com::S_OK);
    EXPECT_EQ(saveDocument("by reader.txt"), store::errPermissionDenied);

    network.actAs("TARVEXNET", "author");
    EXPECT_EQ(saveDocument("by author.txt"), com::S_OK);
    store::PropertyDefinitionSpec definition;
    definition.fileName = "P.xml";
    definition.propertyName = "urn:x#P";
    definition.extendedType = "Text";
    EXPECT_EQ(ErrorOf([&] { store::AddPropertyDefinition(workspace, definition); }), store::errPermissionDenied);
    EXPECT_EQ(changeRoles(), store::errPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { store::SpsWorkspace().Delete(workspace); }), store::errPermissionDenied);

    network.actAs("TARVEXNET", "tester");
    EXPECT_EQ(changeRoles(), com::S_OK);
}

TEST_F(StoreErrorsTest, CreatingAWorkspaceNeedsAnAdministratorOfTheHost)
{
    const std::string bin = store::TemplateFolderUnc("SRV");
    auto createSecond = [&] {
        return ErrorOf([&] {
            store::SpsServer server;
            server.DataSource().Open("http://SRV/sharepoint portal server/workspaces");
            server.CreateWorkspace("http://SRV/Second", bin + "localschema.xml", bin + "defaultworkspace.cab", 0);
        });
    };
    network.setAdministrators("SRV", {"TARVEXNET\\admin"});
    EXPECT_EQ(createSecond(), store::errNotHostAdministrator);
    network.setAdministrators("SRV", {"tarvexnet\\TESTER"});
    EXPECT_EQ(createSecond(), com::S_OK);
}

TEST_F(StoreErrorsTest, ADocumentCheckedOutByAnotherUserCannotBeChangedOrDeleted)
{
    store::SetRoles(workspace, {{}, {"TARVEXNET\\other"}, {network.user()}});
    store::DocumentSpec newDocument("mine");
    newDocument.state = store::DocumentState::CheckedOut;
    const std::string mine = store::AddDocument(documents, "mine.txt", newDocument);

    network.actAs("TARVEXNET", "other");
    store::SpsDocument doc;
    doc.DataSource().Open(mine);
    doc.setProperty("urn:x#note", "changed");
    EXPECT_EQ(ErrorOf([&] { doc.DataSource().Save(); }), store::errCheckedOutByOther);
    EXPECT_EQ(ErrorOf([&] { doc.Delete(); }), store::errCheckedOutByOther);
    EXPECT_EQ(ErrorOf([&] { store::SpsVersion().checkIn(doc); }), store::errCheckedOutByOther);
    EXPECT_EQ(ErrorOf([&] { store::SpsDocument().DataSource().SaveTo(mine); }), store::errItemExists);

    network.actAs("TARVEXNET", "tester");
    store::SpsDocument again;
    again.DataSource().Open(mine);
    EXPECT_EQ(ErrorOf([&] { again.Delete(); }), com::S_OK);
}

TEST_F(StoreErrorsTest, RoleListsWithAnAccountUnknownToTheHostAreRefusedAndNothingChanges)
{
    store::SpsFolder folder;
    folder.DataSource().Open(documents);
    folder.setInheritParentSecurity(false);
    folder.setReaders(com::Variant::StringArray({"\\Everyone", "ACME\\anna"}));
    EXPECT_EQ(ErrorOf([&] { folder.DataSource().Save(); }), store::errUnknownAccount);

    store::SpsFolder reread;
    reread.DataSource().Open(documents);
    EXPECT_TRUE(reread.inheritParentSecurity());
    EXPECT_EQ(reread.readers(), store::AccountsToVariant({}));
}

TEST_F(StoreErrorsTest, PublishingNeedsACoordinator)
{
    store::SetRoles(workspace, {{}, {"TARVEXNET\\author"}, {network.user()}});
    network.actAs("TARVEXNET", "author");
    store::SpsDocument doc;
    store::SpsVersion version;
    doc.DataSource().SaveTo(documents + "/draft.txt");
    version.checkIn(doc);
    try {
        version.publish(doc);
        FAIL() << "an author published";
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.number(), store::errPublishDenied);
        EXPECT_EQ(error.description(), "Permission denied");
    }
    EXPECT_EQ(doc.property("urn:schemas-microsoft-com:publishing:documentstate").toString(), "checkedin");
}

TEST_F(StoreErrorsTest, MissingPropertiesAndMembersTheItemLacks)
{
    store::SpsDocument doc;
    EXPECT_EQ(ErrorOf([&] { doc.property("DAV:href"); }), store::errPropertyNotFound) << "nothing opened yet";
    doc.DataSource().Open(document);
    EXPECT_EQ(ErrorOf([&] { doc.property("urn:schemas-microsoft-com:office:office#Author"); }), store::errPropertyNotFound);
    EXPECT_EQ(ErrorOf([&] { doc.setProperty("DAV:href", "x"); }), store::errReadOnlyProperty);

    store::SpsFolder folder;
    folder.DataSource().Open(document);
    EXPECT_EQ(ErrorOf([&] { folder.Items(); }), store::errWrongItemKind);
    store::SpsServer server;
    server.DataSource().Open(workspace);
    EXPECT_EQ(ErrorOf([&] { server.Workspaces(); }), store::errWrongItemKind);
}

TEST_F(StoreErrorsTest, AMissingTemplateFileIsNamedInTheError)
{
    store::SpsServer server;
    server.DataSource().Open("http://SRV/sharepoint portal server/workspaces");
    const std::string bin = store::TemplateFolderUnc("SRV");
    const std::pair<std::string, std::string> cases[] = {
        {bin + "missing.xml", bin + "defaultworkspace.cab"},
        {bin + "localschema.xml", bin + "missing.cab"},
    };
    for (const auto& [schema, cabinet] : cases) {
        try {
            server.CreateWorkspace("http://SRV/New", schema, cabinet, 0);
            ADD_FAILURE() << schema << " " << cabinet;
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), com::HResultFromWin32(net::ERROR_FILE_NOT_FOUND));
            EXPECT_THAT(error.description(), testing::HasSubstr("missing."));
        }
    }
    EXPECT_EQ(openError("http://SRV/New"), store::errItemNotFound) << "nothing half made";
}

} // namespace
