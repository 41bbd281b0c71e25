// The server's workspace template: the schema file and the content cabinet.

#include "platform/net/folder.h"
#include "platform/store/workspace_builder.h"
#include "platform/store/workspace_template.h"
#include "support/scoped_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>

namespace store {
namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

WorkspaceSchema sampleSchema()
{
    return WorkspaceSchema{
        {{"Dept.xml", "urn:x#Dept", "Abteilung & Team", "<a list>", "List", "string", true, false, {"Ä", "B;C", ""}},
         {"Budget.xml", "urn:x#Budget", "Budget", "", "Number", "i4", false, true, {}}},
        {{"Memo", "Memo", "A note", {"urn:content-classes:document"}, {"urn:x#Dept", "urn:x#Budget"}}}};
}

WorkspaceTemplate sampleTemplate()
{
    return WorkspaceTemplate{{
        FolderSpec{"Dokumente", ItemKind::Folder, "urn:content-classes:smartfolder", false,
                   {FolderSpec{"Unter Ordner", ItemKind::Folder, {}, false, {}}}},
        FolderSpec{"Kategorien", ItemKind::CategoryFolder, {}, false, {}},
        FolderSpec{"system", ItemKind::Folder, {}, true, {}},
    }};
}

TEST(TemplateTest, SchemaAndTemplateSurviveTheirXml)
{
    EXPECT_EQ(ParseWorkspaceSchema(WriteWorkspaceSchema(sampleSchema())), sampleSchema());
    EXPECT_EQ(ParseWorkspaceTemplate(WriteWorkspaceTemplate(sampleTemplate())), sampleTemplate());
}

TEST(TemplateTest, MalformedXmlNamesItsLine)
{
    for (const char* xml : {"<workspaceSchema>\n<propertyDefinition file='a'>\n", "<other/>", ""}) {
        try {
            ParseWorkspaceSchema(xml);
            ADD_FAILURE() << xml;
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), com::E_FAIL);
            EXPECT_THAT(error.description(), testing::HasSubstr("line"));
        }
    }
}

WorkspaceTemplate readCabinet(const std::filesystem::path& cabinet)
{
    const net::FileHandle file(::open(cabinet.c_str(), O_RDONLY | O_CLOEXEC));
    return ReadTemplateCabinet(file.get(), cabinet.string());
}

TEST(TemplateTest, ReadsACabinetMadeByGcab)
{
    TempFolder folder;
    WriteFile(folder.path() / "workspace.xml", WriteWorkspaceTemplate(sampleTemplate()));
    WriteFile(folder.path() / "readme.txt", "other members are passed over");
    const std::string command = "cd '" + folder.path().string() + "' && gcab -c -z template.cab readme.txt workspace.xml";
    ASSERT_EQ(std::system(command.c_str()), 0);

    EXPECT_EQ(readCabinet(folder.path() / "template.cab"), sampleTemplate());
}

TEST(TemplateTest, WritesACabinetThatReadsBack)
{
    TempFolder folder;
    WriteFile(folder.path() / "defaultworkspace.cab", TemplateCabinetBytes(sampleTemplate()));
    EXPECT_EQ(readCabinet(folder.path() / "defaultworkspace.cab"), sampleTemplate());
}

TEST(TemplateTest, AMissingOrForeignCabinetIsAClearError)
{
    TempFolder folder;
    WriteFile(folder.path() / "not-a-cabinet.cab", "plain text");
    WriteFile(folder.path() / "other.txt", "x");
    const std::string command = "cd '" + folder.path().string() + "' && gcab -c empty.cab other.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"not-a-cabinet.cab", "empty.cab"}) {
        try {
            readCabinet(folder.path() / name);
            ADD_FAILURE() << name;
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), com::E_FAIL);
            EXPECT_THAT(error.description(), testing::HasSubstr(name));
        }
    }
}

TEST(TemplateTest, BuildsTheWorkspaceWithItsSchemaFolderAndCreatorAsCoordinator)
{
    WorkspaceTemplate folders = sampleTemplate();
    folders.folders.pop_back(); // no "system": the builder adds it
    const NewItem workspace = BuildWorkspace("Team", sampleSchema(), folders, "D\\me", sys::DateTime{100});

    EXPECT_EQ(workspace.data.kind, ItemKind::Workspace);
    EXPECT_FALSE(workspace.data.inheritsRoles);
    EXPECT_EQ(workspace.data.roles.coordinators, std::vector<std::string>{"D\\me"});
    ASSERT_EQ(workspace.children.size(), 3u);
    EXPECT_EQ(workspace.children[1].data.kind, ItemKind::CategoryFolder);
    EXPECT_TRUE(workspace.children[0].data.inheritsRoles);
    const NewItem& schema = workspace.children[2].children.at(0);
    EXPECT_EQ(workspace.children[2].name, "system");
    EXPECT_EQ(schema.name, "schema");
    ASSERT_EQ(schema.children.size(), 3u);
    EXPECT_EQ(schema.children[0].name, "Dept.xml");
    EXPECT_EQ(schema.children[0].data.title, "Abteilung & Team");
    EXPECT_EQ(schema.children[0].data.properties.at(schema_property::kDictionary),
              com::Variant::StringArray({"Ä", "B;C", ""}));
    EXPECT_EQ(schema.children[2].name, "Memo_CC.xml");
    EXPECT_EQ(schema.children[2].data.properties.at(schema_property::kName), com::Variant("urn:content-classes:Memo"));
}

TEST(TemplateTest, FolderTitlesFollowTheServerLanguage)
{
    EXPECT_EQ(FolderTitlesFor("en").documents, "Documents");
    EXPECT_EQ(FolderTitlesFor("en").categories, "Categories");
    EXPECT_EQ(FolderTitlesFor("DE").documents, "Dokumente");
    EXPECT_EQ(FolderTitlesFor("de").categories, "Kategorien");
}

} // namespace
} // namespace store
