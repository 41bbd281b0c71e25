// Copying folders and category folders and walking a source tree: security by
// role mapping or inheritance, replacement, refusals, category mode, and
// folders that cannot be read.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/folder_creation.h"
#include "app/engine/url_levels.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"

#include <filesystem>

using namespace engine_testing;

namespace {

const std::string kSource = "http://SRC/Team/Documents";
const std::string kDestination = "http://DST/Team/Documents";

class FolderCreationTest : public EngineTest {
protected:
    FolderCreationTest()
    {
        AddTeamWorkspaces();
    }

    // Copies one source folder the way the drivers do: its role lists read first.
    static void CopyFolder(const std::string& source, const std::string& destination)
    {
        CreateSubFolder(source, destination, CollectAllCoordinatorNames(source), CollectAllAuthorNames(source),
                        CollectAllReaderNames(source));
    }

    const store::RoleLists sourceRoles{{"TARVEXNET\\reader"}, {"TARVEXNET\\author"}, {"TARVEXNET\\tester"}};
};

TEST_F(FolderCreationTest, RoleMappingPlacesSourceRolesOnDestinationRoles)
{
    const std::string source = store::AddFolder(kSource, "Projects", store::ItemKind::Folder, "urn:content-classes:project");
    store::SetRoles(source, sourceRoles);
    const store::RoleLists parent = RolesOf(kDestination);
    gAssignFolderSecurity = true;

    struct Case {
        std::string readers, authors, coordinators;
        store::RoleLists expected;
    };
    const std::vector<Case> cases = {
        {"0", "1", "2", sourceRoles},
        // Readers and authors both go to authors: the later write stands, and
        // the destination readers stay as the store made them.
        {"1", "1", "2", {parent.readers, sourceRoles.authors, sourceRoles.coordinators}},
        // A code outside 0 to 2 writes nothing.
        {"0", "7", "2", {sourceRoles.readers, parent.authors, sourceRoles.coordinators}},
    };
    int number = 0;
    for (const Case& test : cases) {
        SetRoleMapping(test.readers, test.authors, test.coordinators);
        const std::string destination = kDestination + "/Copy" + std::to_string(number++);

        CopyFolder(source, destination);

        EXPECT_EQ(RolesOf(destination), test.expected) << destination;
        store::SpsFolder copy;
        copy.DataSource().Open(destination);
        EXPECT_EQ(copy.contentClass(), "urn:content-classes:project");
        EXPECT_FALSE(copy.inheritParentSecurity());
    }
    EXPECT_EQ(gReplicatedCount, 3);
    EXPECT_EQ(roleMapping.calls, 3);
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(FolderCreationTest, WithoutAssignSecurityTheFolderInheritsItsParent)
{
    const std::string source = store::AddFolder(kSource, "Projects");
    store::SetRoles(source, sourceRoles);

    CopyFolder(source, kDestination + "/Projects");

    store::SpsFolder copy;
    copy.DataSource().Open(kDestination + "/Projects");
    EXPECT_TRUE(copy.inheritParentSecurity());
    EXPECT_EQ(RolesOf(kDestination + "/Projects"), RolesOf(kDestination));
    EXPECT_EQ(roleMapping.calls, 0);
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{{source, kDestination + "/Projects", " ", "Replicated Successfully."}}));
}

TEST_F(FolderCreationTest, AnExistingFolderIsReplacedOnce)
{
    const std::string source = store::AddFolder(kSource, "Projects");
    const std::string old = store::AddFolder(kDestination, "projects");
    store::AddDocument(old, "old.txt", store::DocumentSpec("old"));

    CopyFolder(source, kDestination + "/Projects");

    EXPECT_TRUE(ItemExists(kDestination + "/Projects"));
    EXPECT_FALSE(ItemExists(kDestination + "/Projects/old.txt"));
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{{source, kDestination + "/Projects", " ", "Replicated Successfully."}}));
    EXPECT_EQ(gReplicatedCount, 1);
}

TEST_F(FolderCreationTest, RefusalsOfTheDestinationAreReportedAndCounted)
{
    const std::string source = store::AddFolder(kSource, "Projects");
    const std::string readOnly = store::AddFolder(kDestination, "ReadOnly");
    store::SetRoles(readOnly, {{"TARVEXNET\\tester"}, {"TARVEXNET\\owner"}, {"TARVEXNET\\owner"}});
    // An account that only the source server knows.
    const std::string local = store::AddFolder(kSource, "Local");
    store::SetRoles(local, {{"SRC\\operator"}, {}, {"TARVEXNET\\tester"}});
    gAssignFolderSecurity = true;

    CopyFolder(source, readOnly + "/Projects");
    CopyFolder(local, kDestination + "/Local");

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{
                                {source, readOnly + "/Projects", " ", "Permission denied to create folder."},
                                {local, kDestination + "/Local", " ", "Replicated Successfully. Security settings not set."}}));
    EXPECT_EQ(gFailedCount, 1);
    EXPECT_EQ(gReplicatedCount, 1);
    const auto logged = LoggedErrors("in CreateSubFolder");
    ASSERT_EQ(logged.size(), 1u) << "the permission denial is not logged";
    EXPECT_EQ(logged[0].rfind("No=-2147024809-due to -", 0), 0u) << logged[0];
}

