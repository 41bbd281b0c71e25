#pragma once
// The layout of the file behind a document or schema item, built so that the
// item's metadata can be rewritten in place while no reader, and no crash,
// ever meets half of it:
//
//   [0, 512)               header: "TARVEX-ITEM 3 <slot capacity> <content length> <content checksum>\n",
//                          zero padded
//   [512, 512 + C)         metadata slot 0
//   [512 + C, 512 + 2C)    metadata slot 1
//   [512 + 2C, end)        the content
//
// The content checksum is the CRC-32 of the content, in eight hex digits. A
// writer adds each piece of content to it as the piece goes out and writes the
// header last, so a file whose writing stopped midway has no header; a reader
// adds each piece as it comes in and fails the read at the end when the sum
// differs. Files of version 2 ("TARVEX-ITEM 2 <slot capacity> <content
// length>\n") carry no content checksum: they are read unchecked, are never
// updated in place, and get a checksum when they are next written.
//
// A slot holds a sequence number (8 bytes), the length of its metadata (4), a
// CRC-32 over those 12 bytes and the metadata (4), all little-endian, then the
// metadata; a slot never written has the number 0. The item's metadata is that of the
// whole slot with the higher sequence number. An update writes the other slot
// with the next number: until that write is complete its checksum fails and
// the slot before it stays current. The header and every slot start on a
// sector boundary, so writing one slot changes no sector that holds the
// header or the other slot. The header and the content are written only with
// the whole file, which then gets new slots.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

inline constexpr std::string_view kSlottedItemMagic = "TARVEX-ITEM 3 ";
inline constexpr std::string_view kUncheckedItemMagic = "TARVEX-ITEM 2 ";
inline constexpr std::size_t kItemHeaderSize = 512;
inline constexpr std::size_t kSlotHeaderSize = 16;
// Beyond any metadata the store writes; a header naming more is not ours.
inline constexpr std::size_t kMaximumSlotCapacity = std::size_t(1) << 26;

struct ItemFileLayout {
    std::size_t slotCapacity = 0;
    std::size_t contentLength = 0;
    std::optional<std::uint32_t> contentChecksum; // none in a file of version 2

    std::size_t slotOffset(int slot) const { return kItemHeaderSize + std::size_t(slot) * slotCapacity; }
    std::size_t contentOffset() const { return kItemHeaderSize + 2 * slotCapacity; }
    std::size_t fileSize() const { return contentOffset() + contentLength; }
    // The longest metadata a slot holds.
    std::size_t metadataCapacity() const { return slotCapacity - kSlotHeaderSize; }
};

// A layout whose slots hold metadata of metadataSize with room to grow: at
// least 1 KB and twice the metadata, in whole sectors.
ItemFileLayout LayoutFor(std::size_t metadataSize, std::size_t contentLength);

// Whether bytes begin like a slotted item file (of either version).
bool IsSlottedItemFile(std::string_view bytes);
// A header of version 3: the layout must hold the content checksum.
std::string EncodeItemHeader(const ItemFileLayout& layout);
// The layout named by the header at the start of bytes; nullopt when it is not
// the well-formed header of a slotted item file.
std::optional<ItemFileLayout> DecodeItemHeader(std::string_view bytes);

// The bytes of a new item file before its content: a blank header (to be
// written once the content's length and checksum are known), the first slot
// holding the metadata and the second one never written. Throws E_FAIL for
// metadata beyond any slot.
struct ItemFileHead {
    ItemFileLayout layout; // without content length and checksum
    std::string bytes;
};
ItemFileHead EncodeItemFileHead(std::string_view metadata);

// The checksum of an item's content, taken piece by piece as the content is
// written or read.
class ContentChecksum {
public:
    void add(std::string_view piece);
    std::uint32_t value() const { return crc_; }
    std::size_t length() const { return length_; }

private:
    std::uint32_t crc_ = 0;
    std::size_t length_ = 0;
};

// The layout with the length and checksum of the content written after it.
ItemFileLayout Finished(ItemFileLayout layout, const ContentChecksum& content);

// A slot's bytes: its header and the metadata, without padding.
std::string EncodeMetadataSlot(std::uint64_t sequence, std::string_view metadata);

struct MetadataSlot {
    int index = 0;
    std::uint64_t sequence = 0;
    std::string_view metadata;
};

// The current slot of a slotted file whose first bytes (at least up to the
// content) are given; nullopt when neither slot is whole.
std::optional<MetadataSlot> CurrentMetadataSlot(const ItemFileLayout& layout, std::string_view bytes);

// The write that puts metadata into an item file in place of the metadata it
// holds: the slot that is not current, with the next sequence number. head is
// the file's start (at least up to its content), fileSize its whole size.
// nullopt when the item has to be written whole: the file is not a whole
// slotted file with a content checksum, or the metadata does not fit a slot.
// Whether the content stays as it is, the caller checks.
struct SlotWrite {
    std::size_t offset = 0;
    std::string bytes;
};
std::optional<SlotWrite> MetadataUpdateFor(std::string_view head, std::size_t fileSize, std::string_view metadata);

// CRC-32 (the polynomial of zlib and Ethernet), continued from crc.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

} // namespace store
