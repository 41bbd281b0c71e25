// Stored items damaged on disk are reported as damaged, naming the item,
// never returned as good data; items written before content checksums are
// still read. Folders nest deeper than one path can be long.

#include "platform/net/net_errors.h"
#include "platform/store/errors.h"
#include "platform/store/item_file_layout.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using testing_support::DescriptionOf;
using testing_support::ErrorOf;
using testing_support::ReadFile;
using testing_support::WriteFile;

std::string flipped(std::string bytes, std::size_t at)
{
    return bytes.replace(at, 1, 1, char(bytes[at] ^ 0x41));
}

void openItem(const std::string& url)
{
    store::SpsDocument item;
    item.DataSource().Open(url);
}

class StoreDamageTest : public testing_support::DocumentsFolderTest {};

TEST_F(StoreDamageTest, DamageFailsTheReadAndNamesTheItem)
{
    // Content over several of the pieces it is read in.
    const std::string content = store::GeneratedBinaryContent(3 * 1024 * 1024 + 17, 7);
    struct Case {
        const char* what;
        bool folder;                                      // the damage is to a folder's metadata
        std::function<std::string(std::string)> damage;   // of the file's bytes
        const char* text;                                 // in the error
    };
    const Case cases[] = {
        {"a content byte flipped", false,
         [](std::string bytes) { return flipped(bytes, bytes.size() - 1000); },
         "does not match its checksum"},
        {"the file cut short", false, [](std::string bytes) { return bytes.substr(0, bytes.size() - 1); },
         "cut short"},
        {"both metadata slots spoilt", false,
         [](std::string bytes) {
             return flipped(flipped(bytes, store::kItemHeaderSize + 20), store::kItemHeaderSize + 1024 + 20);
         },
         "no whole metadata"},
        {"the header overwritten", false, [](std::string bytes) { return bytes.replace(0, 20, "TARVEX-ITEM 3 x"); },
         "unreadable header"},
        {"a folder's metadata", true, [](std::string) { return std::string("{not json"); },
         "unreadable metadata"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.what) + (c.folder ? "" : ".bin");
        const std::string url = c.folder ? store::AddFolder(documents, name)
                                         : store::AddDocument(documents, name, store::DocumentSpec(content));
        const fs::path file = c.folder ? folder / name / ".tvx.folder.json" : folder / name;
        WriteFile(file, c.damage(ReadFile(file)));

        EXPECT_EQ(ErrorOf([&] { openItem(url); }), store::errDamagedItem) << c.what;
        const std::string description = DescriptionOf([&] { openItem(url); });
        EXPECT_NE(description.find("\"" + url + "\""), std::string::npos) << c.what << ": " << description;
        EXPECT_NE(description.find(c.text), std::string::npos) << c.what << ": " << description;
    }
}

// Items written before content checksums ("TARVEX-ITEM 2") are read as they
// are, and get a checksum when they are next written.
TEST_F(StoreDamageTest, ItemsWithoutAContentChecksumAreReadAndUpgradedWhenWritten)
{
    const std::string url = store::AddDocument(documents, "old.txt", store::DocumentSpec("written long ago"));
    std::string bytes = ReadFile(folder / "old.txt");
    const store::ItemFileLayout layout = *store::DecodeItemHeader(bytes);
    std::string header = "TARVEX-ITEM 2 " + std::to_string(layout.slotCapacity) + " 16\n";
    header.resize(store::kItemHeaderSize, '\0');
    WriteFile(folder / "old.txt", bytes.replace(0, store::kItemHeaderSize, header));

    store::SpsDocument document;
    document.DataSource().Open(url);
    EXPECT_EQ(document.property("DAV:getcontentlength").toInt32(), 16);
    document.setProperty("urn:x#note", "touched");
    document.DataSource().Save();
    EXPECT_TRUE(ReadFile(folder / "old.txt").starts_with("TARVEX-ITEM 3 "));

    store::SpsDocument again;
    again.DataSource().Open(url);
    EXPECT_EQ(again.property("urn:x#note").toString(), "touched");
}

TEST_F(StoreDamageTest, FoldersNestDeeperThanAPathCanBeLongButANameFitsTheFileSystem)
{
    std::string url = documents;
    for (int level = 0; level < 20; ++level) url = store::AddFolder(url, std::to_string(level) + std::string(250, 'n'));
    store::AddDocument(url, "leaf.txt", store::DocumentSpec("deep down"));

    std::string upper = url;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    store::SpsDocument leaf;
    leaf.DataSource().Open(upper + "/LEAF.TXT");
    EXPECT_EQ(leaf.property("DAV:getcontentlength").toInt32(), 9);
    store::SpsFolder deepest;
    deepest.DataSource().Open(url);
    EXPECT_EQ(deepest.Items().recordCount(), 1);
    EXPECT_NO_THROW(store::DumpItemTree(documents));

    std::string longName;
    for (int i = 0; i < 200; ++i) longName += "ä"; // 200 letters, 400 bytes
    const std::vector<std::function<void()>> creations = {
        [&] { store::AddFolder(documents, longName); },
        [&] { store::AddDocument(documents, longName, store::DocumentSpec("x")); },
    };
    for (const auto& create : creations) {
        EXPECT_EQ(ErrorOf(create), com::HResultFromWin32(net::ERROR_FILENAME_EXCED_RANGE));
        EXPECT_NE(DescriptionOf(create).find("400 bytes"), std::string::npos) << DescriptionOf(create);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2) << "its metadata and the nested folder, nothing else";
}

} // namespace
