#pragma once
// The application-wide mouse pointer: the hourglass while the program works,
// the default otherwise. It does not stack: one call to the default undoes any
// number of hourglasses.

namespace ui {

inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;

void SetMousePointer(int pointer);
int MousePointer();

} // namespace ui
