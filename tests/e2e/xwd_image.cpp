#include "e2e/xwd_image.h"

#include <bit>
#include <cstdint>

namespace e2e {

namespace {

// The dump's header: 25 big-endian 32-bit fields, then the window's name.
enum HeaderField {
    kHeaderSize = 0,
    kPixmapFormat = 2,
    kWidth = 4,
    kHeight = 5,
    kByteOrder = 7,
    kBitsPerPixel = 11,
    kBytesPerLine = 12,
    kVisualClass = 13,
    kRedMask = 14,
    kGreenMask = 15,
    kBlueMask = 16,
    kColourCount = 19,
    kFieldCount = 25,
};
constexpr std::uint32_t kZPixmap = 2;
constexpr std::uint32_t kTrueColor = 4;
constexpr std::uint32_t kDirectColor = 5;
constexpr std::uint32_t kMostSignificantFirst = 1;
constexpr std::size_t kColourEntrySize = 12;

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | std::uint8_t(bytes[offset + i]);
    return value;
}

// One colour channel of a pixel, scaled to eight bits.
int Channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0) return 0;
    const std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
    const std::uint32_t maximum = mask >> std::countr_zero(mask);
    return int(value * 255 / maximum);
}

} // namespace

QImage ImageFromXwd(const std::string& dump)
{
    if (dump.size() < kFieldCount * 4) return {};
    std::uint32_t header[kFieldCount];
    for (std::size_t i = 0; i < kFieldCount; ++i) header[i] = BigEndianAt(dump, i * 4);

    const std::uint32_t bitsPerPixel = header[kBitsPerPixel];
    const std::size_t bytesPerPixel = bitsPerPixel / 8;
    const bool trueColour = header[kVisualClass] == kTrueColor || header[kVisualClass] == kDirectColor;
    if (header[kPixmapFormat] != kZPixmap || !trueColour || (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32))
        return {};

    const int width = int(header[kWidth]);
    const int height = int(header[kHeight]);
    const std::size_t bytesPerLine = header[kBytesPerLine];
    const std::size_t pixels = header[kHeaderSize] + header[kColourCount] * kColourEntrySize;
    if (width <= 0 || height <= 0 || dump.size() < pixels + bytesPerLine * std::size_t(height)) return {};

    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const char* row = dump.data() + pixels + bytesPerLine * std::size_t(y);
        for (int x = 0; x < width; ++x) {
            const char* at = row + std::size_t(x) * bytesPerPixel;
            std::uint32_t pixel = 0;
            for (std::size_t i = 0; i < bytesPerPixel; ++i) {
                const std::size_t byte = header[kByteOrder] == kMostSignificantFirst ? i : bytesPerPixel - 1 - i;
                pixel = (pixel << 8) | std::uint8_t(at[byte]);
            }
            line[x] = qRgb(Channel(pixel, header[kRedMask]), Channel(pixel, header[kGreenMask]),
                           Channel(pixel, header[kBlueMask]));
        }
    }
    return image;
}

} // namespace e2e
