#include "ui/platform/display_probe.h"

#include <QByteArray>
#include <QtGlobal>
#include <string_view>

#ifdef QORIN_X11
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#endif

namespace qorin::ui {

namespace {

// The value of a command-line option Qt reads, given as "-name value" or "--name value".
QByteArray optionValue(int argc, char** argv, std::string_view name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument.starts_with("--"))
            argument.remove_prefix(1);
        if (argument.size() == name.size() + 1 && argument.front() == '-' &&
            argument.substr(1) == name)
            return QByteArray(argv[i + 1]);
    }
    return {};
}

#ifdef QORIN_X11
// The platform Qt is about to start: the one the user named; else X11, Qt's default, unless
// the session is a Wayland one, where Qt tries Wayland first and then X11 (an empty result:
// a list, which is Qt's to try).
QByteArray chosenPlatform(int argc, char** argv)
{
    const QByteArray named = namedPlatform(argc, argv);
    if (named.isEmpty())
        return waylandSession() ? QByteArray() : QByteArrayLiteral("xcb");
    // Options may follow the name: "xcb:option=value".
    const qsizetype colon = named.indexOf(':');
    return colon < 0 ? named : named.left(colon);
}

// Whether a Wayland compositor takes connections on its socket: $WAYLAND_DISPLAY (by
// default "wayland-0") in $XDG_RUNTIME_DIR, or a full path.
bool waylandDisplayAnswers(const QByteArray& name)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() && !name.startsWith('/'))
        return false;
    const QByteArray path = name.startsWith('/') ? name : runtime + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool answers =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}
#endif

} // namespace

QByteArray namedPlatform(int argc, char** argv)
{
    const QByteArray argument = optionValue(argc, argv, "platform");
    return argument.isEmpty() ? qgetenv("QT_QPA_PLATFORM") : argument;
}

bool waylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

#ifdef QORIN_X11
namespace {

// The connection through which an X server last answered, and the display's name.
struct ProbeConnection
{
    QByteArray display;
    xcb_connection_t* connection = nullptr;
};

ProbeConnection& probeConnection()
{
    static ProbeConnection kept;
    return kept;
}

} // namespace

// An X server resets when its last client leaves (Xvfb alone, say), and drops the connections
// that arrive meanwhile. So the connection through which the server answered is kept (and a
// later question about the same display answered by it) until the window system has started
// (closeProbeConnection): the program's own connection never arrives during a reset that the
// question caused.
bool x11DisplayAnswers(const QByteArray& display)
{
    const QByteArray name = display.isEmpty() ? qgetenv("DISPLAY") : display;
    if (name.isEmpty())
        return false;
    ProbeConnection& kept = probeConnection();
    if (kept.connection && kept.display == name)
        return true;
    xcb_connection_t* connection = xcb_connect(name.constData(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    closeProbeConnection();
    kept = {name, connection};
    return true;
}

void closeProbeConnection()
{
    ProbeConnection& kept = probeConnection();
    if (kept.connection)
        xcb_disconnect(kept.connection);
    kept = {};
}

QString unansweredDisplay(int argc, char** argv)
{
    const QByteArray platform = chosenPlatform(argc, argv);
    if (platform == "xcb") {
        QByteArray display = optionValue(argc, argv, "display");
        if (display.isEmpty())
            display = qgetenv("DISPLAY");
        if (display.isEmpty())
            return QStringLiteral("qorin: cannot open the display: DISPLAY is not set");
        if (!x11DisplayAnswers(display))
            return QStringLiteral("qorin: cannot open the display '%1'")
                .arg(QString::fromLocal8Bit(display));
    } else if (platform == "wayland") {
        QByteArray display = qgetenv("WAYLAND_DISPLAY");
        if (display.isEmpty())
            display = QByteArrayLiteral("wayland-0");
        if (!waylandDisplayAnswers(display))
            return QStringLiteral("qorin: cannot connect to the Wayland display '%1'")
                .arg(QString::fromLocal8Bit(display));
    }
    return {};
}
#else
bool x11DisplayAnswers(const QByteArray&)
{
    return false;
}

void closeProbeConnection() {}

QString unansweredDisplay(int, char**)
{
    return {}; // Windows' own platform always has its display
}
#endif

} // namespace qorin::ui
