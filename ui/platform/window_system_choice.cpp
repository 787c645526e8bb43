#include "ui/platform/window_system_choice.h"

#include "ui/platform/display_probe.h"

#include <QByteArray>
#include <QtGlobal>

namespace qorin::ui {

void preferX11OnWayland(int argc, char** argv)
{
    if (!namedPlatform(argc, argv).isEmpty())
        return; // the user's choice
    if (waylandSession() && x11DisplayAnswers())
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace qorin::ui
