#include "platform/store/item_file_layout.h"

#include "platform/com/hresult.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace store {

namespace {

constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kMinimumSlotCapacity = 1024;
constexpr std::uint64_t kMaximumContentLength = std::uint64_t(1) << 48;

// Tables for computing CRC-32 eight bytes at a time: table[0] is the classic
// byte-wise table, table[k] advances a byte's contribution by k more bytes.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables crcTables()
{
    CrcTables tables{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t value = byte;
        for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        tables[0][byte] = value;
    }
    for (std::size_t table = 1; table < tables.size(); ++table)
        for (std::uint32_t byte = 0; byte < 256; ++byte)
            tables[table][byte] = (tables[table - 1][byte] >> 8) ^ tables[0][tables[table - 1][byte] & 0xFF];
    return tables;
}

constexpr CrcTables kCrcTables = crcTables();

std::size_t roundUpToSector(std::size_t size)
{
    return (size + kSectorSize - 1) / kSectorSize * kSectorSize;
}

void putLittleEndian(std::string& bytes, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i) bytes += char((value >> (8 * i)) & 0xFF);
}

std::uint64_t getLittleEndian(std::string_view bytes, std::size_t offset, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + std::size_t(i)]);
    return value;
}

std::uint32_t slotChecksum(std::string_view numbers, std::string_view metadata)
{
    return Crc32(metadata, Crc32(numbers));
}

std::uint64_t sequenceOf(std::string_view slot)
{
    return getLittleEndian(slot, 0, 8);
}

// The slot's metadata when the slot was written whole.
std::optional<MetadataSlot> wholeSlot(int index, std::string_view slot)
{
    const std::uint64_t sequence = sequenceOf(slot);
    const std::size_t length = std::size_t(getLittleEndian(slot, 8, 4));
    if (sequence == 0 || length > slot.size() - kSlotHeaderSize) return std::nullopt;
    const std::string_view metadata = slot.substr(kSlotHeaderSize, length);
    if (std::uint32_t(getLittleEndian(slot, 12, 4)) != slotChecksum(slot.substr(0, 12), metadata)) return std::nullopt;
    return MetadataSlot{index, sequence, metadata};
}

