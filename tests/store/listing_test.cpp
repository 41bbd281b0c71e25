// The record sets of folder, server and schema listings.

#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::StoreNetwork;

std::vector<std::string> column(ado::Recordset records, const char* field)
{
    std::vector<std::string> values;
    for (records.moveFirst(); !records.eof(); records.moveNext()) values.push_back(records.field(field).toString());
    return values;
}

class StoreListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        network.addServer("BERLIN", store::ServerLanguage::German);
        workspace = store::AddWorkspace("SRV", "Team");
        documents = workspace + "/Documents";
    }

    StoreNetwork network;
    std::string workspace;
    std::string documents;
};

TEST_F(StoreListingTest, ItemsAndSubfoldersAreSeparateRecordSetsOrderedByName)
{
    for (const char* name : {"b.txt", "A.txt", "c.txt"}) store::AddDocument(documents, name, store::DocumentSpec(name));
    for (const char* name : {"zeta", "Alpha"}) store::AddFolder(documents, name);

    store::SpsFolder folder;
    folder.DataSource().Open(documents);
    ado::Recordset items = folder.Items();
    EXPECT_EQ(items.fieldName(0), "RESOURCE_PARSENAME");
    EXPECT_EQ(column(items, "RESOURCE_PARSENAME"), (std::vector<std::string>{"A.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(column(items, "DAV:href").front(), "http://SRV/Team/Documents/A.txt");
    EXPECT_EQ(column(items, "DAV:isfolder"), (std::vector<std::string>{"False", "False", "False"}));
    EXPECT_EQ(column(folder.Subfolders(), "DAV:displayname"), (std::vector<std::string>{"Alpha", "zeta"}));
    EXPECT_EQ(column(folder.Subfolders(), "DAV:isfolder"), (std::vector<std::string>{"True", "True"}));

    store::SpsDocument doc;
    doc.DataSource().Open(documents + "/b.txt");
    items.moveFirst();
    items.moveNext();
    EXPECT_EQ(items.field("DAV:getlastmodified").toDate(), doc.lastModified());

    items.moveNext();
    items.moveNext();
    EXPECT_TRUE(items.eof());
    EXPECT_THROW(items.field(0), com::ComError);
}

TEST_F(StoreListingTest, AnEmptyFolderGivesAnEmptyRecordSet)
{
    store::SpsFolder folder;
    folder.DataSource().Open(store::AddFolder(documents, "Empty"));
    EXPECT_TRUE(folder.Items().eof());
    EXPECT_EQ(folder.Subfolders().recordCount(), 0);
}

TEST_F(StoreListingTest, TheServerListsItsWorkspacesWithItsOwnFolderTitles)
{
    store::AddWorkspace("SRV", "alpha");
    store::SpsFolder hidden;
    hidden.DataSource().Open(workspace);
    hidden.setHidden(true);
    hidden.DataSource().Save();

    store::SpsServer server;
    server.setPreOpenFlag(true);
    server.DataSource().Open("http://SRV/sharepoint portal server/workspaces", 3, -1, 0x4000000);
    ado::Recordset workspaces = server.Workspaces();
    EXPECT_EQ(column(workspaces, "RESOURCE_PARSENAME"), (std::vector<std::string>{"alpha", "Team"}));
    EXPECT_EQ(column(workspaces, "DAV:ishidden"), (std::vector<std::string>{"False", "True"}));
    EXPECT_EQ(column(workspaces, "urn:schemas-microsoft-com:workspace#DocumentsFolder"),
              (std::vector<std::string>{"Documents", "Documents"}));

    store::AddWorkspace("BERLIN", "Team");
    store::SpsServer german;
    german.DataSource().Open("http://BERLIN/sharepoint portal server/workspaces");
    workspaces = german.Workspaces();
    EXPECT_EQ(workspaces.field("urn:schemas-microsoft-com:workspace#DocumentsFolder").toString(), "Dokumente");
    EXPECT_EQ(workspaces.field("urn:schemas-microsoft-com:workspace#CategoriesFolder").toString(), "Kategorien");

    store::SpsFolder container;
    container.DataSource().Open("http://SRV/sharepoint portal server/workspaces");
    EXPECT_EQ(column(container.Subfolders(), "RESOURCE_PARSENAME"), (std::vector<std::string>{"alpha", "Team"}));
    EXPECT_TRUE(container.Items().eof());
}

TEST_F(StoreListingTest, TheSchemaFolderListsDefinitionsAndContentClasses)
{
    store::AddContentClass(workspace, {"Memo", "Memo", "", {}, {}});
    store::SpsWorkspace team;
    team.DataSource().Open(workspace);
    const com::Variant classes = team.ContentClasses();
    EXPECT_EQ(classes, com::Variant::StringArray({"urn:content-classes:Document", "urn:content-classes:Memo"}));

    store::SpsFolder schema;
    schema.DataSource().Open(workspace + "/system/schema");
    const std::vector<std::string> names = column(schema.Items(), "RESOURCE_PARSENAME");
    EXPECT_EQ(names, (std::vector<std::string>{"Author.xml", "Description.xml", "Document_CC.xml", "Keywords.xml",
                                               "Memo_CC.xml", "Title.xml"}));
}

} // namespace
