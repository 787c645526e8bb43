"""The X server of a desktop session as a test sees it, over X connections of its own
(Debian's python3-xlib): queries of windows and their properties, a watcher that logs the
top-level windows as they come and go, a recorder that keeps every value the programs set
on the properties that matter to the tests, and a barrier that waits until a program has
handled all the input sent to it so far.

Nothing here reads a window's state later from another process: what the tests assert about
a short-lived window (the splash) is what the recorder saw its program ask for, in the
server's own order, so it cannot be missed however briefly the window lives.
"""

import itertools
import select
import struct
import threading
import time

from Xlib import X, display as xdisplay, error as xerror
from Xlib.ext import record
from Xlib.protocol import display as xprotocol, event as xevent

# The properties whose values the recorder keeps; any other is skipped unread (the clipboard
# moves its data through properties too, a megabyte at a time).
RECORDED_PROPERTIES = (
    "_NET_WM_STATE", "WM_HINTS", "WM_NAME", "_NET_WM_NAME", "_NET_WM_VISIBLE_NAME",
    "_NET_WM_WINDOW_TYPE", "WM_NORMAL_HINTS", "WM_TRANSIENT_FOR", "_MOTIF_WM_HINTS",
)

_CHANGE_PROPERTY = 18
_DELETE_PROPERTY = 19
_MAP_WINDOW = 8
_REPLACE, _PREPEND, _APPEND = 0, 1, 2
_WM_HINTS_INPUT = 1  # the flag saying that the input field is set


class XError(RuntimeError):
    pass


def _quiet(*_):
    pass


def open_display(name):
    """A new connection to the named X server. python-xlib keeps the table of event codes
    in its display class, shared by all connections, and fills in each server's extension
    events as it connects; two servers whose extensions number their events differently
    (Xvfb and XWayland) then clash in it. Each connection starts from the core table, which
    is all these tests read."""
    xprotocol.Display.event_classes = xevent.event_class.copy()
    return xdisplay.Display(name)


class XConnection:
    """Queries of the server over one connection, for the test's own thread."""

    def __init__(self, name):
        try:
            self.display = open_display(name)
        except Exception as failure:  # python-xlib raises several kinds
            raise XError(f"cannot open the display {name}: {failure}") from None
        self.root = self.display.screen().root
        self._atoms = {}
        self._names = {}

    def close(self):
        self.display.close()

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = self.display.intern_atom(name)
            self._names[self._atoms[name]] = name
        return self._atoms[name]

    def atom_name(self, atom):
        if atom not in self._names:
            self._names[atom] = self.display.get_atom_name(atom)
        return self._names[atom]

    def window(self, window):
        return self.display.create_resource_object("window", window)

    def has_extension(self, name):
        return self.display.has_extension(name)

    def property(self, window, name):
        """The property's value (a list of numbers, or bytes for 8-bit data), None when the
        window has no such property; raises XError when the window does not exist."""
        try:
            reply = self.window(window).get_full_property(self.atom(name), X.AnyPropertyType)
        except (xerror.BadWindow, xerror.BadDrawable):
            raise XError(f"no window {window:#x}") from None
        if reply is None:
            return None
        value = reply.value
        return value if isinstance(value, (bytes, str)) else list(value)

    def cardinals(self, window, name):
        try:
            value = self.property(window, name)
        except XError:
            return []
        return value if isinstance(value, list) else []

    def window_property(self, window, name):
        values = self.cardinals(window, name)
        return values[0] if values else 0

    def geometry(self, window):
        """(x, y, width, height) of the window on the screen; XError when it is gone."""
        try:
            w = self.window(window)
            geometry = w.get_geometry()
            origin = self.root.translate_coords(w, 0, 0)
        except (xerror.BadWindow, xerror.BadDrawable):
            raise XError(f"no window {window:#x}") from None
        return origin.x, origin.y, geometry.width, geometry.height

    def is_viewable(self, window):
        try:
            return self.window(window).get_attributes().map_state == X.IsViewable
        except (xerror.BadWindow, xerror.BadDrawable):
            return False

    def exists(self, window):
        try:
            self.window(window).get_attributes()
            return True
        except (xerror.BadWindow, xerror.BadDrawable):
            return False

    def focus(self):
        """The window that has the keyboard focus, 0 when none (or the pointer's)."""
        focus = self.display.get_input_focus().focus
        return focus.id if hasattr(focus, "id") else 0

    def screen_size(self):
        screen = self.display.screen()
        return screen.width_in_pixels, screen.height_in_pixels

    def send_ping(self, window, token):
        """Asks the window's program to answer a _NET_WM_PING carrying `token`."""
        protocols = self.atom("WM_PROTOCOLS")
        ping = xevent.ClientMessage(
            window=self.window(window), client_type=protocols,
            data=(32, [self.atom("_NET_WM_PING"), token, window, 0, 0]))
        self.window(window).send_event(ping, event_mask=0, onerror=_quiet)
        self.display.flush()

    def set_root_cardinal(self, name, value):
        self.root.change_property(self.atom(name), self.atom("CARDINAL"), 32, [value])
        self.display.flush()


