#pragma once
// A silent video clip in a RIFF AVI file, as the wait and progress forms play
// them: one video stream of 8-bit palette frames, uncompressed or RLE8
// compressed. Opening reads the headers and where each frame lies; frames are
// then read from the file one at a time, so a clip of any length costs one
// frame of memory.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ui {

class AviClip {
public:
    // Reads and checks the clip's headers and frame index; a file that is
    // missing, not an AVI clip, or of a kind not listed above raises
    // kCannotOpenClip (35752).
    explicit AviClip(const std::filesystem::path& file);

    int frameCount() const { return int(frames_.size()); }
    QSize frameSize() const { return QSize(width_, height_); }
    // The time each frame stays up, in microseconds.
    std::uint32_t frameMicroseconds() const { return frameMicroseconds_; }

    // The next frame, the first again after the last. A frame that cannot be
    // read raises kCannotOpenClip.
    QImage nextFrame();

private:
    struct Frame {
        std::uint64_t offset;
        std::uint32_t size;
    };
    enum class Coding { Uncompressed, Rle8 };

    [[noreturn]] void fail(const std::string& what) const;
    void readHeaders(std::uint64_t begin, std::uint64_t end, int depth);
    void readStreamFormat(std::uint64_t begin, std::uint32_t size);
    void indexFrames(std::uint64_t begin, std::uint64_t end, int depth);
    std::vector<std::uint8_t> readBytes(std::uint64_t offset, std::uint32_t size);
    void decodeUncompressed(const std::vector<std::uint8_t>& data);
    void decodeRle8(const std::vector<std::uint8_t>& data);

    std::filesystem::path path_;
    std::ifstream file_;
    std::uint64_t fileSize_ = 0;
    std::uint32_t frameMicroseconds_ = 0;
    int width_ = 0;
    int height_ = 0;
    Coding coding_ = Coding::Uncompressed;
    bool videoFormatRead_ = false;
    QList<QRgb> palette_;
    std::vector<Frame> frames_;
    std::vector<std::uint8_t> pixels_; // the current frame's palette indices, bottom row first
    int next_ = 0;
};

} // namespace ui
