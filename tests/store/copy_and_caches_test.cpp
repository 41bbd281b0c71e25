// Copying content between stores piece by piece, updates that build on what
// another process stored, the caches kept while the store's generation
// stands, and what a write scope holds back.

#include "platform/ado/record.h"
#include "platform/ado/stream.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/store/write_scope.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::DescriptionOf;
using testing_support::ErrorOf;
using testing_support::ReadFile;
using testing_support::StoreNetwork;
using testing_support::WriteFile;

constexpr char kDocumentState[] = "urn:schemas-microsoft-com:publishing:documentstate";
constexpr char kNote[] = "urn:x#note";

// Runs work in a child process, as another program using the store would,
// and waits for it; true when it succeeded.
bool inAnotherProcess(const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
            ::_exit(0);
        } catch (...) {
            ::_exit(1);
        }
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

store::SpsDocument opened(const std::string& url)
{
    store::SpsDocument document;
    document.DataSource().Open(url);
    return document;
}

std::vector<std::string> entriesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class StoreCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRC");
        network.addServer("DST");
        source = store::AddWorkspace("SRC", "Team") + "/Documents";
        target = store::AddWorkspace("DST", "Team") + "/Documents";
        targetFolder = network.storeFolder("DST") / "Team" / "Documents";
    }

    // Copies source/name to target/name the way the engine does: record,
    // text stream, the new document's content stream, save.
    void copy(const std::string& name)
    {
        ado::Record record;
        record.Open(name, "URL=" + source);
        ado::Stream stream;
        stream.setType(ado::adTypeText);
        stream.setCharset("ascii");
        stream.Open(record);
        store::SpsDocument destination;
        stream.CopyTo(destination.contentStream());
        destination.DataSource().SaveTo(target + "/" + name);
    }

    StoreNetwork network;
    std::string source;
    std::string target;
    fs::path targetFolder;
};

TEST_F(StoreCopyTest, ContentCopiedThroughStreamsArrivesWholeAndDamageStopsTheCopy)
{
    // Content over several of the pieces it moves in.
    const std::string content = store::GeneratedBinaryContent(3 * 1024 * 1024 + 17, 11);
    struct Case {
        const char* name;
        bool damaged;      // a byte of the source's last piece flipped on disk
    };
    for (const Case& c : {Case{"intact.bin", false}, Case{"damaged.bin", true}}) {
        SCOPED_TRACE(c.name);
        const std::string url = store::AddDocument(source, c.name, store::DocumentSpec(content));
        if (c.damaged) {
            const fs::path file = network.storeFolder("SRC") / "Team" / "Documents" / c.name;
            std::string bytes = ReadFile(file);
            bytes[bytes.size() - 10] ^= 0x41;
            WriteFile(file, bytes);
        }
        const std::vector<std::string> before = entriesOf(targetFolder);

        const com::HRESULT error = ErrorOf([&] { copy(c.name); });
        if (!c.damaged) {
            EXPECT_EQ(error, com::S_OK) << DescriptionOf([&] { copy(c.name); });
            EXPECT_EQ(opened(target + "/" + c.name).contentStream().Read(), content);
            continue;
        }
        EXPECT_EQ(error, store::errDamagedItem);
        EXPECT_NE(DescriptionOf([&] { copy(c.name); }).find("\"" + url + "\""), std::string::npos)
            << "the error names the damaged source";
        EXPECT_EQ(entriesOf(targetFolder), before) << "no copy and no temporary entry are left";
    }
}

TEST_F(StoreCopyTest, UpdatesBuildOnWhatAnotherProcessStoredAndStayInTheItemsFile)
{
    store::SpsDocument document;
    document.contentStream().Write("first draft");
    document.DataSource().SaveTo(target + "/draft.doc");
    const auto inode = [&] {
        struct stat status {};
        ::stat((targetFolder / "draft.doc").c_str(), &status);
        return status.st_ino;
    };
    const ino_t saved = inode();

    store::SpsVersion().checkIn(document);
    EXPECT_EQ(inode(), saved) << "a check-in by the object that saved the document is written in place";

    ASSERT_TRUE(inAnotherProcess([&] {
        store::SpsDocument other = opened(target + "/draft.doc");
        store::SpsVersion().publish(other);
    }));
    // This object last saw the document checked in; a check-in now must not
    // write that state over the publishing done meanwhile.
    store::SpsVersion().checkIn(document);
    EXPECT_EQ(opened(target + "/draft.doc").field(kDocumentState).toString(), "published");
    EXPECT_EQ(opened(target + "/draft.doc").contentStream().Read(), "first draft");
}

TEST_F(StoreCopyTest, WhatWasReadIsReadAgainOnceAnotherProcessChangedTheStore)
{
    store::DocumentSpec note("text");
    note.properties[kNote] = "before";
    const std::string url = store::AddDocument(target, "note.txt", note);
    store::SpsFolder folder;
    folder.DataSource().Open(target);
    EXPECT_EQ(opened(url).property(kNote).toString(), "before");
    EXPECT_EQ(folder.Items().recordCount(), 1);

    ASSERT_TRUE(inAnotherProcess([&] {
        store::SpsDocument document = opened(url);
        document.setProperty(kNote, "after");
        document.DataSource().Save();
        store::AddDocument(target, "second.txt", store::DocumentSpec("more"));
    }));

    EXPECT_EQ(opened(url).property(kNote).toString(), "after");
    EXPECT_EQ(folder.Items().recordCount(), 2);
}

TEST_F(StoreCopyTest, AScopeChecksEachHostOnceAndItsWritesAreWholeBeforeItCommits)
{
    const std::string url = store::AddDocument(source, "a.txt", store::DocumentSpec("abc"));
    {
        store::WriteScope scope;
        EXPECT_EQ(ErrorOf([&] { opened(url); }), com::S_OK);
        store::SpsDocument copy;
        copy.contentStream().Write("abc");
        copy.DataSource().SaveTo(target + "/a.txt");
        store::SpsVersion().checkIn(copy);
        EXPECT_TRUE(inAnotherProcess([&] {
            if (opened(target + "/a.txt").field(kDocumentState).toString() != "checkedin") throw std::runtime_error("");
        })) << "other processes meet the whole item before the scope commits";

        network.setReachable("SRC", false);
        EXPECT_EQ(ErrorOf([&] { opened(url); }), com::S_OK) << "the scope met SRC reachable when it first reached it";
        scope.commit();
    }
    EXPECT_EQ(ErrorOf([&] { opened(url); }), store::errHostUnreachable) << "outside the scope SRC is checked anew";
    {
        store::WriteScope next;
        EXPECT_EQ(ErrorOf([&] { opened(url); }), store::errHostUnreachable) << "a new scope meets the host as it is";
    }
}

} // namespace