bool readNumber(std::string_view& text, std::uint64_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(std::size_t(end - text.data()));
    return true;
}

} // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc)
{
    const auto byteAt = [&](std::size_t index) { return std::uint32_t(static_cast<unsigned char>(bytes[index])); };
    crc = ~crc;
    std::size_t index = 0;
    for (; index + 8 <= bytes.size(); index += 8) {
        const std::uint32_t low = crc ^ (byteAt(index) | byteAt(index + 1) << 8 | byteAt(index + 2) << 16 | byteAt(index + 3) << 24);
        crc = kCrcTables[7][low & 0xFF] ^ kCrcTables[6][(low >> 8) & 0xFF] ^ kCrcTables[5][(low >> 16) & 0xFF]
            ^ kCrcTables[4][low >> 24] ^ kCrcTables[3][byteAt(index + 4)] ^ kCrcTables[2][byteAt(index + 5)]
            ^ kCrcTables[1][byteAt(index + 6)] ^ kCrcTables[0][byteAt(index + 7)];
    }
    for (; index < bytes.size(); ++index) crc = kCrcTables[0][(crc ^ byteAt(index)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

ItemFileLayout LayoutFor(std::size_t metadataSize, std::size_t contentLength)
{
    const std::size_t capacity = std::max(kMinimumSlotCapacity, kSlotHeaderSize + 2 * metadataSize);
    return ItemFileLayout{roundUpToSector(capacity), contentLength};
}

bool IsSlottedItemFile(std::string_view bytes)
{
    return bytes.starts_with(kSlottedItemMagic) || bytes.starts_with(kUncheckedItemMagic);
}

std::string EncodeItemHeader(const ItemFileLayout& layout)
{
    char checksum[9];
    std::snprintf(checksum, sizeof checksum, "%08x", unsigned(layout.contentChecksum.value()));
    std::string header(kSlottedItemMagic);
    header += std::to_string(layout.slotCapacity) + " " + std::to_string(layout.contentLength) + " " + checksum + "\n";
    header.resize(kItemHeaderSize, '\0');
    return header;
}

std::optional<ItemFileLayout> DecodeItemHeader(std::string_view bytes)
{
    if (bytes.size() < kItemHeaderSize || !IsSlottedItemFile(bytes)) return std::nullopt;
    const bool checked = bytes.starts_with(kSlottedItemMagic);
    std::string_view text = bytes.substr(kSlottedItemMagic.size(), kItemHeaderSize - kSlottedItemMagic.size());
    std::uint64_t capacity = 0;
    std::uint64_t contentLength = 0;
    if (!readNumber(text, capacity) || !text.starts_with(' ')) return std::nullopt;
    text.remove_prefix(1);
    if (!readNumber(text, contentLength)) return std::nullopt;
    std::optional<std::uint32_t> checksum;
    if (checked) {
        std::uint32_t value = 0;
        if (text.size() < 10 || text[0] != ' ') return std::nullopt;
        const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 9, value, 16);
        if (error != std::errc() || end != text.data() + 9) return std::nullopt;
        checksum = value;
        text.remove_prefix(9);
    }
    if (!text.starts_with('\n')) return std::nullopt;
    if (capacity < kMinimumSlotCapacity || capacity > kMaximumSlotCapacity || capacity % kSectorSize != 0
        || contentLength > kMaximumContentLength)
        return std::nullopt;
    return ItemFileLayout{std::size_t(capacity), std::size_t(contentLength), checksum};
}

void ContentChecksum::add(std::string_view piece)
{
    crc_ = Crc32(piece, crc_);
    length_ += piece.size();
}

ItemFileLayout Finished(ItemFileLayout layout, const ContentChecksum& content)
{
    layout.contentLength = content.length();
    layout.contentChecksum = content.value();
    return layout;
}

std::string EncodeMetadataSlot(std::uint64_t sequence, std::string_view metadata)
{
    std::string slot;
    slot.reserve(kSlotHeaderSize + metadata.size());
    putLittleEndian(slot, sequence, 8);
    putLittleEndian(slot, metadata.size(), 4);
    putLittleEndian(slot, slotChecksum(slot, metadata), 4);
    slot += metadata;
    return slot;
}

ItemFileHead EncodeItemFileHead(std::string_view metadata)
{
    const ItemFileLayout layout = LayoutFor(metadata.size(), 0);
    if (layout.slotCapacity > kMaximumSlotCapacity)
        throw com::ComError(com::E_FAIL, "The metadata of the item is too large to be stored");
    std::string head(kItemHeaderSize, '\0');
    head += EncodeMetadataSlot(1, metadata);
    head.resize(layout.contentOffset(), '\0');
    return ItemFileHead{layout, std::move(head)};
}

std::optional<MetadataSlot> CurrentMetadataSlot(const ItemFileLayout& layout, std::string_view bytes)
{
    if (bytes.size() < layout.contentOffset()) return std::nullopt;
    const auto slot = [&](int index) { return bytes.substr(layout.slotOffset(index), layout.slotCapacity); };
    // The slot written last is checked first; the other one counts only when
    // that write did not complete.
    const int newer = sequenceOf(slot(1)) > sequenceOf(slot(0)) ? 1 : 0;
    if (std::optional<MetadataSlot> current = wholeSlot(newer, slot(newer))) return current;
    return wholeSlot(1 - newer, slot(1 - newer));
}

std::optional<SlotWrite> MetadataUpdateFor(std::string_view head, std::size_t fileSize, std::string_view metadata)
{
    const std::optional<ItemFileLayout> layout = DecodeItemHeader(head);
    if (!layout || !layout->contentChecksum || fileSize != layout->fileSize()
        || metadata.size() > layout->metadataCapacity())
        return std::nullopt;
    const std::optional<MetadataSlot> current = CurrentMetadataSlot(*layout, head);
    if (!current) return std::nullopt;
    const int next = 1 - current->index;
    return SlotWrite{layout->slotOffset(next), EncodeMetadataSlot(current->sequence + 1, metadata)};
}

} // namespace store
