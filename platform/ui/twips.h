#pragma once
// Form positions and sizes are given in twips (1440 to the inch); widgets are
// laid out in device-independent pixels of 96 to the inch.

namespace ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

} // namespace ui
