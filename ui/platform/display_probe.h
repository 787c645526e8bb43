#pragma once

#include <QByteArray>
#include <QString>

namespace qorin::ui {

// Asks, before the application object exists, whether the display the window system is about
// to use answers: the X server for Qt's X11 platform (xcb, the default on Linux), the Wayland
// compositor for its Wayland platform. The platform is the one the user named (-platform,
// QT_QPA_PLATFORM) or the default; a list of platforms (also Qt's own in a Wayland session
// with no platform named: Wayland, then X11), another platform or Windows' own is not
// probed. Returns the one line that names a display nobody answers on, such as
// "qorin: cannot open the display ':1'", or an empty text.
QString unansweredDisplay(int argc, char** argv);

// The platform the user named for Qt, by -platform (or --platform) or else by QT_QPA_PLATFORM,
// as given, options included; empty when none is named.
QByteArray namedPlatform(int argc, char** argv);

// Whether the session is a Wayland one: WAYLAND_DISPLAY is set, or XDG_SESSION_TYPE says so.
bool waylandSession();

// Whether an X server answers on the display of this name (empty: $DISPLAY, which is set).
// The connection it answered through stays open until closeProbeConnection().
bool x11DisplayAnswers(const QByteArray& display = {});

// Closes the connection of the last answer; call it once the window system runs.
void closeProbeConnection();

} // namespace qorin::ui
