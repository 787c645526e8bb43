#include "ui/platform/window_manager.h"

#include <QScreen>
#include <QWidget>

#ifdef QORIN_X11
#include <QAbstractNativeEventFilter>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>
#elif defined(Q_OS_WIN)
#include <QGuiApplication>
#include <QWindow>
#include <windows.h>
#endif

namespace qorin::ui {

#ifdef QORIN_X11

namespace {

// The window manager answers a frame request at once; a bound keeps start-up moving when
// it does not.
constexpr int kLongestFrameWait = 250; // milliseconds

// Ends an event loop when the X server reports that a property of a window has changed, as
// Qt receives the report.
class PropertyChangeWatcher : public QAbstractNativeEventFilter
{
public:
    PropertyChangeWatcher(xcb_window_t window, xcb_atom_t property, QEventLoop& loop)
        : m_window(window), m_property(property), m_loop(loop)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~PropertyChangeWatcher() override
    {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    PropertyChangeWatcher(const PropertyChangeWatcher&) = delete;
    PropertyChangeWatcher& operator=(const PropertyChangeWatcher&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != QByteArrayLiteral("xcb_generic_event_t"))
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->window == m_window && notify->atom == m_property)
            m_loop.quit();
        return false;
    }

private:
    xcb_window_t m_window;
    xcb_atom_t m_property;
    QEventLoop& m_loop;
};

template <class Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> ReplyPtr<Reply> owned(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_connection_t* x11Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a window's property, empty when it has none.
std::vector<uint32_t> property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                               xcb_atom_t type)
{
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window)
{
    const auto reply =
        owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// Whether a window manager that follows the common protocol runs and supports `feature`.
bool windowManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature)
{
    const xcb_atom_t check = atom(connection, "_NET_SUPPORTING_WM_CHECK");
    const auto checkWindow = property(connection, root, check, XCB_ATOM_WINDOW);
    // The check window names itself while its window manager lives.
    if (checkWindow.empty() ||
        property(connection, checkWindow.front(), check, XCB_ATOM_WINDOW) != checkWindow)
        return false;
    const auto supported =
        property(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    return std::find(supported.begin(), supported.end(), feature) != supported.end();
}

xcb_window_t nativeWindow(QWidget& window)
{
    return static_cast<xcb_window_t>(window.winId()); // creates it, unmapped, if need be
}

} // namespace

void keepOffTaskbar(QWidget& window)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    // Qt merges its own states into what the property holds when it maps the window.
    const xcb_atom_t states[] = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, nativeWindow(window),
                        atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(connection);
}

void keepNameless(QWidget& window)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const xcb_window_t id = nativeWindow(window);
    // The old name and the one of the common protocol, both empty but present, so that no
    // window manager falls back on another.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_NAME"),
                        atom(connection, "UTF8_STRING"), 8, 0, nullptr);
    xcb_flush(connection);
}

QMarginsF expectedFrameMargins(QWidget& window)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return {};
    const xcb_window_t id = nativeWindow(window);
    const xcb_window_t root = rootOf(connection, id);
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (root == XCB_WINDOW_NONE || !windowManagerSupports(connection, root, request))
        return {};

    // The answer is a property on the window: left, right, top, bottom. Its change is awaited
    // as Qt receives it, for no longer than the bound.
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    QEventLoop loop;
    const PropertyChangeWatcher watcher(id, extents, loop);

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    auto frame = property(connection, id, extents, XCB_ATOM_CARDINAL);
    if (frame.size() != 4) {
        QTimer::singleShot(kLongestFrameWait, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        frame = property(connection, id, extents, XCB_ATOM_CARDINAL);
    }
    if (frame.size() != 4)
        return {};
    return QMarginsF(frame[0], frame[2], frame[1], frame[3]) / window.devicePixelRatio();
}

#elif defined(Q_OS_WIN)

// Windows keeps a tool window off the taskbar and out of the task switcher: Qt makes a
// window of type Qt::Tool one, with no owner, as any top-level window of ours.
void keepOffTaskbar(QWidget& window)
{
    window.setWindowFlag(Qt::Tool);
}

// Qt gives a window whose title is empty the program's name as its window text; Qt has no
// way to leave it empty, so the window's text is emptied once Qt has made the window. Only
// Windows' own platform has window handles to speak of (not the offscreen one, say).
void keepNameless(QWidget& window)
{
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return;
    SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

// Windows' frame follows from the window's style, which Qt knows as soon as it has made the
// window, before it is shown.
QMarginsF expectedFrameMargins(QWidget& window)
{
    window.winId();
    const QWindow* handle = window.windowHandle();
    return handle ? QMarginsF(handle->frameMargins()) : QMarginsF();
}

#else

void keepOffTaskbar(QWidget&) {}

void keepNameless(QWidget&) {}

QMarginsF expectedFrameMargins(QWidget&)
{
    return {};
}

#endif

void centreOnScreen(QWidget& window, const QMarginsF& frame)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    // Worked out in fractions of a logical pixel, which at scale factors such as 1.5 are
    // whole device pixels, and rounded once, at the end.
    QRectF whole(QPointF(), QSizeF(window.size()).grownBy(frame));
    whole.moveCenter(QRectF(screen->availableGeometry()).center());
    const QPointF client = whole.topLeft() + QPointF(frame.left(), frame.top());
    // The client area's place: unlike move(), this never depends on what Qt knows of the
    // frame at the moment.
    window.setGeometry(QRect(client.toPoint(), window.size()));
}

} // namespace qorin::ui