TEST_F(FolderCreationTest, CategoryFoldersCountWithoutRowsAndAreReplacedOnce)
{
    const std::string categories = "http://DST/Team/Categories";
    // An entry that the store lists but cannot open or delete.
    std::filesystem::create_symlink("nowhere", network.storeFolder("DST") / "Team" / "Categories" / "Ghost");
    store::AddFolder(categories, "Sales", store::ItemKind::CategoryFolder);

    CreateCatFolder(categories + "/Regions");
    CreateCatFolder(categories + "/Sales");

    EXPECT_TRUE(ItemExists(categories + "/Regions"));
    EXPECT_TRUE(ItemExists(categories + "/Sales"));
    EXPECT_EQ(gReplicatedCount, 2);
    EXPECT_TRUE(ReportRows().empty());

    // The replacement of an entry that is no item gives up after one nested
    // attempt, and says why.
    CreateCatFolder(categories + "/Ghost");

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{
                                {"", categories + "/Ghost", " ", "Existing category folder could not be replaced."}}));
    EXPECT_EQ(gFailedCount, 1);
    const auto logged = LoggedErrors("in CreateCatFolder");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("cannot take the place of \"Ghost\""), std::string::npos) << logged[0];
}

TEST_F(FolderCreationTest, TheWalkCreatesEachSubtreeBeforeTheDocumentsOfItsLevel)
{
    const std::string a = store::AddFolder(kSource, "A");
    const std::string b = store::AddFolder(a, "B");
    store::AddDocument(b, "b.txt", store::DocumentSpec("b"));
    store::AddDocument(a, "a.txt", store::DocumentSpec("a"));
    store::AddDocument(kSource, "top.txt", store::DocumentSpec("top"));
    gReplicateDocuments = true;

    GetChildRecursive(kSource, kDestination);

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{
                                {a, kDestination + "/A", " ", "Replicated Successfully."},
                                {b, kDestination + "/A/B", " ", "Replicated Successfully."},
                                {b + "/b.txt", kDestination + "/A/B/b.txt", "1 Bytes", "Replicated Successfully."},
                                {a + "/a.txt", kDestination + "/A/a.txt", "1 Bytes", "Replicated Successfully."},
                                {kSource + "/top.txt", kDestination + "/top.txt", "3 Bytes", "Replicated Successfully."}}));
}

TEST_F(FolderCreationTest, DocumentsOfCategoryTreesFollowTheirOwnRule)
{
    const std::string sales = store::AddFolder("http://SRC/Team/Categories", "Sales", store::ItemKind::CategoryFolder);
    store::AddFolder(sales, "North", store::ItemKind::CategoryFolder);
    store::AddDocument(sales, "s.txt", store::DocumentSpec("s"));
    store::AddDocument(kSource, "plain.txt", store::DocumentSpec("p"));

    struct Case {
        bool workspacesInCart, documents, categoryDocumentCopied, plainDocumentCopied;
    };
    for (const Case test : {Case{false, false, true, false}, Case{true, false, false, false}, Case{true, true, true, true}}) {
        SCOPED_TRACE(testing::Message() << test.workspacesInCart << test.documents);
        const std::string target = store::AddFolder(kDestination, "Run" + std::to_string(gReplicatedCount));
        const std::string categories = store::AddFolder(target, "Categories", store::ItemKind::CategoryFolder);
        gWorkspacesInCart = test.workspacesInCart;
        gReplicateDocuments = test.documents;

        GetChildRecursive("http://SRC/Team/Categories", categories);
        GetChildRecursive(kSource, target);

        EXPECT_TRUE(ItemExists(categories + "/Sales/North"));
        EXPECT_EQ(ItemExists(categories + "/Sales/s.txt"), test.categoryDocumentCopied);
        EXPECT_EQ(ItemExists(target + "/plain.txt"), test.plainDocumentCopied);
    }
}

TEST_F(FolderCreationTest, ASourceThatCannotBeReadCopiesNothingBelowIt)
{
    const std::string document = store::AddDocument(kSource, "a.txt", store::DocumentSpec("a"));
    gReplicateDocuments = true;

    GetChildRecursive(kSource + "/Missing", kDestination + "/Missing");
    EXPECT_EQ(LoggedErrors("in GetChildRecursive").size(), 1u) << "the failed open alone";

    // A document is no folder: neither of its listings can be read.
    GetChildRecursive(document, kDestination + "/Copy");
    EXPECT_EQ(LoggedErrors("in GetChildRecursive").size(), 3u) << "the two failed listings";

    const std::string empty = store::AddFolder(kSource, "Empty");
    GetChildRecursive(empty, kDestination);
    EXPECT_EQ(LoggedErrors("in GetChildRecursive").size(), 3u);
    EXPECT_TRUE(ReportRows().empty());
    EXPECT_EQ(gReplicatedCount + gFailedCount, 0);
}

} // namespace
