#pragma once

#include <QMargins>

class QWidget;

namespace qorin::ui {

// What the desktop's window manager does with the program's top-level windows, asked of it
// through the window system before a window is shown. On X11 this speaks the window
// managers' common protocol (EWMH); where there is no such window manager, or another
// window system, these ask nothing and report no frame.

// Asks that the window have no taskbar or pager button. Call it before the window is shown.
void keepOffTaskbar(QWidget& window);

// The frame the window manager will put around the window once it is shown: its title bar
// and borders. No margins when nobody says, within a short wait.
QMargins expectedFrameMargins(QWidget& window);

} // namespace qorin::ui
