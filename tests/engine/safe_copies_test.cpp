// What a run must never do, whatever the selection and whatever fails: write
// onto its own source, lose the destination's existing copy, or call copied
// what it did not copy or cannot make durable.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/document_creation.h"
#include "app/engine/folder_creation.h"
#include "app/engine/replication_drivers.h"
#include "app/engine/size_text.h"
#include "app/engine/workspace_creation.h"
#include "platform/store/write_scope.h"
#include "platform/ui/do_events.h"
#include "support/store_tree.h"

#include <QLocale>

#include <csignal>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine_testing;
using testing_support::CopiedItems;

namespace {

constexpr const char* kOntoItself = "Not replicated: the destination is the source itself or lies inside it.";
const std::string kDocuments = "http://SRC/Team/Documents";

// What a run left: its rows and counts, and whether it ended by itself.
struct BoundedRun {
    bool ended = false;
    std::vector<ReportRow> rows;
    int replicated = 0;
    int failed = 0;
};

// Runs work in a child process that is killed when it has not ended within
// seconds, so that a copy that walks what it has just copied fails the test
// instead of hanging it. What the child wrote stays in the network.
BoundedRun RunBounded(const std::function<void()>& work, unsigned seconds = 20)
{
    int pipe[2];
    if (::pipe(pipe) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        ::alarm(seconds);
        work();
        std::ostringstream out;
        for (const ReportRow& row : ReportRows())
            out << row.source << '\t' << row.destination << '\t' << row.size << '\t' << row.remark << '\n';
        out << gReplicatedCount << '\t' << gFailedCount << '\n';
        const std::string text = out.str();
        if (::write(pipe[1], text.data(), text.size()) != ssize_t(text.size())) ::_exit(2);
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipe[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(count));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);

    BoundedRun run;
    run.ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        if (fields.size() == 4) run.rows.push_back({fields[0], fields[1], fields[2], fields[3]});
        if (fields.size() == 2) {
            run.replicated = std::stoi(fields[0]);
            run.failed = std::stoi(fields[1]);
        }
    }
    return run;
}

class SafeCopiesTest : public EngineTest {
protected:
    SafeCopiesTest()
    {
        AddTeamWorkspaces();
        gSourceServerName = "SRC";
        gDestServerName = "DST";
        mainWindow.top = kDocuments;
        folderA = store::AddFolder(kDocuments, "A");
        store::AddDocument(store::AddFolder(folderA, "Sub"), "deep.txt", store::DocumentSpec("deep"));
        store::AddDocument(folderA, "a.txt", store::DocumentSpec("in A"));
        store::AddFolder(kDocuments, "AB");
        gReplicateFolders = gReplicateDocuments = true;
    }

    std::string folderA;
};

