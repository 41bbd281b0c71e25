#include "e2e/picture_search.h"

namespace e2e {

namespace {

struct Pixel {
    QPoint at;
    QRgb colour;
};

// The picture's opaque pixels: the ones a toolkit draws unchanged over any
// background.
std::vector<Pixel> OpaquePixels(const QImage& picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<Pixel> pixels;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) == 255) pixels.push_back({{x, y}, argb.pixel(x, y) | 0xFF000000u});
    return pixels;
}

} // namespace

std::vector<QPoint> FindPicture(const QImage& screen, const QImage& picture)
{
    const QImage shown = screen.convertToFormat(QImage::Format_RGB32);
    const std::vector<Pixel> pixels = OpaquePixels(picture);
    std::vector<QPoint> found;
    if (pixels.empty()) return found;
    for (int top = 0; top + picture.height() <= shown.height(); ++top) {
        for (int left = 0; left + picture.width() <= shown.width(); ++left) {
            bool same = true;
            for (const Pixel& pixel : pixels) {
                const QRgb colour = reinterpret_cast<const QRgb*>(shown.constScanLine(top + pixel.at.y()))[left + pixel.at.x()];
                if ((colour | 0xFF000000u) != pixel.colour) {
                    same = false;
                    break;
                }
            }
            if (same) found.push_back({left + picture.width() / 2, top + picture.height() / 2});
        }
    }
    return found;
}

} // namespace e2e
