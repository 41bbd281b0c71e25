// The layout of item files: header, two metadata slots, content; how the
// current slot is chosen and how an update in place is planned.

#include "platform/store/errors.h"
#include "platform/store/item_data.h"
#include "platform/store/item_file_layout.h"

#include <gtest/gtest.h>

namespace store {
namespace {

std::string itemFile(std::string_view metadata, std::string_view content)
{
    ItemFileHead head = EncodeItemFileHead(metadata);
    ContentChecksum checksum;
    checksum.add(content);
    head.bytes.replace(0, kItemHeaderSize, EncodeItemHeader(Finished(head.layout, checksum)));
    return head.bytes + std::string(content);
}

std::optional<SlotWrite> updateFor(const std::string& file, std::string_view metadata)
{
    return MetadataUpdateFor(file, file.size(), metadata);
}

// The file with update written at its offset, as an update in place does.
std::string applied(std::string file, const SlotWrite& update)
{
    file.replace(update.offset, update.bytes.size(), update.bytes);
    return file;
}

std::string currentMetadata(const std::string& file)
{
    const std::optional<ItemFileLayout> layout = DecodeItemHeader(file);
    if (!layout) return "(no layout)";
    const std::optional<MetadataSlot> slot = CurrentMetadataSlot(*layout, file);
    return slot ? std::string(slot->metadata) : "(no slot)";
}

TEST(ItemLayoutTest, ChecksumIsTheCommonCrc32)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
    EXPECT_EQ(Crc32("56789", Crc32("1234")), Crc32("123456789")) << "a checksum continues over pieces";
}

TEST(ItemLayoutTest, SlotsHoldTwiceTheMetadataInWholeSectors)
{
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 1024}, {400, 1024}, {504, 1024}, {505, 1536}, {2000, 4096}};
    for (const auto& [metadata, capacity] : cases) {
        const ItemFileLayout layout = LayoutFor(metadata, 10);
        EXPECT_EQ(layout.slotCapacity, capacity) << metadata;
        EXPECT_GE(layout.metadataCapacity(), 2 * metadata) << metadata;
        EXPECT_EQ(layout.slotOffset(0) % 512, 0u);
        EXPECT_EQ(layout.slotOffset(1) % 512, 0u);
        EXPECT_EQ(layout.fileSize(), 512 + 2 * capacity + 10);
    }
}

TEST(ItemLayoutTest, HeaderNamesTheLayoutAndAnythingElseIsRefused)
{
    const ItemFileLayout layout{1536, 123456, 0x0BF43926u};
    const std::string header = EncodeItemHeader(layout);
    ASSERT_EQ(header.size(), 512u);
    EXPECT_TRUE(header.starts_with("TARVEX-ITEM 3 1536 123456 0bf43926\n"));
    const std::optional<ItemFileLayout> back = DecodeItemHeader(header);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->slotCapacity, 1536u);
    EXPECT_EQ(back->contentLength, 123456u);
    EXPECT_EQ(back->contentChecksum, 0x0BF43926u);

    const auto padded = [](std::string text) {
        text.resize(512, '\0');
        return text;
    };
    const std::optional<ItemFileLayout> unchecked = DecodeItemHeader(padded("TARVEX-ITEM 2 1024 12\n"));
    ASSERT_TRUE(unchecked) << "a file of version 2 is still read";
    EXPECT_EQ(unchecked->contentLength, 12u);
    EXPECT_FALSE(unchecked->contentChecksum);

    const std::string refused[] = {
        header.substr(0, 511),                      // cut short
        padded("TARVEX-ITEM 3 1536 12\n"),           // no content checksum
        padded("TARVEX-ITEM 3 1536 12 cbf4392\n"),   // a checksum cut short
        padded("TARVEX-ITEM 3 1536 12 cbf4392x\n"),  // not hex digits
        padded("TARVEX-ITEM 2 1536 12 cbf43926\n"),  // version 2 with a checksum
        padded("TARVEX-ITEM 1\n{}\n"),              // the earlier kind
        padded("TARVEX-ITEM 2 1536 12\r\n"),         // another line end
        padded("TARVEX-ITEM 2 1536\n"),              // no content length
        padded("TARVEX-ITEM 2 1500 12\n"),           // slots not in whole sectors
        padded("TARVEX-ITEM 2 512 12\n"),            // slots too small
        padded("TARVEX-ITEM 2 1073741824 12\n"),     // slots beyond any metadata
        padded("TARVEX-ITEM 2 -1024 12\n"),
        padded("TARVEX-ITEM 2 1024 99999999999999999999\n"),
    };
    for (const std::string& bytes : refused) EXPECT_FALSE(DecodeItemHeader(bytes)) << bytes.substr(0, 40);
}

