#include "ui/platform/window_system_choice.h"

#include "ui/platform/display_probe.h"

#include <QByteArray>
#include <QtGlobal>
#include <string_view>

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

} // namespace

void preferX11OnWayland(int argc, char** argv)
{
    if (platformArgument(argc, argv) || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return; // the user's choice
    if (waylandSession() && x11DisplayAnswers())
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace qorin::ui