class WindowWatcher:
    """Logs what happens to the top-level windows, in the server's order, from its own
    connection and thread: entries (event, window, details) with event one of "create",
    "reparent", "map", "unmap", "destroy". A created window's details are (x, y, width,
    height, override_redirect); a reparented one's its new parent (its frame). It also
    collects the answers to pings (see InputBarrier), which programs send to the root window
    for whoever watches its structure."""

    def __init__(self, name):
        self._connection = XConnection(name)
        self._display = self._connection.display
        self._ping = self._connection.atom("_NET_WM_PING")
        self._protocols = self._connection.atom("WM_PROTOCOLS")
        self.entries = []
        self._pongs = set()
        self._changed = threading.Condition()
        self._stopping = False
        self._connection.root.change_attributes(
            event_mask=X.SubstructureNotifyMask | X.StructureNotifyMask)
        self._display.sync()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def stop(self):
        self._stopping = True
        self._thread.join(10)
        self._connection.close()

    def _run(self):
        while not self._stopping:
            readable, _, _ = select.select([self._display.fileno()], [], [], 0.1)
            if not readable and not self._display.pending_events():
                continue
            try:
                while self._display.pending_events():
                    self._handle(self._display.next_event())
            except Exception:  # the connection went with the server
                if self._stopping:
                    return
                raise

    def _handle(self, e):
        entry = None
        if e.type == X.CreateNotify:
            entry = ("create", e.window.id,
                     (e.x, e.y, e.width, e.height, bool(e.override)))
        elif e.type == X.ReparentNotify:
            entry = ("reparent", e.window.id, e.parent.id)
        elif e.type == X.MapNotify:
            entry = ("map", e.window.id, None)
        elif e.type == X.UnmapNotify:
            entry = ("unmap", e.window.id, None)
        elif e.type == X.DestroyNotify:
            entry = ("destroy", e.window.id, None)
        elif e.type == X.ClientMessage and e.client_type == self._protocols:
            values = e.data[1]
            if values[0] == self._ping:
                with self._changed:
                    self._pongs.add(values[1])
                    self._changed.notify_all()
        if entry:
            with self._changed:
                self.entries.append(entry)
                self._changed.notify_all()

    def snapshot(self):
        with self._changed:
            return list(self.entries)

    def wait_for_pong(self, token, timeout):
        deadline = time.monotonic() + timeout
        with self._changed:
            while token not in self._pongs:
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self._changed.wait(left)
            return True


