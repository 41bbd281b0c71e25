#pragma once
// The main window's own 16 by 16 images, one for each image key of its image
// lists ("connect", "refresh", "folder", "Unknown File", ...), drawn here.

#include <QPixmap>

#include <string_view>

// The image drawn for the key; a transparent image for a key without one.
QPixmap FrameImage(std::string_view key);
bool HasFrameImage(std::string_view key);
