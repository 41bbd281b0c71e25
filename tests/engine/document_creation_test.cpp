// Copying single documents: content, size text, profile, security, metadata,
// the pre-import filter, document states, replacement and the refusals of the
// destination, each with its report row and count.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/document_creation.h"
#include "platform/ado/stream.h"
#include "platform/store/sps.h"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine_testing;

namespace {

const std::string kOffice = "urn:schemas-microsoft-com:office:office#";
const std::string kSourceFolder = "http://SRC/Team/Documents";
const std::string kDestinationFolder = "http://DST/Team/Documents";

class CreateDocumentTest : public EngineTest {
protected:
    CreateDocumentTest()
    {
        AddTeamWorkspaces();
        mainWindow.top = kSourceFolder;
    }

    static store::SpsDocument OpenDocument(const std::string& url)
    {
        store::SpsDocument document;
        document.DataSource().Open(url);
        return document;
    }

    static std::string Content(const std::string& url) { return OpenDocument(url).contentStream().Read(); }

    // The document's property as text; "(none)" when it has no such property.
    static std::string PropertyText(const store::SpsDocument& document, const std::string& name)
    {
        try {
            return document.property(name).toString();
        } catch (const com::ComError&) {
            return "(none)";
        }
    }

    // The destination's state of a copy: "checkedout", "checkedin", "published".
    static std::string StateOf(const std::string& url)
    {
        return OpenDocument(url).field("urn:schemas-microsoft-com:publishing:documentstate").toString();
    }

    static ReportRow Row(const std::string& name, const std::string& size, const std::string& remark)
    {
        return {kSourceFolder + "/" + name, kDestinationFolder + "/" + name, size, remark};
    }