TEST_F(SafeCopiesTest, NothingIsCopiedOntoItsOwnSourceOrIntoIt)
{
    struct Case {
        const char* what;
        std::function<void()> run;
        ReportRow row; // the entry's one row
    };
    const std::string a = kDocuments + "/A";
    const std::vector<Case> cases = {
        {"a document onto itself", [&] { CreateDocument(a, a, "a.txt"); }, {a + "/a.txt", a + "/a.txt", "", kOntoItself}},
        {"a folder into its own folder", [&] { DoDefaultReplicationA(a, kDocuments); }, {a, kDocuments, "", kOntoItself}},
        {"a folder into itself", [&] { DoDefaultReplicationA(a, a); }, {a, a, "", kOntoItself}},
        {"a folder below itself, in other letters", [&] { DoDefaultReplicationA(a, "http://src/team/documents/a/sub"); },
         {a, "http://src/team/documents/a/sub", "", kOntoItself}},
        {"a folder onto itself by the creation alone", [&] { CreateSubFolder(a, a, {}, {}, {}); }, {a, a, " ", kOntoItself}},
        {"a workspace onto its own server",
         [&] {
             gSelectedSources = "http://SRC/Team|";
             gSelectedDestinations = "http://SRC=";
             gSelectedTypes = "2~";
             gReplicateWorkspaceContent = true;
             DoWorkspaceReplication();
         },
         {"http://SRC/Team", "http://SRC", "", kOntoItself}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = CopiedItems("http://SRC/Team");

        const BoundedRun run = RunBounded(c.run);

        ASSERT_TRUE(run.ended) << "the copy did not end";
        EXPECT_EQ(run.rows, std::vector<ReportRow>{c.row});
        EXPECT_EQ(run.replicated, 0);
        EXPECT_EQ(run.failed, 1);
        testing_support::ExpectSameItems(before, CopiedItems("http://SRC/Team"), c.what);
    }

    // A folder beside it whose name begins the same is no part of it.
    DoDefaultReplicationA(a, kDocuments + "/AB");
    EXPECT_TRUE(ItemExists(kDocuments + "/AB/A/Sub/deep.txt"));
    EXPECT_EQ(gFailedCount, 0);
}

TEST_F(SafeCopiesTest, AReplacementThatFailsLeavesTheOldItemAsItWas)
{
    RegisterRegistryComponent();
    const std::string target = "http://DST/Team/Documents";
    // The source document is damaged past what the first read takes in: the
    // damage shows only when the whole content has been read.
    const std::string content = store::GeneratedBinaryContent(2 * 1024 * 1024, 3);
    store::AddDocument(kDocuments, "large.bin", store::DocumentSpec(content));
    const std::filesystem::path large = network.storeFolder("SRC") / "Team" / "Documents" / "large.bin";
    std::string bytes = testing_support::ReadFile(large);
    bytes[bytes.size() - content.size() + 100 * 1024] ^= 0x20;
    testing_support::WriteFile(large, bytes);

    store::AddDocument(target, "large.bin", store::DocumentSpec("the good copy"));
    store::AddDocument(target, "a.txt", store::DocumentSpec("old"));
    store::AddDocument(kDocuments, "a.txt", store::DocumentSpec("new"));
    store::AddDocument(store::AddFolder(target, "A"), "old.txt", store::DocumentSpec("old"));
    store::AddFolder(store::AddFolder("http://DST/Team/Categories", "Regions", store::ItemKind::CategoryFolder), "North",
                     store::ItemKind::CategoryFolder);

    struct Case {
        const char* what;
        std::string kept;    // the old item, which must stay as it was
        int failingFlush;    // 0: nothing but the source fails
        std::function<void()> run;
        std::vector<ReportRow> rows;
    };
    const std::vector<Case> cases = {
        {"a document whose source is damaged", target + "/large.bin", 0,
         [&] { CreateDocument(kDocuments, target, "large.bin"); },
         {{kDocuments + "/large.bin", target + "/large.bin", "2048 KB", "Document could not be saved."}}},
        {"a document on a full disk", target + "/a.txt", 1,
         [&] { CreateDocument(kDocuments, target, "a.txt"); },
         {{kDocuments + "/a.txt", target + "/a.txt", "3 Bytes", "Document could not be saved."}}},
        {"a folder on a full disk", target + "/A", 1, [&] { CreateSubFolder(folderA, target + "/A", {}, {}, {}); },
         {{folderA, target + "/A", " ", "Folder could not be saved."}}},
        {"a category folder on a full disk", "http://DST/Team/Categories/Regions", 1,
         [&] { CreateCatFolder("http://DST/Team/Categories/Regions"); },
         {{"", "http://DST/Team/Categories/Regions", " ", "Category folder could not be saved."}}},
        {"a workspace on a full disk", "http://DST/Team", 1,
         [&] { EXPECT_EQ(CreateWorkspace("http://DST/Team", {}, {}, {}), WorkspaceOutcome::NotReplaced); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSharedStateForTesting();
        gDestServerName = "DST";
        const auto before = CopiedItems(c.kept);

        store::FailFlushForTesting(c.failingFlush);
        c.run();
        store::FailFlushForTesting(0);

        EXPECT_EQ(ReportRows(), c.rows);
        EXPECT_EQ(gReplicatedCount, 0);
        EXPECT_EQ(gFailedCount, int(c.rows.size()));
        testing_support::ExpectSameItems(before, CopiedItems(c.kept), c.what);
    }
}

TEST_F(SafeCopiesTest, AFlushThatFailsTurnsThatItemsRowIntoItsFailureAndNothingElse)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) store::AddDocument(kDocuments, name, store::DocumentSpec(name));
    const std::string target = store::AddFolder("http://DST/Team/Documents", "Copies");
    // Publishing is refused in a folder the user authors without
    // coordinating it: a row that calls the document copied all the same.
    const std::string authored = store::AddFolder("http://DST/Team/Documents", "Authored");
    store::SetRoles(authored, {{}, {"TARVEXNET\\tester"}, {"TARVEXNET\\owner"}});
    gDocStatePublish = true;

    store::FailFlushForTesting(2);
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) CreateDocument(kDocuments, target, name);
    store::FailFlushForTesting(1);
    CreateDocument(kDocuments, authored, "1.txt");
    store::FailFlushForTesting(0);

    const auto row = [&](const std::string& folder, const char* name, const char* remark) {
        return ReportRow{kDocuments + "/" + name, folder + "/" + name, "5 Bytes", remark};
    };
    EXPECT_EQ(ReportRows(), (std::vector<ReportRow>{row(target, "1.txt", "Replicated Successfully."),
                                                    row(target, "2.txt", "Document could not be saved."),
                                                    row(target, "3.txt", "Replicated Successfully."),
                                                    row(authored, "1.txt", "Document could not be saved.")}));
    EXPECT_EQ(gReplicatedCount, 2);
    EXPECT_EQ(gFailedCount, 2);
    EXPECT_EQ(LoggedErrors("in CreateDocument").size(), 3u) << "the publishing refused and the two flushes";
}

