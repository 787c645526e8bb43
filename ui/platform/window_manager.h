#pragma once

#include <QMargins>

class QWidget;

namespace qorin::ui {

// Where the program's top-level windows stand, and what the desktop's window manager does
// with them, asked of it through the window system before a window is shown. On X11 this speaks the
// window managers' common protocol (EWMH); on Windows it uses Qt's own window types and frame
// geometry, and Windows' API where Qt has none; where there is no such window manager, or
// another window system, these ask nothing and report no frame.

// Asks that the window have no taskbar or pager button. Call it before the window is shown.
void keepOffTaskbar(QWidget& window);

// Gives the window an empty name, as window lists, taskbars and pagers read it. Qt names a
// window that has no title after the program; a window whose caption is empty is to have no
// name at all. Call it once the title is set, before the window is shown.
void keepNameless(QWidget& window);

// The frame the window manager will put around the window once it is shown: its title bar
// and borders, in the window's logical pixels (the window manager gives them in device
// pixels, so at a scale factor such as 1.5 they are fractions). No margins when nobody says,
// within a short wait.
QMarginsF expectedFrameMargins(QWidget& window);

// Moves a top-level window so that it stands in the middle of its screen's work area, with
// the frame that the window manager puts around it, if any, in logical pixels.
void centreOnScreen(QWidget& window, const QMarginsF& frame = {});

} // namespace qorin::ui
