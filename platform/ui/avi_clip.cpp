#include "platform/ui/avi_clip.h"

#include "platform/ui/control_errors.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace ui {

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxListDepth = 8;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;

using FourCC = std::array<char, 4>;

std::uint32_t le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
bool is(const FourCC& code, const char* text) { return std::memcmp(code.data(), text, 4) == 0; }

struct ChunkHeader {
    FourCC id;
    std::uint32_t size;
};

} // namespace

void AviClip::fail(const std::string& what) const { RaiseControlError(kCannotOpenClip, what + ": " + path_.string()); }

AviClip::AviClip(const std::filesystem::path& file) : path_(file)
{
    std::error_code error;
    fileSize_ = std::filesystem::file_size(file, error);
    if (error) fail("Unable to open AVI file");
    file_.open(file, std::ios::binary);
    if (!file_) fail("Unable to open AVI file");

    const std::vector<std::uint8_t> riff = readBytes(0, 12);
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "AVI ", 4) != 0)
        fail("Not an AVI file");
    readHeaders(12, std::min<std::uint64_t>(fileSize_, 8 + std::uint64_t(le32(riff.data() + 4))), 0);
    if (!videoFormatRead_ || frames_.empty())
        fail("The AVI file holds no video frames");
    pixels_.assign(std::size_t(width_) * height_, 0);
}

std::vector<std::uint8_t> AviClip::readBytes(std::uint64_t offset, std::uint32_t size)
{
    if (offset + size > fileSize_) fail("The AVI file is cut short");
    std::vector<std::uint8_t> bytes(size);
    file_.clear();
    file_.seekg(std::streamoff(offset));
    file_.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!file_) fail("The AVI file cannot be read");
    return bytes;
}

// Walks the chunks between begin and end: the main header, the first video
// stream's format, and the frames of the movie list.
void AviClip::readHeaders(std::uint64_t begin, std::uint64_t end, int depth)
{
    if (depth > kMaxListDepth) fail("The AVI file is damaged");
    bool inVideoStream = false;
    for (std::uint64_t at = begin; at + 8 <= end;) {
        const std::vector<std::uint8_t> head = readBytes(at, 8);
        ChunkHeader chunk;
        std::memcpy(chunk.id.data(), head.data(), 4);
        chunk.size = le32(head.data() + 4);
        const std::uint64_t body = at + 8;
        if (body + chunk.size > end) fail("The AVI file is damaged");

        if (is(chunk.id, "LIST") && chunk.size >= 4) {
            const std::vector<std::uint8_t> type = readBytes(body, 4);
            if (std::memcmp(type.data(), "movi", 4) == 0) indexFrames(body + 4, body + chunk.size, depth + 1);
            else readHeaders(body + 4, body + chunk.size, depth + 1);
        } else if (is(chunk.id, "avih") && chunk.size >= 4) {
            frameMicroseconds_ = le32(readBytes(body, 4).data());
        } else if (is(chunk.id, "strh") && chunk.size >= 4) {
            inVideoStream = !videoFormatRead_ && std::memcmp(readBytes(body, 4).data(), "vids", 4) == 0;
        } else if (is(chunk.id, "strf") && inVideoStream) {
            readStreamFormat(body, chunk.size);
            inVideoStream = false;
        }
        at = body + chunk.size + (chunk.size & 1);
    }
}

void AviClip::readStreamFormat(std::uint64_t begin, std::uint32_t size)
{
    if (size < 40) fail("The AVI file is damaged");
    const std::vector<std::uint8_t> format = readBytes(begin, size);
    const auto width = std::int32_t(le32(&format[4]));
    const auto height = std::int32_t(le32(&format[8]));
    const std::uint16_t bitCount = le16(&format[14]);
    const std::uint32_t compression = le32(&format[16]);
    std::uint32_t colours = le32(&format[32]);
    if (colours == 0) colours = 256;
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide || bitCount != 8 ||
        (compression != kBiRgb && compression != kBiRle8) || colours > 256 || size < 40 + 4 * colours)
        fail("The AVI file's video is of a kind not supported");
    width_ = width;
    height_ = height;
    coding_ = compression == kBiRle8 ? Coding::Rle8 : Coding::Uncompressed;
    palette_.clear();
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint8_t* entry = &format[40 + 4 * i];
        palette_.push_back(qRgb(entry[2], entry[1], entry[0]));
    }
    while (palette_.size() < 256) palette_.push_back(qRgb(0, 0, 0));
    videoFormatRead_ = true;
}

