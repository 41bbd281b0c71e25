// Metadata updates of documents: written into the item's own file when the
// content stays as it is, never leaving a reader or a crash with half of it.

#include "platform/ado/stream.h"
#include "platform/store/item_data.h"
#include "platform/store/item_file_layout.h"
#include "platform/store/sps.h"
#include "support/scoped_env.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr char kNote[] = "urn:x#note";
constexpr char kCopy[] = "urn:x#copy";

ino_t inodeOf(const fs::path& file)
{
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status.st_ino;
}

std::vector<std::string> entriesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string noteOf(const std::string& url)
{
    store::SpsDocument document;
    document.DataSource().Open(url);
    return document.property(kNote).toString();
}

// Writes bytes at offset into a file, as an update cut short by a crash
// would have left them.
void writeAt(const fs::path& file, std::size_t offset, std::string_view bytes)
{
    const int descriptor = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::pwrite(descriptor, bytes.data(), bytes.size(), off_t(offset)), ssize_t(bytes.size()));
    ::close(descriptor);
}

class StoreMetadataUpdateTest : public testing_support::DocumentsFolderTest {
protected:
    std::string saveDocument(const std::string& name, const std::string& content)
    {
        store::SpsDocument document;
        document.contentStream().Write(content);
        document.setProperty(kNote, "created");
        document.setProperty(kCopy, "copy of created");
        document.DataSource().SaveTo(documents + "/" + name);
        return documents + "/" + name;
    }
};

TEST_F(StoreMetadataUpdateTest, CheckInPublishAndSavingPropertiesKeepTheFileAndSurviveReopening)
{
    const std::string url = saveDocument("report.doc", "report content");
    const fs::path file = folder / "report.doc";
    const ino_t inode = inodeOf(file);
    const std::vector<std::string> entries = entriesOf(folder);

    store::SpsDocument document;
    document.DataSource().Open(url);
    store::SpsVersion().checkIn(document);
    store::SpsVersion().publish(document);
    document.setProperty(kNote, "changed");
    document.setTitle("A title");
    document.DataSource().Save();

    EXPECT_EQ(inodeOf(file), inode) << "the metadata was written into the item's own file";
    EXPECT_EQ(entriesOf(folder), entries) << "no file was added or left behind";

    store::SpsDocument reopened;
    reopened.DataSource().Open(url);
    EXPECT_EQ(reopened.property(kNote).toString(), "changed");
    EXPECT_EQ(reopened.title(), "A title");
    EXPECT_EQ(reopened.field("urn:schemas-microsoft-com:publishing:documentstate").toString(), "published");
    EXPECT_EQ(reopened.contentStream().Read(), "report content");
    EXPECT_EQ(reopened.lastModified(), document.lastModified());

    store::SpsFolder listed;
    listed.DataSource().Open(documents);
    ado::Recordset items = listed.Items();
    ASSERT_EQ(items.recordCount(), 1);
    EXPECT_EQ(items.field("DAV:getlastmodified").toDate(), document.lastModified())
        << "the listing shows the time of the last update";
}

TEST_F(StoreMetadataUpdateTest, NewContentOrMetadataBeyondTheSlotIsWrittenWhole)
{
    const std::string url = saveDocument("grows.doc", "small");
    const fs::path file = folder / "grows.doc";

    store::SpsDocument document;
    document.DataSource().Open(url);
    document.contentStream().Write("new content");
    document.DataSource().Save();
    const ino_t afterContent = inodeOf(file);
    EXPECT_EQ(noteOf(url), "created");

    const std::string large(5000, 'L');
    document.setProperty(kNote, large);
    document.DataSource().Save();
    const ino_t afterLargeMetadata = inodeOf(file);
    EXPECT_NE(afterLargeMetadata, afterContent) << "metadata beyond the slot takes a new file";
    EXPECT_EQ(noteOf(url), large);

    // The new file has room for the grown metadata: the next update fits.
    document.setProperty(kCopy, "small");
    document.DataSource().Save();
    EXPECT_EQ(inodeOf(file), afterLargeMetadata);

    store::SpsDocument reopened;
    reopened.DataSource().Open(url);
    EXPECT_EQ(reopened.contentStream().Read(), "new content");
    EXPECT_EQ(reopened.property(kCopy).toString(), "small");
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>({".tvx.folder.json", "grows.doc"}));
}