TEST(ItemLayoutTest, UpdatesAlternateSlotsAndTheLastWholeOneIsCurrent)
{
    std::string file = itemFile("first", "content");
    EXPECT_EQ(currentMetadata(file), "first");

    const std::optional<SlotWrite> second = updateFor(file, "second");
    ASSERT_TRUE(second);
    const ItemFileLayout layout = *DecodeItemHeader(file);
    EXPECT_EQ(second->offset, layout.slotOffset(1));
    file = applied(file, *second);
    EXPECT_EQ(currentMetadata(file), "second");

    const std::optional<SlotWrite> third = updateFor(file, "third");
    ASSERT_TRUE(third);
    EXPECT_EQ(third->offset, layout.slotOffset(0));
    EXPECT_EQ(currentMetadata(applied(file, *third)), "third");

    // Each prefix of the third write is what a crash or a concurrent reader
    // may meet: the second metadata until the write is whole.
    for (std::size_t written = 0; written < third->bytes.size(); ++written) {
        SlotWrite partial{third->offset, third->bytes.substr(0, written)};
        EXPECT_EQ(currentMetadata(applied(file, partial)), "second") << written << " bytes written";
    }
    // A write that reached the disk out of order: the payload, not the header.
    std::string payloadOnly = file;
    payloadOnly.replace(third->offset + kSlotHeaderSize, third->bytes.size() - kSlotHeaderSize,
                        third->bytes.substr(kSlotHeaderSize));
    EXPECT_EQ(currentMetadata(payloadOnly), "second");
}

TEST(ItemLayoutTest, DamageToTheCurrentSlotFallsBackToTheOtherAndToBothIsNoMetadata)
{
    std::string file = itemFile("first", "x");
    file = applied(file, *updateFor(file, "second"));
    const ItemFileLayout layout = *DecodeItemHeader(file);

    std::string damagedSecond = file;
    damagedSecond[layout.slotOffset(1) + kSlotHeaderSize] ^= 0x20;
    EXPECT_EQ(currentMetadata(damagedSecond), "first");

    std::string damagedBoth = damagedSecond;
    damagedBoth[layout.slotOffset(0) + 3] ^= 0x01;
    EXPECT_EQ(currentMetadata(damagedBoth), "(no slot)");
}

TEST(ItemLayoutTest, WhatCannotBeUpdatedInPlaceIsLeftToAWholeWrite)
{
    const std::string file = itemFile("meta", "content");
    const ItemFileLayout layout = *DecodeItemHeader(file);
    std::string unchecked = file;
    unchecked.replace(0, kItemHeaderSize, "TARVEX-ITEM 2 " + std::to_string(layout.slotCapacity) + " 7\n");
    struct Case {
        const char* what;
        std::string file;
        std::size_t size;
        std::string metadata;
    };
    const Case cases[] = {
        {"metadata beyond the slot", file, file.size(), std::string(layout.metadataCapacity() + 1, 'm')},
        {"a file cut short", file, file.size() - 1, "new"},
        {"a file longer than its content", file, file.size() + 1, "new"},
        {"a file without a content checksum", unchecked, unchecked.size(), "new"},
        {"a file of the earlier kind", "TARVEX-ITEM 1\n{\"contentLength\":7}\ncontent", 38, "new"},
    };
    for (const Case& c : cases) EXPECT_FALSE(MetadataUpdateFor(c.file, c.size, c.metadata)) << c.what;
    EXPECT_TRUE(updateFor(file, std::string(layout.metadataCapacity(), 'm'))) << "metadata that fills the slot exactly";
}

TEST(ItemLayoutTest, FilesOfTheEarlierKindAreStillRead)
{
    std::string bytes = std::string(kItemFileHeader)
        + R"({"contentLength":5,"kind":"document","lastModified":0,"publishing":{"documentState":"checkedin"},"title":"Old"})"
        + "\nhello";
    std::string content;
    const ItemData data = DecodeItemFile(bytes, content);
    EXPECT_EQ(content, "hello");
    EXPECT_EQ(data.title, "Old");
    EXPECT_EQ(data.publishing.documentState, "checkedin");
}

} // namespace
} // namespace store