class PropertyRecorder:
    """Every value that any program of the session sets on the recorded properties of any
    window, in the server's order, seen through the X server's RECORD extension as the
    requests arrive. For each window it keeps the values as they stand now and as they stood
    when its program first asked for it to be mapped, which is what the program asked of the
    window manager, whatever happens to the window afterwards."""

    def __init__(self, name):
        self._control = XConnection(name)
        if not self._control.has_extension("RECORD"):
            raise XError("the X server has no RECORD extension")
        self._data = open_display(name)
        self._wanted = {self._control.atom(p): p for p in RECORDED_PROPERTIES}
        self._lock = threading.Lock()
        self._now = {}  # window -> {property name: (type, format, values)}
        self._at_map = {}  # window -> the same, when first mapped
        self._ready = threading.Event()
        ranges = [self._range((_MAP_WINDOW, _MAP_WINDOW)),
                  self._range((_CHANGE_PROPERTY, _DELETE_PROPERTY))]
        self._context = self._control.display.record_create_context(
            0, [record.AllClients], ranges)
        self._control.display.sync()  # the context exists before the data connection names it
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()
        if not self._ready.wait(30):
            raise XError("the recorder did not start")

    @staticmethod
    def _range(requests):
        return {"core_requests": requests, "core_replies": (0, 0),
                "ext_requests": (0, 0, 0, 0), "ext_replies": (0, 0, 0, 0),
                "delivered_events": (0, 0), "device_events": (0, 0), "errors": (0, 0),
                "client_started": False, "client_died": False}

    def stop(self):
        try:
            self._control.display.record_disable_context(self._context)
            self._control.display.flush()
            self._thread.join(10)
            self._control.display.record_free_context(self._context)
            self._control.display.flush()
        except Exception:  # the server is already gone
            pass
        self._control.close()
        self._data.close()

    def _run(self):
        try:
            self._data.record_enable_context(self._context, self._received)
        except Exception:  # the connection went with the server
            pass

    def _received(self, reply):
        if reply.category == record.StartOfData:
            self._ready.set()
        if reply.category != record.FromClient:
            return
        data = reply.data if isinstance(reply.data, bytes) else reply.data.encode("latin-1")
        with self._lock:
            for request in _requests(data):
                self._apply(request)

    def _apply(self, request):
        opcode = request[0]
        if opcode == _MAP_WINDOW:
            (window,) = struct.unpack_from("<I", request, 4)
            if window not in self._at_map:
                self._at_map[window] = dict(self._now.get(window, {}))
            return
        window, atom = struct.unpack_from("<II", request, 4)
        name = self._wanted.get(atom)
        if name is None:
            return
        properties = self._now.setdefault(window, {})
        if opcode == _DELETE_PROPERTY:
            properties.pop(name, None)
            return
        mode = request[1]
        kind, fmt, count = struct.unpack_from("<IB3xI", request, 12)
        raw = request[24:24 + count * fmt // 8]
        values = (raw if fmt == 8 else
                  list(struct.unpack(f"<{count}{'H' if fmt == 16 else 'I'}", raw)))
        old = properties.get(name)
        if mode != _REPLACE and old and old[0] == kind and old[1] == fmt:
            values = old[2] + values if mode == _APPEND else values + old[2]
        properties[name] = (kind, fmt, values)

    def value(self, window, name, at_map=False):
        """The recorded value of the window's property (a list of numbers, or bytes), now or
        as it was when the window was first mapped; None when it had none."""
        with self._lock:
            properties = (self._at_map if at_map else self._now).get(window, {})
            entry = properties.get(name)
        return entry[2] if entry else None

    def was_mapped(self, window):
        with self._lock:
            return window in self._at_map


def _requests(data):
    """The requests in a block of recorded client data, each whole (BIG-REQUESTS'
    extended length folded back into the usual form)."""
    offset = 0
    while offset + 4 <= len(data):
        (length,) = struct.unpack_from("<H", data, offset + 2)
        if length == 0:  # extended length: the real one follows in four bytes
            (length,) = struct.unpack_from("<I", data, offset + 4)
            yield data[offset:offset + 4] + data[offset + 8:offset + length * 4]
        else:
            yield data[offset:offset + length * 4]
        offset += length * 4


class InputBarrier:
    """Waits until a program has handled all the keys and clicks sent to it before: two
    _NET_WM_PING round trips to one of its windows. A program answers a ping as it reads it,
    in the order of its input, and what the input before it made the program do (closing a
    window, say) reaches the server before its answer to the ping after."""

    _tokens = itertools.count(1)

    def __init__(self, connection, watcher):
        self._connection = connection
        self._watcher = watcher

    def wait(self, window, timeout):
        for _ in range(2):
            token = next(self._tokens)
            self._connection.send_ping(window, token)
            if not self._watcher.wait_for_pong(token, timeout):
                return False
        return True
