#include "clips.h"

#include <algorithm>
#include <cmath>

namespace avigen {

namespace {

enum Colour : std::uint8_t { Grey, Black, White, DarkGrey, Blue, LightBlue, Yellow, Green, Red, DarkYellow, Screen };

Clip withPalette(int width, int height, std::uint32_t frameMicroseconds)
{
    Clip clip;
    clip.width = width;
    clip.height = height;
    clip.frameMicroseconds = frameMicroseconds;
    const std::uint32_t colours[] = {0xC0C0C0, 0x000000, 0xFFFFFF, 0x808080, 0x0000C0, 0x60A0E0,
                                     0xF0D040, 0x20A020, 0xD02020, 0xB09020, 0x103060};
    std::copy(std::begin(colours), std::end(colours), clip.palette.begin());
    return clip;
}

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), pixels_(std::size_t(width) * height, Grey) {}

    void dot(int x, int y, std::uint8_t colour)
    {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[std::size_t(y) * width_ + x] = colour;
    }
    void fill(int x, int y, int w, int h, std::uint8_t colour)
    {
        for (int row = y; row < y + h; ++row)
            for (int col = x; col < x + w; ++col) dot(col, row, colour);
    }
    void frame(int x, int y, int w, int h, std::uint8_t colour)
    {
        fill(x, y, w, 1, colour), fill(x, y + h - 1, w, 1, colour);
        fill(x, y, 1, h, colour), fill(x + w - 1, y, 1, h, colour);
    }
    void disk(int cx, int cy, int r, std::uint8_t colour)
    {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x)
                if (x * x + y * y <= r * r) dot(cx + x, cy + y, colour);
    }
    void ring(int cx, int cy, int r, std::uint8_t colour)
    {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                const int d = x * x + y * y;
                if (d <= r * r && d > (r - 2) * (r - 2)) dot(cx + x, cy + y, colour);
            }
    }
    void line(int x0, int y0, int x1, int y1, std::uint8_t colour)
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i)
            dot(x0 + (x1 - x0) * i / std::max(steps, 1), y0 + (y1 - y0) * i / std::max(steps, 1), colour);
    }

    const Pixels& pixels() const { return pixels_; }

private:
    int width_, height_;
    Pixels pixels_;
};

void computer(Canvas& c, int x, int y)
{
    c.fill(x, y, 22, 16, DarkGrey);
    c.fill(x + 2, y + 2, 18, 12, Screen);
    c.fill(x + 8, y + 16, 6, 3, DarkGrey);
    c.fill(x + 4, y + 19, 14, 2, DarkGrey);
}

void server(Canvas& c, int x, int y)
{
    c.fill(x, y, 16, 30, DarkGrey);
    c.frame(x, y, 16, 30, Black);
    for (int slot = 0; slot < 3; ++slot) c.fill(x + 3, y + 4 + slot * 6, 10, 2, Black);
    c.dot(x + 12, y + 25, Green);
}

void folder(Canvas& c, int x, int y)
{
    c.fill(x, y, 10, 4, DarkYellow);
    c.fill(x, y + 3, 26, 18, Yellow);
    c.frame(x, y + 3, 26, 18, DarkYellow);
}

void document(Canvas& c, int x, int y)
{
    c.fill(x, y, 12, 15, White);
    c.frame(x, y, 12, 15, Black);
    for (int line = 0; line < 4; ++line) c.fill(x + 2, y + 3 + line * 3, 8, 1, Blue);
}

} // namespace

Clip ConnectingClip()
{
    Clip clip = withPalette(160, 40, 100000);
    for (int step = 0; step < 12; ++step) {
        Canvas c(clip.width, clip.height);
        computer(c, 8, 10);
        server(c, 136, 5);
        for (int dot = 0; dot < 12; ++dot) c.fill(36 + dot * 8, 20, 3, 2, DarkGrey);
        c.disk(37 + step * 8, 20, 3, Green);
        clip.frames.push_back(c.pixels());
    }
    return clip;
}

Clip SearchingNetworkClip()
{
    Clip clip = withPalette(180, 44, 80000);
    constexpr int kFrames = 16;
    for (int step = 0; step < kFrames; ++step) {
        Canvas c(clip.width, clip.height);
        c.fill(10, 36, 160, 2, Black);
        for (int i = 0; i < 4; ++i) {
            computer(c, 14 + i * 42, 10);
            c.line(25 + i * 42, 31, 25 + i * 42, 36, Black);
        }
        const double angle = 2 * 3.14159265358979 * step / kFrames;
        const int cx = 90 + int(std::lround(60 * std::cos(angle)));
        const int cy = 17 + int(std::lround(6 * std::sin(angle)));
        c.ring(cx, cy, 9, Black);
        c.disk(cx, cy, 6, LightBlue);
        c.line(cx + 6, cy + 6, cx + 12, cy + 12, Black);
        c.line(cx + 7, cy + 6, cx + 13, cy + 12, Black);
        clip.frames.push_back(c.pixels());
    }
    return clip;
}

Clip ImportingClip()
{
    Clip clip = withPalette(200, 48, 80000);
    constexpr int kFrames = 14;
    for (int step = 0; step < kFrames; ++step) {
        Canvas c(clip.width, clip.height);
        folder(c, 6, 22);
        folder(c, 168, 22);
        const double t = double(step) / (kFrames - 1);
        const int x = 16 + int(std::lround(t * 152));
        const int y = 24 - int(std::lround(std::sin(t * 3.14159265358979) * 22));
        document(c, x, std::max(0, y));
        clip.frames.push_back(c.pixels());
    }
    return clip;
}

} // namespace avigen