    // A folder in the destination where the user may read but not write.
    static std::string ReadOnlyFolder(const std::string& name)
    {
        const std::string url = store::AddFolder(kDestinationFolder, name);
        store::SetRoles(url, {{"TARVEXNET\\tester"}, {"TARVEXNET\\owner"}, {"TARVEXNET\\owner"}});
        return url;
    }
};

TEST_F(CreateDocumentTest, CopiesTheContentByteForByteWithItsSizeText)
{
    std::string bytes;
    for (int i = 0; i < 1536; ++i) bytes += char(i % 256);
    store::AddDocument(kSourceFolder, "binary.dat", store::DocumentSpec(bytes));

    CreateDocument(kSourceFolder, kDestinationFolder, "binary.dat");

    EXPECT_EQ(Content(kDestinationFolder + "/binary.dat"), bytes);
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{Row("binary.dat", "1.5 KB", "Replicated Successfully.")}));
    EXPECT_EQ(gReplicatedCount, 1);
    EXPECT_EQ(gFailedCount, 0);
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(CreateDocumentTest, ProfileSecurityAndMetadataGoAlongOnlyWhenChosen)
{
    store::DocumentSpec memo("memo");
    memo.contentClass = "urn:content-classes:Memo";
    memo.properties[kOffice + "Title"] = "Quarterly report";
    memo.properties[kOffice + "Author"] = "Ann";
    memo.properties["urn:example:unlisted"] = "not in the schema";
    const std::string source = store::AddDocument(kSourceFolder, "memo.txt", memo);
    {
        store::SpsDocument document = OpenDocument(source);
        document.setSecurityValue("secret-acl");
        document.setMetadataValue("metadata-blob");
        document.DataSource().Save();
    }

    struct Options {
        bool profiles, security, metadata;
    };
    for (const Options options : {Options{false, false, false}, Options{true, false, false},
                                  Options{false, true, false}, Options{false, false, true}, Options{true, true, true}}) {
        SCOPED_TRACE(testing::Message() << options.profiles << options.security << options.metadata);
        const std::string destination = store::AddFolder(kDestinationFolder, "run" + std::to_string(gReplicatedCount));
        gAssignFolderProfiles = options.profiles;
        gAssignDocumentSecurity = options.security;
        gAssignDocumentMetadata = options.metadata;

        CreateDocument(kSourceFolder, destination, "memo.txt");

        const store::SpsDocument copy = OpenDocument(destination + "/memo.txt");
        EXPECT_EQ(copy.contentClass() == "urn:content-classes:Memo", options.profiles);
        EXPECT_EQ(copy.securityValue() == com::Variant("secret-acl"), options.security);
        EXPECT_EQ(copy.metadataValue() == com::Variant("metadata-blob"), options.metadata) << "stored with the copy";
        const auto has = [&](const std::string& name) { return PropertyText(copy, name); };
        EXPECT_EQ(has(kOffice + "Title"), options.metadata ? "Quarterly report" : "(none)");
        EXPECT_EQ(has(kOffice + "Author"), options.metadata ? "Ann" : "(none)");
        EXPECT_EQ(has(kOffice + "Keywords"), "(none)") << "a property the source lacks is not written";
        EXPECT_EQ(has("urn:example:unlisted"), "(none)") << "only what the schema defines is copied";
    }
    EXPECT_EQ(gReplicatedCount, 5);
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(CreateDocumentTest, MetadataFollowsTheSchemaOfTheDocumentsOwnWorkspaceWhateverTheAddressBoxShows)
{
    store::AddWorkspace("SRC", "Other");
    store::AddPropertyDefinition("http://SRC/Team", {"Department.xml", kOffice + "Department", "Department", "",
                                                     "Text", "string", false, false, {}});
    store::DocumentSpec plan("plan");
    plan.properties[kOffice + "Department"] = "Sales";
    store::AddDocument(kSourceFolder, "plan.docx", plan);
    gAssignDocumentMetadata = true;

    // A whole-server run shows the server; another entry may show another workspace.
    for (const std::string& addressBox : {std::string("http://SRC"), std::string("http://SRC/Other"), kSourceFolder}) {
        SCOPED_TRACE(addressBox);
        mainWindow.top = addressBox;
        const std::string destination = store::AddFolder(kDestinationFolder, "run" + std::to_string(gReplicatedCount));

        CreateDocument(kSourceFolder, destination, "plan.docx");

        EXPECT_EQ(PropertyText(OpenDocument(destination + "/plan.docx"), kOffice + "Department"), "Sales");
    }
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(CreateDocumentTest, DocumentStateFollowsTheChosenOption)
{
    using State = store::DocumentState;
    struct Case {
        State source;
        bool asInSource, checkIn, publish;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {State::CreatedCheckedIn, false, false, false, "checkedout"},
        {State::CreatedCheckedIn, false, true, false, "checkedin"},
        {State::CreatedCheckedIn, false, false, true, "published"},
        {State::CheckedOut, true, false, false, "checkedout"},
        {State::CreatedCheckedIn, true, false, false, "checkedin"},
        {State::CheckedIn, true, false, false, "checkedin"},
        {State::Published, true, false, false, "published"},
    };
    int number = 0;
    for (const Case& test : cases) {
        const std::string name = "doc" + std::to_string(number++) + ".txt";
        store::DocumentSpec document("text");
        document.state = test.source;
        store::AddDocument(kSourceFolder, name, document);
        gDocStateAsInSource = test.asInSource;
        gDocStateCheckIn = test.checkIn;
        gDocStatePublish = test.publish;

        CreateDocument(kSourceFolder, kDestinationFolder, name);

        EXPECT_EQ(StateOf(kDestinationFolder + "/" + name), test.expected) << name;
    }
    EXPECT_EQ(gReplicatedCount, int(cases.size()));
}

TEST_F(CreateDocumentTest, TheFilterStopsADocumentThatMismatchesAndLetsOthersPass)
{
    WriteSettingsRows("tblPreimportSettings",
                      {{{"PropertyName", "Title"}, {"MetaData", "approved"}, {"Checked", "True"}, {"DataType", "Comment box"}},
                       {{"PropertyName", "Author"}, {"MetaData", "Bob"}, {"Checked", "False"}, {"DataType", "Comment box"}}});
    store::DocumentSpec approved("yes");
    approved.properties[kOffice + "Title"] = "Approved";
    store::AddDocument(kSourceFolder, "approved.txt", approved);
    store::DocumentSpec draft("no");
    draft.properties[kOffice + "Title"] = "Draft";
    store::AddDocument(kSourceFolder, "draft.txt", draft);
    store::AddDocument(kSourceFolder, "untitled.txt", store::DocumentSpec("none"));

    for (const char* name : {"approved.txt", "draft.txt", "untitled.txt"})
        CreateDocument(kSourceFolder, kDestinationFolder, name);

    EXPECT_TRUE(ItemExists(kDestinationFolder + "/approved.txt"));
    EXPECT_FALSE(ItemExists(kDestinationFolder + "/draft.txt"));
    EXPECT_FALSE(ItemExists(kDestinationFolder + "/untitled.txt"));
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{Row("approved.txt", "3 Bytes", "Replicated Successfully."),
                                                    Row("draft.txt", "2 Bytes", "Import failed due to filter settings."),
                                                    Row("untitled.txt", "4 Bytes", "Import failed due to filter settings.")}));
    EXPECT_EQ(gReplicatedCount, 1);
    EXPECT_EQ(gFailedCount, 2);
    EXPECT_TRUE(LoggedErrors().empty()) << "a missing property fails the row silently";

    // A settings database that cannot be opened lets every document pass.
    std::filesystem::remove(SettingsDatabasePath());
    CreateDocument(kSourceFolder, kDestinationFolder, "draft.txt");
    EXPECT_TRUE(ItemExists(kDestinationFolder + "/draft.txt"));
    EXPECT_EQ(LoggedErrors("Has to be Saved").size(), 1u);
}