// Notes where each frame of the first stream lies ("00db", "00dc"), looking
// into "rec " lists; other streams are passed over.
void AviClip::indexFrames(std::uint64_t begin, std::uint64_t end, int depth)
{
    if (depth > kMaxListDepth || !videoFormatRead_)
        fail("The AVI file is damaged");
    // The largest frame RLE8 can make of the picture: every pixel a pair.
    const std::uint64_t largestFrame = 2 * (std::uint64_t(width_) + 2) * height_ + 2;
    for (std::uint64_t at = begin; at + 8 <= end;) {
        const std::vector<std::uint8_t> head = readBytes(at, 8);
        const std::uint32_t size = le32(head.data() + 4);
        const std::uint64_t body = at + 8;
        if (body + size > end) fail("The AVI file is damaged");
        const bool frame = std::memcmp(head.data(), "00db", 4) == 0 || std::memcmp(head.data(), "00dc", 4) == 0;
        if (frame && size > largestFrame)
            fail("The AVI file is damaged");
        if (std::memcmp(head.data(), "LIST", 4) == 0) indexFrames(body + 4, body + size, depth + 1);
        else if (frame) frames_.push_back({body, size});
        at = body + size + (size & 1);
    }
}

QImage AviClip::nextFrame()
{
    if (next_ == 0) std::fill(pixels_.begin(), pixels_.end(), 0);
    const Frame frame = frames_[std::size_t(next_)];
    next_ = (next_ + 1) % frameCount();
    // An empty chunk repeats the frame before it.
    if (frame.size > 0) {
        const std::vector<std::uint8_t> data = readBytes(frame.offset, frame.size);
        if (coding_ == Coding::Rle8) decodeRle8(data);
        else decodeUncompressed(data);
    }
    QImage image(width_, height_, QImage::Format_Indexed8);
    image.setColorTable(palette_);
    for (int row = 0; row < height_; ++row)
        std::memcpy(image.scanLine(height_ - 1 - row), &pixels_[std::size_t(row) * width_], std::size_t(width_));
    return image;
}

void AviClip::decodeUncompressed(const std::vector<std::uint8_t>& data)
{
    const std::size_t stride = (std::size_t(width_) + 3) & ~std::size_t(3);
    if (data.size() < stride * height_) fail("An AVI frame is cut short");
    for (int row = 0; row < height_; ++row)
        std::memcpy(&pixels_[std::size_t(row) * width_], &data[row * stride], std::size_t(width_));
}

// RLE8: pairs of a count and a colour; a count of 0 escapes: 0 ends the line,
// 1 ends the frame, 2 moves right and up by the next two bytes, 3 to 255
// copies that many bytes (padded to an even length). Pixels the frame does
// not reach keep the previous frame's colour. Nothing is written outside the
// frame, whatever the data says.
void AviClip::decodeRle8(const std::vector<std::uint8_t>& data)
{
    int x = 0;
    int y = 0;
    const auto put = [&](std::uint8_t colour) {
        if (x < width_ && y < height_) pixels_[std::size_t(y) * width_ + x] = colour;
        ++x;
    };
    for (std::size_t i = 0; i + 1 < data.size() && y < height_;) {
        const std::uint8_t count = data[i];
        const std::uint8_t value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int n = 0; n < count; ++n) put(value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (i + 1 >= data.size()) return;
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else {
            if (i + value > data.size()) return;
            for (int n = 0; n < value; ++n) put(data[i + n]);
            i += value + (value & 1);
        }
    }
}

} // namespace ui