TEST_F(StoreMetadataUpdateTest, AnUpdateCutShortLeavesThePreviousMetadata)
{
    const std::string url = saveDocument("torn.doc", "content");
    const fs::path file = folder / "torn.doc";
    store::SpsDocument document;
    document.DataSource().Open(url);
    document.setProperty(kNote, "committed");
    document.DataSource().Save();

    // The next update goes to the other slot; a crash midway leaves part of
    // it, or garbage, there.
    std::string bytes = ReadFile(file);
    const store::ItemFileLayout layout = *store::DecodeItemHeader(bytes);
    const store::MetadataSlot current = *store::CurrentMetadataSlot(layout, bytes);
    const std::size_t nextSlot = layout.slotOffset(1 - current.index);
    const std::string next = store::EncodeMetadataSlot(current.sequence + 1, "{\"kind\":\"document\"}");
    const std::string cutShort[] = {next.substr(0, 12), next.substr(0, next.size() - 1), std::string(40, '\xA5')};
    for (const std::string& written : cutShort) {
        writeAt(file, nextSlot, written);
        EXPECT_EQ(noteOf(url), "committed") << written.size() << " bytes written";
    }

    // The store goes on from there: the next update completes.
    document.setProperty(kNote, "after the crash");
    document.DataSource().Save();
    EXPECT_EQ(noteOf(url), "after the crash");
}

TEST_F(StoreMetadataUpdateTest, FilesThatCannotBeUpdatedInPlaceAreReplacedWhole)
{
    // A file of the earlier kind, as stores written before hold them.
    const std::string legacy = std::string(store::kItemFileHeader)
        + R"({"contentLength":3,"kind":"document","lastModified":0,"publishing":{"checkedOutBy":"TARVEXNET\\tester"}})" + "\nold";
    WriteFile(folder / "legacy.doc", legacy);
    // A file with a second link outside the store must not change through it.
    saveDocument("linked.doc", "linked");
    TempFolder outside;
    const fs::path link = outside.path() / "link";
    fs::create_hard_link(folder / "linked.doc", link);
    const std::string linkedBefore = ReadFile(link);

    for (const char* name : {"legacy.doc", "linked.doc"}) {
        const ino_t before = inodeOf(folder / name);
        store::SpsDocument document;
        document.DataSource().Open(documents + "/" + name);
        store::SpsVersion().checkIn(document);
        EXPECT_NE(inodeOf(folder / name), before) << name;
        store::SpsDocument reopened;
        reopened.DataSource().Open(documents + "/" + name);
        EXPECT_EQ(reopened.field("urn:schemas-microsoft-com:publishing:documentstate").toString(), "checkedin") << name;
    }
    EXPECT_EQ(ReadFile(link), linkedBefore);
    store::SpsDocument legacyDocument;
    legacyDocument.DataSource().Open(documents + "/legacy.doc");
    EXPECT_EQ(legacyDocument.contentStream().Read(), "old");
}

// A writer process updates two properties that name the same number, over
// and over, while reader processes open the document until they see the last
// update: every read must show a whole update, never a damaged item or the
// properties of two different updates.
TEST_F(StoreMetadataUpdateTest, ReadersInOtherProcessesAlwaysSeeAWholeUpdate)
{
    const std::string content(3000, 'c');
    const std::string url = saveDocument("busy.doc", content);
    constexpr int kUpdates = 300;
    constexpr int kReaders = 3;
    const auto runChild = [](const std::function<bool()>& work) {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(work() ? 0 : 1);
        return child;
    };

    const pid_t writer = runChild([&] {
        store::SpsDocument document;
        document.DataSource().Open(url);
        for (int update = 1; update <= kUpdates; ++update) {
            // Metadata of changing length, so that no slot is overwritten by
            // bytes of the same shape.
            const std::string number = std::string(std::size_t(update % 50), '0') + std::to_string(update);
            document.setProperty(kNote, number);
            document.setProperty(kCopy, "copy of " + number);
            document.DataSource().Save();
        }
        return true;
    });
    std::vector<pid_t> readers;
    for (int reader = 0; reader < kReaders; ++reader) {
        readers.push_back(runChild([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            try {
                for (;;) {
                    store::SpsDocument document;
                    document.DataSource().Open(url);
                    const std::string note = document.property(kNote).toString();
                    if (document.property(kCopy).toString() != "copy of " + note) return false;
                    if (document.contentStream().Read() != content) return false;
                    if (note.ends_with(std::to_string(kUpdates)) && note.find_first_not_of('0') == note.size() - 3)
                        return true;
                    if (std::chrono::steady_clock::now() > deadline) return false;
                }
            } catch (const com::ComError&) {
                return false;
            }
        }));
    }

    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer failed";
    for (const pid_t reader : readers) {
        ASSERT_EQ(::waitpid(reader, &status, 0), reader);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a reader met a damaged or mixed item";
    }
}

} // namespace
