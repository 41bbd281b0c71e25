// Workspace creation from the server's template files on its C$ share.

#include "platform/net/network.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using testing_support::StoreNetwork;
using testing_support::WriteFile;

const char kTemplateXml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<workspaceTemplate>
  <folder name="Dokumente" kind="folder" contentClass="urn:content-classes:smartfolder">
    <folder name="Eingang"/>
  </folder>
  <folder name="Kategorien" kind="categoryfolder"/>
  <folder name="system" hidden="true"><folder name="schema"/></folder>
</workspaceTemplate>
)";

const char kSchemaXml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<workspaceSchema>
  <propertyDefinition file="Farbe.xml" name="urn:x#Farbe" title="Farbe" description="Die Farbe"
                      extendedType="List" dataType="string" required="true" multiValued="false">
    <value>Rot</value><value>Grün</value>
  </propertyDefinition>
  <contentClass name="Angebot" title="Angebot" description="">
    <extends>urn:content-classes:document</extends>
    <property>urn:x#Farbe</property>
  </contentClass>
</workspaceSchema>
)";

class StoreWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        // A template of its own on the server's drive C, the cabinet made by gcab.
        const auto folder = net::FindHost("SRV")->folder / "drives/C/Vorlagen";
        WriteFile(folder / "workspace.xml", kTemplateXml);
        WriteFile(folder / "schema.xml", kSchemaXml);
        const std::string command = "cd '" + folder.string() + "' && gcab -c -z vorlage.cab workspace.xml";
        ASSERT_EQ(std::system(command.c_str()), 0);
        server.DataSource().Open("http://SRV/sharepoint portal server/workspaces");
    }

    store::SpsWorkspace create(const std::string& name)
    {
        return server.CreateWorkspace("http://SRV/" + name, "\\\\SRV\\C$\\Vorlagen\\schema.xml",
                                      "\\\\srv\\c$\\vorlagen\\VORLAGE.CAB", 0);
    }

    StoreNetwork network;
    store::SpsServer server;
};

TEST_F(StoreWorkspaceTest, TheNewWorkspaceHoldsTheTemplatesFoldersAndSchema)
{
    store::SpsWorkspace workspace = create("Angebote");
    EXPECT_EQ(workspace.kind(), store::ItemKind::Workspace);
    EXPECT_EQ(workspace.coordinators(), store::AccountsToVariant({network.user()}));
    EXPECT_EQ(workspace.ContentClasses(), com::Variant::StringArray({"urn:content-classes:Angebot"}));

    store::SpsFolder documents;
    documents.DataSource().Open("http://SRV/Angebote/Dokumente");
    EXPECT_EQ(documents.contentClass(), "urn:content-classes:smartfolder");
    EXPECT_EQ(documents.Subfolders().field(0).toString(), "Eingang");
    store::SpsCategoryFolder categories;
    categories.DataSource().Open("http://SRV/Angebote/Kategorien");
    EXPECT_EQ(categories.kind(), store::ItemKind::CategoryFolder);
    store::SpsFolder system;
    system.DataSource().Open("http://SRV/Angebote/system");
    EXPECT_TRUE(system.hidden());

    // A property definition as the profile copy reads it.
    store::SpsPropertyDef definition;
    definition.DataSource().Open("http://SRV/Angebote/system/schema/Farbe.xml");
    store::SpsItem& item = definition;
    store::SpsDocument byHref;
    byHref.DataSource().Open(item.property("DAV:href").toString());
    EXPECT_EQ(byHref.field("RESOURCE_PARSENAME").toString(), "Farbe.xml");
    EXPECT_EQ(definition.propertyName(), "urn:x#Farbe");
    EXPECT_EQ(definition.title(), "Farbe");
    EXPECT_EQ(definition.description(), "Die Farbe");
    EXPECT_TRUE(definition.property("urn:schemas-microsoft-com:exch-Data:isrequired").toBool());
    EXPECT_FALSE(definition.property("urn:schemas-microsoft-com:exch-Data:ismultivalued").toBool());
    EXPECT_EQ(definition.property("urn:schemas-microsoft-com:publishing:extended-type").toString(), "List");
    EXPECT_EQ(definition.property("urn:schemas-microsoft-com:exch-data:dictionary"),
              com::Variant::StringArray({"Rot", "Grün"}));

    store::SpsContentClass contentClass;
    contentClass.DataSource().Open("http://SRV/Angebote/system/schema/Angebot_CC.xml");
    EXPECT_EQ(contentClass.className(), com::Variant("urn:content-classes:Angebot"));
    EXPECT_EQ(contentClass.memberProperties(), com::Variant::StringArray({"urn:x#Farbe"}));
}

TEST_F(StoreWorkspaceTest, ADeletedWorkspaceCanBeCreatedAgain)
{
    create("Angebote");
    store::AddDocument("http://SRV/Angebote/Dokumente", "alt.txt", store::DocumentSpec("old"));
    store::SpsWorkspace existing;
    existing.DataSource().Open("http://SRV/Angebote");
    existing.Delete("http://SRV/Angebote");

    create("Angebote");
    store::SpsFolder documents;
    documents.DataSource().Open("http://SRV/Angebote/Dokumente");
    EXPECT_TRUE(documents.Items().eof());
}

TEST_F(StoreWorkspaceTest, TheWorkspaceURLMustNameThisServer)
{
    network.addServer("OTHER");
    EXPECT_EQ(testing_support::ErrorOf([&] {
                  server.CreateWorkspace("http://OTHER/X", "\\\\SRV\\C$\\Vorlagen\\schema.xml",
                                         "\\\\SRV\\C$\\Vorlagen\\vorlage.cab", 0);
              }),
              com::E_INVALIDARG);
}

} // namespace
