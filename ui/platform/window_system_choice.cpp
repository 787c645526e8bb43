#include "ui/platform/window_system_choice.h"

#include <QByteArray>
#include <QtGlobal>
#include <string_view>

#ifdef QORIN_X11
#include <xcb/xcb.h>
#endif

namespace qorin::ui {

namespace {

// Qt's own way of naming the platform on the command line, with one dash or two.
bool platformArgument(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform")
            return true;
    }
    return false;
}

bool waylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

#ifdef QORIN_X11
bool x11DisplayAnswers()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}
#else
bool x11DisplayAnswers()
{
    return false;
}
#endif

} // namespace

void preferX11OnWayland(int argc, char** argv)
{
    if (platformArgument(argc, argv) || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return; // the user's choice
    if (waylandSession() && x11DisplayAnswers())
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace qorin::ui
