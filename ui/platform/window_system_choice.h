#pragma once

namespace qorin::ui {

// Chooses X11 on a Wayland desktop. GNOME and KDE run their Wayland sessions with an X server
// beside them (XWayland) for programs written for X; there the program's windows are X
// windows, so they stand where the program puts them (the main window centred, About at its
// place), the splash and About windows have no taskbar button and the main window takes the
// focus when it opens: Wayland gives a client no say over any of that. So when the user has
// named no platform (no -platform argument, QT_QPA_PLATFORM unset), the session is a Wayland
// one and an X display answers, Qt is told to use its X11 platform (xcb). Otherwise Qt
// chooses as it always does, and a Wayland session without an X server runs the program
// natively. Call it before the application object is made.
void preferX11OnWayland(int argc, char** argv);

} // namespace qorin::ui
