#pragma once
// What the controls' mouse and key events report: the button pressed (1 left,
// 2 right, 4 middle), the shift state (1 Shift, 2 Ctrl, 4 Alt) and the key's
// character code, taken from the key and its modifiers rather than from the
// key's text, which differs between windowing systems.

#include <Qt>

class QKeyEvent;

namespace ui {

inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeyReturn = 13;

int MouseButtonCode(Qt::MouseButton button);
int ShiftState(Qt::KeyboardModifiers modifiers);
// Ctrl+A to Ctrl+Z give 1 to 26, Esc 27, Enter 13, Backspace 8, Tab 9; other
// keys their character, or 0 when they type none.
int KeyAscii(const QKeyEvent& event);

} // namespace ui