TEST_F(CreateDocumentTest, AnExistingDocumentIsReplacedOnceWithOneRow)
{
    store::AddDocument(kSourceFolder, "a.txt", store::DocumentSpec("new content"));
    store::AddDocument(kDestinationFolder, "A.TXT", store::DocumentSpec("old"));

    CreateDocument(kSourceFolder, kDestinationFolder, "a.txt");

    EXPECT_EQ(Content(kDestinationFolder + "/a.txt"), "new content");
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{Row("a.txt", "11 Bytes", "Replicated Successfully.")}));
    EXPECT_EQ(gReplicatedCount, 1);
    EXPECT_EQ(gFailedCount, 0);
}

TEST_F(CreateDocumentTest, RefusalsOfTheDestinationAreReportedAndCounted)
{
    store::AddDocument(kSourceFolder, "a.txt", store::DocumentSpec("abc"));
    const std::string readOnly = ReadOnlyFolder("ReadOnly");

    CreateDocument(kSourceFolder, readOnly, "a.txt");
    CreateDocument(kSourceFolder, kDestinationFolder + "/Missing", "a.txt");

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{
                                {kSourceFolder + "/a.txt", readOnly + "/a.txt", "3 Bytes", "Permission denied to create document."},
                                {kSourceFolder + "/a.txt", kDestinationFolder + "/Missing/a.txt", "3 Bytes",
                                 "Destination Folder not found."}}));
    EXPECT_EQ(gFailedCount, 2);
    const auto logged = LoggedErrors("in CreateDocument");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0].rfind("No=-2147217911-due to -", 0), 0u) << logged[0];
    EXPECT_EQ(logged[1].rfind("No=-2147217895-due to -", 0), 0u) << logged[1];
}

TEST_F(CreateDocumentTest, APublishRefusedLeavesTheDocumentCheckedIn)
{
    store::AddDocument(kSourceFolder, "a.txt", store::DocumentSpec("abc"));
    const std::string folder = store::AddFolder(kDestinationFolder, "Authors");
    store::SetRoles(folder, {{}, {"TARVEXNET\\tester"}, {"TARVEXNET\\owner"}});
    gDocStatePublish = true;

    CreateDocument(kSourceFolder, folder, "a.txt");

    EXPECT_EQ(StateOf(folder + "/a.txt"), "checkedin");
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{{kSourceFolder + "/a.txt", folder + "/a.txt", "3 Bytes",
                                                     "Replicated Successfully. Permission denied to publish. Document Checked-in."}}));
    EXPECT_EQ(gReplicatedCount, 1);
    EXPECT_EQ(LoggedErrors(), (std::vector<std::string>{"No=70-due to -Permission denied to publish the document- in CreateDocument"}));
}

