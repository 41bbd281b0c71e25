#pragma once
// Where a form without an owner window shows: centred over the program's main
// window, or over the screen while the program has none.

class QWidget;

namespace ui {

// Moves the (top-level) form so that its centre is the main window's; forms
// call it as they are shown.
void CentreOverMainWindow(QWidget& form);

} // namespace ui