TEST_F(SafeCopiesTest, ACancelledRunReportsExactlyWhatTheDestinationHolds)
{
    const std::string many = store::AddFolder(kDocuments, "Many");
    const std::string target = "http://DST/Team/Documents";
    for (int i = 0; i < 30; ++i) {
        const std::string name = "doc " + std::to_string(i) + ".bin";
        store::AddDocument(many, name, store::DocumentSpec(store::GeneratedBinaryContent(3000 + 1000 * i, i)));
        gSelectedSources += many + "/" + name + "|";
        gSelectedDestinations += target + "=";
        gSelectedTypes += "3~";
    }
    ui::DoEventsHook cancel([](int turn) {
        if (turn == 40) gCancelImport = true;
    });

    DoDefaultReplication();

    const auto sources = CopiedItems(many);
    const auto copies = CopiedItems(target);
    std::size_t reported = 0;
    for (const ReportRow& row : ReportRows()) {
        ASSERT_EQ(row.remark, "Replicated Successfully.") << row.source;
        const std::string path = row.destination.substr(target.size());
        ASSERT_TRUE(copies.count(path)) << path << " is reported, not copied";
        EXPECT_EQ(copies.at(path)["sha256"], sources.at(path)["sha256"]) << path;
        ++reported;
    }
    EXPECT_GT(reported, 0u);
    EXPECT_LT(reported, 30u) << "the run was not cancelled";
    std::size_t documents = 0;
    for (const auto& [path, item] : copies) documents += item["kind"] == "document";
    EXPECT_EQ(documents, reported) << "the destination holds a document the report does not call copied";
}

TEST_F(SafeCopiesTest, AnEntryThatCannotBeCreatedNeverStandsForTheServer)
{
    RegisterRegistryComponent();
    // A workspace removed after it was added: its name cannot be read.
    gSelectedSources = "http://SRC/Gone|";
    gSelectedDestinations = "http://DST=";
    gSelectedTypes = "2~";
    gReplicateWorkspaceContent = gReplicateDocuments = true;
    store::AddFolder("http://SRC/Team/Categories", "Regions", store::ItemKind::CategoryFolder);
    const auto destination = CopiedItems("http://DST/Team");

    DoWorkspaceReplication();
    // Category folders into a folder that does not exist, and on a server
    // that cannot be reached.
    GetChildRecursive("http://SRC/Team/Categories", "http://DST/Team/Categories/Missing");
    network.setReachable("DST", false);
    CreateCatFolder("http://DST/Team/Categories/Regions");
    network.setReachable("DST", true);

    EXPECT_EQ(ReportRows(),
              (std::vector<ReportRow>{{"http://SRC/Gone", "http://DST", "", "Workspace could not be created."},
                                      {"", "http://DST/Team/Categories/Missing/Regions", " ", "Category folder could not be saved."},
                                      {"", "http://DST/Team/Categories/Regions", " ", "Category folder could not be saved."}}));
    EXPECT_EQ(gReplicatedCount, 0);
    EXPECT_EQ(gFailedCount, 3);
    EXPECT_EQ(LoggedErrors("in CreateCatFolder").size(), 2u);
    EXPECT_TRUE(LoggedErrors("in CreateProfiles").empty()) << "no profile phase for a workspace not created";
    testing_support::ExpectSameItems(destination, CopiedItems("http://DST/Team"), "the destination");
}

TEST_F(SafeCopiesTest, SizesAreWrittenWithTheDecimalSeparatorOfTheUsersNumberFormat)
{
    store::AddDocument(kDocuments, "b.bin", store::DocumentSpec(std::string(1280, 'b')));
    const QLocale usersLocale;
    for (const auto& [locale, text] : {std::pair{"de_DE", "1,2 KB"}, {"fr_FR", "1,2 KB"}, {"en_US", "1.2 KB"}}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        EXPECT_EQ(SizeText(1280), text) << locale;
        EXPECT_EQ(SizeText(1024), "1024 Bytes") << locale;
    }
    QLocale::setDefault(QLocale(QLocale::German));
    CreateDocument(kDocuments, "http://DST/Team/Documents", "b.bin");
    QLocale::setDefault(usersLocale);
    EXPECT_EQ(ReportRows().at(0).size, "1,2 KB");
}

} // namespace
