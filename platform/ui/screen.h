#pragma once
// The screen's size in twips, read when a form lays itself out. Tests set a
// screen of their own.

namespace ui {

struct ScreenTwips {
    float width = 0;
    float height = 0;
};

// The primary screen's size in twips (15 to a pixel).
ScreenTwips ScreenSize();

// While alive, ScreenSize reports a screen of the given size in twips.
class ScopedScreenSize {
public:
    explicit ScopedScreenSize(ScreenTwips size);
    ~ScopedScreenSize();
    ScopedScreenSize(const ScopedScreenSize&) = delete;
    ScopedScreenSize& operator=(const ScopedScreenSize&) = delete;

private:
    const ScopedScreenSize* previous_;
    ScreenTwips size_;
    friend ScreenTwips ScreenSize();
};

} // namespace ui
