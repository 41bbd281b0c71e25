#pragma once
// Writes silent AVI clips of 8-bit palette frames, uncompressed or RLE8
// compressed: the kind of clip the program's animation control plays.

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace avigen {

// One frame: width x height palette indices, top row first.
using Pixels = std::vector<std::uint8_t>;

struct Clip {
    int width = 0;
    int height = 0;
    std::uint32_t frameMicroseconds = 100000;
    std::array<std::uint32_t, 256> palette{}; // 0xRRGGBB
    std::vector<Pixels> frames;
};

enum class Coding { Uncompressed, Rle8 };

// The RLE8 data of one frame (bottom row first, each row ended, the frame
// ended), as the clip stores it.
std::vector<std::uint8_t> EncodeRle8(const Pixels& frame, int width, int height);

// The whole clip file; throws std::runtime_error when it cannot be written.
std::vector<std::uint8_t> AviFileBytes(const Clip& clip, Coding coding);
void WriteAviFile(const std::filesystem::path& file, const Clip& clip, Coding coding);

} // namespace avigen
