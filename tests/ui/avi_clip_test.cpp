// The animation clips: the program's own clips decode to their frames, what
// the writer encodes decodes back pixel for pixel, and a damaged or foreign
// file is refused with its error number, never read past its end.

#include "avi_writer.h"
#include "clips.h"
#include "platform/ui/animation.h"
#include "platform/ui/avi_clip.h"
#include "platform/ui/control_errors.h"
#include "support/qt_application.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace {

std::filesystem::path BuiltProgramFolder() { return std::getenv("TARVEX_BUILD_BIN"); }

// The decoded frame as palette indices, top row first.
avigen::Pixels IndicesOf(const QImage& frame)
{
    avigen::Pixels pixels;
    for (int y = 0; y < frame.height(); ++y)
        pixels.insert(pixels.end(), frame.constScanLine(y), frame.constScanLine(y) + frame.width());
    return pixels;
}

avigen::Clip SmallClip()
{
    avigen::Clip clip;
    clip.width = 13; // not a multiple of four: rows are padded
    clip.height = 5;
    clip.palette[1] = 0xFF0000;
    for (int f = 0; f < 3; ++f) {
        avigen::Pixels pixels(std::size_t(clip.width) * clip.height, 0);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t((i * 7 + f) % 5 < 2 ? 1 : i % 251);
        clip.frames.push_back(pixels);
    }
    return clip;
}

class AviClipTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::EnsureQtApplication(); }

    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const auto file = folder_.path() / name;
        testing_support::WriteFile(file, std::string(bytes.begin(), bytes.end()));
        return file;
    }

    testing_support::TempFolder folder_;
};

TEST_F(AviClipTest, TheProgramsClipsDecodeToTheirFrames)
{
    const struct {
        const char* file;
        int frames;
        QSize size;
    } clips[] = {{"findingsp.avi", 12, {160, 40}}, {"Findcomp.avi", 16, {180, 44}}, {"importing.avi", 14, {200, 48}}};
    for (const auto& c : clips) {
        ui::AviClip clip(BuiltProgramFolder() / c.file);
        EXPECT_EQ(clip.frameCount(), c.frames) << c.file;
        EXPECT_EQ(clip.frameSize(), c.size) << c.file;
        EXPECT_NE(IndicesOf(clip.nextFrame()), IndicesOf(clip.nextFrame())) << c.file << ": it moves";
    }
}

TEST_F(AviClipTest, WhatIsWrittenUncompressedOrRle8DecodesPixelForPixelInALoop)
{
    const avigen::Clip clip = SmallClip();
    for (const auto coding : {avigen::Coding::Uncompressed, avigen::Coding::Rle8}) {
        ui::AviClip decoded(write("clip.avi", avigen::AviFileBytes(clip, coding)));
        for (int round = 0; round < 2; ++round)
            for (const avigen::Pixels& expected : clip.frames) EXPECT_EQ(IndicesOf(decoded.nextFrame()), expected);
        EXPECT_EQ(decoded.nextFrame().color(1), qRgb(0xFF, 0, 0));
    }
}

TEST_F(AviClipTest, Rle8DataThatPointsOutsideTheFrameWritesNothingThere)
{
    avigen::Clip clip = SmallClip();
    clip.frames.resize(1);
    std::vector<std::uint8_t> bytes = avigen::AviFileBytes(clip, avigen::Coding::Rle8);
    // Overwrite the frame's data with a run past the row's end, a jump far
    // beyond the frame and an absolute run cut short.
    const std::uint8_t hostile[] = {255, 1, 0, 2, 200, 200, 5, 1, 0, 40, 9};
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin("00dc") , std::end("00dc") - 1) + 8;
    std::copy(std::begin(hostile), std::end(hostile), at);
    ui::AviClip decoded(write("hostile.avi", bytes));
    const avigen::Pixels pixels = IndicesOf(decoded.nextFrame());
    const avigen::Pixels bottomRow(pixels.end() - clip.width, pixels.end());
    EXPECT_EQ(bottomRow, avigen::Pixels(std::size_t(clip.width), 1));
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 1), clip.width); // nothing beyond it
}

TEST_F(AviClipTest, AMissingDamagedOrForeignFileIsRefused)
{
    const std::vector<std::uint8_t> good = avigen::AviFileBytes(SmallClip(), avigen::Coding::Rle8);
    const auto changed = [&](std::size_t offset, std::vector<std::uint8_t> with) {
        std::vector<std::uint8_t> bytes = good;
        std::copy(with.begin(), with.end(), bytes.begin() + std::ptrdiff_t(offset));
        return bytes;
    };
    const std::size_t strf = std::size_t(std::search(good.begin(), good.end(), std::begin("strf"), std::end("strf") - 1) - good.begin());
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } files[] = {
        {"a wave file", changed(8, {'W', 'A', 'V', 'E'})},
        {"cut in the headers", std::vector<std::uint8_t>(good.begin(), good.begin() + 100)},
        {"cut in the frames", std::vector<std::uint8_t>(good.begin(), good.end() - 200)},
        {"24-bit frames", changed(strf + 8 + 14, {24, 0})},
        {"an unknown compression", changed(strf + 8 + 16, {3, 0, 0, 0})},
        {"a giant picture", changed(strf + 8 + 4, {0, 0, 1, 0})},
        {"a list larger than the file", changed(16, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"empty", {}},
    };
    for (const auto& f : files) {
        try {
            ui::AviClip clip(write("damaged.avi", f.bytes));
            ADD_FAILURE() << f.what << " was opened";
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), ui::kCannotOpenClip) << f.what;
        }
    }
    try {
        ui::AviClip clip(folder_.path() / "missing.avi");
        ADD_FAILURE() << "a missing file was opened";
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.number(), ui::kCannotOpenClip);
    }
}

TEST_F(AviClipTest, TheAnimationControlPlaysAndAFailedOpenLeavesItEmpty)
{
    ui::Animation animation;
    animation.Open(BuiltProgramFolder() / "importing.avi");
    animation.Play();
    EXPECT_TRUE(animation.isPlaying());
    EXPECT_EQ(animation.framesShown(), 1);
    EXPECT_THROW(animation.Open(folder_.path() / "missing.avi"), com::ComError);
    EXPECT_FALSE(animation.isOpen());
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_TRUE(animation.pixmap().isNull());
}

} // namespace