TEST_F(CreateDocumentTest, ADocumentCheckedOutByAnotherUserIsNotOverwritten)
{
    store::AddDocument(kSourceFolder, "a.txt", store::DocumentSpec("new"));
    store::SetRoles(kDestinationFolder, {{}, {"TARVEXNET\\tester", "TARVEXNET\\other"}, {"TARVEXNET\\tester"}});
    network.actAs("TARVEXNET", "other");
    store::DocumentSpec locked("theirs");
    locked.state = store::DocumentState::CheckedOut;
    store::AddDocument(kDestinationFolder, "a.txt", locked);
    network.actAs("TARVEXNET", "tester");

    CreateDocument(kSourceFolder, kDestinationFolder, "a.txt");

    EXPECT_EQ(Content(kDestinationFolder + "/a.txt"), "theirs");
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{Row("a.txt", "3 Bytes", "Permission denied to Overwrite document.")}));
    EXPECT_EQ(gFailedCount, 1);
}

TEST_F(CreateDocumentTest, ASaveThatFailsIsNeverReportedAsReplicated)
{
    store::AddDocument(kSourceFolder, "a.txt", store::DocumentSpec("abc"));
    network.setReachable("DST", false);

    CreateDocument(kSourceFolder, kDestinationFolder, "a.txt");

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{Row("a.txt", "3 Bytes", "Document could not be saved.")}));
    EXPECT_EQ(gReplicatedCount, 0);
    EXPECT_EQ(gFailedCount, 1);
    ASSERT_EQ(LoggedErrors("in CreateDocument").size(), 1u);
    network.setReachable("DST", true);
    EXPECT_FALSE(ItemExists(kDestinationFolder + "/a.txt"));
}

// A source that cannot be read gives no copy: neither an empty document nor a
// damaged one is saved and reported copied.
TEST_F(CreateDocumentTest, ADamagedSourceIsNeverCopied)
{
    const std::filesystem::path folder = network.storeFolder("SRC") / "Team" / "Documents";
    const std::string large = store::GeneratedBinaryContent(2 * 1024 * 1024, 3);
    struct Case {
        const char* name;
        std::string content;
        std::size_t damagedByte; // from the end of the file
    };
    const Case cases[] = {
        {"small.txt", "a few bytes", 3},     // damage found where the source is opened
        {"large.bin", large, 1000},          // damage found while the content is copied
    };
    for (const Case& c : cases) {
        store::AddDocument(kSourceFolder, c.name, store::DocumentSpec(c.content));
        std::string bytes = testing_support::ReadFile(folder / c.name);
        bytes[bytes.size() - c.damagedByte] ^= 0x41;
        testing_support::WriteFile(folder / c.name, bytes);

        CreateDocument(kSourceFolder, kDestinationFolder, c.name);
        EXPECT_FALSE(ItemExists(kDestinationFolder + "/" + c.name)) << c.name;
        EXPECT_EQ(ReportRows().back().remark, "Document could not be saved.") << c.name;
    }
    EXPECT_EQ(gReplicatedCount, 0);
    EXPECT_EQ(gFailedCount, 2);
    EXPECT_FALSE(LoggedErrors("in CreateDocument").empty());
}

// The filter rows are read once, and again as soon as they change: by the
// filter dialog between two documents, or by another program.
TEST_F(CreateDocumentTest, FilterRowsChangedBetweenDocumentsTakeEffectAtTheNextOne)
{
    store::DocumentSpec draft("draft");
    draft.properties[kOffice + "Status"] = "Draft";
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) store::AddDocument(kSourceFolder, name, draft);
    const auto rowsFor = [](const std::string& status) {
        return std::vector<SettingsRow>{
            {{"PropertyName", "Status"}, {"MetaData", status}, {"Checked", "True"}, {"DataType", "Comment box"}}};
    };

    WriteSettingsRows("tblPreimportSettings", rowsFor("Draft"));
    CreateDocument(kSourceFolder, kDestinationFolder, "a.txt");
    WriteSettingsRows("tblPreimportSettings", rowsFor("Final"));
    CreateDocument(kSourceFolder, kDestinationFolder, "b.txt");
    const pid_t other = ::fork();
    if (other == 0) {
        WriteSettingsRows("tblPreimportSettings", rowsFor("Draft"));
        ::_exit(0);
    }
    int status = 1;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ASSERT_EQ(status, 0);
    CreateDocument(kSourceFolder, kDestinationFolder, "c.txt");

    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{Row("a.txt", "5 Bytes", "Replicated Successfully."),
                                                    Row("b.txt", "5 Bytes", "Import failed due to filter settings."),
                                                    Row("c.txt", "5 Bytes", "Replicated Successfully.")}));
}

} // namespace
