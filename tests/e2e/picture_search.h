#pragma once
// Finds a small picture (a button's or a node's image) on a screen image.

#include <QImage>
#include <QPoint>

#include <vector>

namespace e2e {

// The centres of the places where every opaque pixel of the picture shows
// unchanged, from the top of the screen down and, in a row, left to right.
std::vector<QPoint> FindPicture(const QImage& screen, const QImage& picture);

} // namespace e2e
