#include "avi_writer.h"

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

namespace avigen {

namespace {

constexpr std::uint32_t kHasIndex = 0x10;
constexpr std::uint32_t kKeyFrame = 0x10;

class Bytes {
public:
    void u16(std::uint32_t v) { raw({std::uint8_t(v), std::uint8_t(v >> 8)}); }
    void u32(std::uint32_t v) { raw({std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}); }
    void code(const char* fourcc) { data_.insert(data_.end(), fourcc, fourcc + 4); }
    void raw(std::initializer_list<std::uint8_t> bytes) { data_.insert(data_.end(), bytes); }
    void append(const std::vector<std::uint8_t>& bytes) { data_.insert(data_.end(), bytes.begin(), bytes.end()); }
    std::size_t size() const { return data_.size(); }
    const std::vector<std::uint8_t>& data() const { return data_; }

    // Starts a chunk (or, with a type, a list) and returns where its size goes.
    std::size_t open(const char* id, const char* listType = nullptr)
    {
        code(id);
        const std::size_t at = size();
        u32(0);
        if (listType) code(listType);
        return at;
    }
    void close(std::size_t sizeAt)
    {
        const std::uint32_t length = std::uint32_t(size() - sizeAt - 4);
        for (int i = 0; i < 4; ++i) data_[sizeAt + i] = std::uint8_t(length >> (8 * i));
        if (length & 1) data_.push_back(0);
    }

private:
    std::vector<std::uint8_t> data_;
};

std::vector<std::uint8_t> uncompressed(const Pixels& frame, int width, int height)
{
    const int stride = (width + 3) & ~3;
    std::vector<std::uint8_t> data(std::size_t(stride) * height, 0);
    for (int row = 0; row < height; ++row)
        std::memcpy(&data[std::size_t(row) * stride], &frame[std::size_t(height - 1 - row) * width], std::size_t(width));
    return data;
}

void encodeRow(const std::uint8_t* row, int width, std::vector<std::uint8_t>& out)
{
    for (int x = 0; x < width;) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
        if (run >= 2) {
            out.insert(out.end(), {std::uint8_t(run), row[x]});
            x += run;
            continue;
        }
        // A literal stretch: up to the next pair of equal pixels.
        int length = 1;
        while (x + length < width && length < 255 &&
               !(x + length + 1 < width && row[x + length] == row[x + length + 1]))
            ++length;
        if (length < 3) {
            for (int i = 0; i < length; ++i) out.insert(out.end(), {1, row[x + i]});
        } else {
            out.insert(out.end(), {0, std::uint8_t(length)});
            out.insert(out.end(), row + x, row + x + length);
            if (length & 1) out.push_back(0);
        }
        x += length;
    }
}

} // namespace

std::vector<std::uint8_t> EncodeRle8(const Pixels& frame, int width, int height)
{
    std::vector<std::uint8_t> out;
    for (int row = height - 1; row >= 0; --row) {
        encodeRow(&frame[std::size_t(row) * width], width, out);
        out.insert(out.end(), {0, row == 0 ? std::uint8_t(1) : std::uint8_t(0)});
    }
    return out;
}

std::vector<std::uint8_t> AviFileBytes(const Clip& clip, Coding coding)
{
    if (clip.width <= 0 || clip.height <= 0 || clip.frames.empty()) throw std::runtime_error("an empty clip");
    std::vector<std::vector<std::uint8_t>> frames;
    std::uint32_t largest = 0;
    for (const Pixels& pixels : clip.frames) {
        if (pixels.size() != std::size_t(clip.width) * clip.height) throw std::runtime_error("a frame of the wrong size");
        frames.push_back(coding == Coding::Rle8 ? EncodeRle8(pixels, clip.width, clip.height)
                                                : uncompressed(pixels, clip.width, clip.height));
        largest = std::max<std::uint32_t>(largest, std::uint32_t(frames.back().size()));
    }
    const char* frameId = coding == Coding::Rle8 ? "00dc" : "00db";
    const auto count = std::uint32_t(frames.size());

    Bytes b;
    const std::size_t riff = b.open("RIFF", "AVI ");
    const std::size_t hdrl = b.open("LIST", "hdrl");
    const std::size_t avih = b.open("avih");
    for (std::uint32_t v : {clip.frameMicroseconds, largest * 10, 0u, kHasIndex, count, 0u, 1u, largest,
                            std::uint32_t(clip.width), std::uint32_t(clip.height), 0u, 0u, 0u, 0u})
        b.u32(v);
    b.close(avih);
    const std::size_t strl = b.open("LIST", "strl");
    const std::size_t strh = b.open("strh");
    b.code("vids");
    b.code(coding == Coding::Rle8 ? "mrle" : "DIB ");
    for (std::uint32_t v : {0u, 0u, 0u, clip.frameMicroseconds, 1000000u, 0u, count, largest, 0xFFFFFFFFu, 0u}) b.u32(v);
    b.u16(0), b.u16(0), b.u16(std::uint32_t(clip.width)), b.u16(std::uint32_t(clip.height));
    b.close(strh);
    const std::size_t strf = b.open("strf");
    for (std::uint32_t v : {40u, std::uint32_t(clip.width), std::uint32_t(clip.height)}) b.u32(v);
    b.u16(1), b.u16(8);
    for (std::uint32_t v : {coding == Coding::Rle8 ? 1u : 0u, largest, 0u, 0u, 256u, 0u}) b.u32(v);
    for (std::uint32_t rgb : clip.palette) b.raw({std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16), 0});
    b.close(strf);
    b.close(strl);
    b.close(hdrl);

    const std::size_t movi = b.open("LIST", "movi");
    const std::size_t moviStart = movi + 4;
    std::vector<std::uint32_t> offsets;
    for (const auto& data : frames) {
        offsets.push_back(std::uint32_t(b.size() - moviStart));
        const std::size_t chunk = b.open(frameId);
        b.append(data);
        b.close(chunk);
    }
    b.close(movi);
    const std::size_t idx1 = b.open("idx1");
    for (std::size_t i = 0; i < frames.size(); ++i) {
        b.code(frameId);
        b.u32(i == 0 ? kKeyFrame : 0);
        b.u32(offsets[i]);
        b.u32(std::uint32_t(frames[i].size()));
    }
    b.close(idx1);
    b.close(riff);
    return b.data();
}

void WriteAviFile(const std::filesystem::path& file, const Clip& clip, Coding coding)
{
    const std::vector<std::uint8_t> bytes = AviFileBytes(clip, coding);
    const std::filesystem::path partial = file.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, file);
}

} // namespace avigen
