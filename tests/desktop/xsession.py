"""A private X desktop for end-to-end tests: Xvfb on a free display, the openbox window
manager, optionally the tint2 taskbar, and the program under test, driven with xdotool and
xclip and watched with xprop, xwininfo and xev, as a user and a screen reader would see it.

Every process started here is ended when the session closes, also when a test fails, when
the test program is interrupted or when it is killed outright (the children ask the kernel
for a signal when their parent dies).

Python standard library and python3-xlib (to ask a program whether it has handled its
input); Debian's xvfb, x11-xkb-utils, openbox, tint2, x11-utils, xdotool and xclip (and
imagemagick for screenshots).
"""

import contextlib
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

from Xlib import X, display as xdisplay  # Debian's python3-xlib
from Xlib.protocol import event as xevent

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    # Runs in the child between fork and exec: the kernel sends SIGTERM to it when the test
    # program ends in any way, SIGKILL included.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)


class TimedOut(AssertionError):
    pass


def wait_until(condition, timeout, what, interval=0.05):
    """Polls condition() until it returns something true and returns that; fails with a
    message naming `what` after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TimedOut(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Rect:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    @property
    def centre(self):
        return (self.x + self.width / 2, self.y + self.height / 2)

    def __repr__(self):
        return f"Rect({self.x}, {self.y}, {self.width}, {self.height})"


class Program:
    """A program started in the session. Stopping it (or closing the session) ends it."""

    def __init__(self, session, process):
        self.session = session
        self.process = process
        self.pid = process.pid

    def wait(self, timeout):
        """The exit status; fails when the program is still running after `timeout` s."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TimedOut(f"the program was still running after {timeout} s") from None

    def running(self):
        return self.process.poll() is None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def windows(self, name=None, visible=True):
        """Ids of this program's top-level windows (mapped ones unless visible=False),
        optionally only those whose title matches the regular expression `name`."""
        args = ["search", "--all", "--pid", str(self.pid)]
        if visible:
            args.append("--onlyvisible")
        if name is not None:
            args += ["--name", name]
        return [int(w) for w in self.session.run_tool("xdotool", *args, check=False).split()]

    def wait_for_window(self, name=None, timeout=30, size=None):
        """Waits until exactly one mapped window of the program matches and returns its id;
        `size` (width, height) picks windows of that client size."""

        def has_size(window):
            try:
                return self.session.geometry(window)[2:] == size
            except RuntimeError:  # gone meanwhile
                return False

        def match():
            found = [w for w in self.windows(name) if size is None or has_size(w)]
            return found[0] if len(found) == 1 else None

        return wait_until(match, timeout, f"a window titled {name!r} of size {size}")


class DesktopSession:
    """Xvfb, a window manager and the programs of one test run. Use as a context manager."""

    def __init__(self, screen="1024x768x24", window_manager=True, panel=False):
        self.screen = screen
        self.window_manager = window_manager
        self.panel = panel
        self.display = None
        self.env = None
        self._processes = []
        self._tempdir = None

    # --- life of the session -------------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        for tool in ("Xvfb", "setxkbmap", "openbox", "tint2", "xdotool", "xclip", "xprop",
                     "xwininfo", "xev"):
            if shutil.which(tool) is None:
                raise RuntimeError(f"{tool} is missing: run scripts/install-deps")
        self._tempdir = tempfile.mkdtemp(prefix="qorin-desktop-")
        runtime = os.path.join(self._tempdir, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY",
                                 "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER")}
        self.env.update(XDG_RUNTIME_DIR=runtime, HOME=self._tempdir, XDG_SESSION_TYPE="x11",
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self._start_server()
        # The Polish keyboard: xdotool then finds every Polish letter on a key and never
        # remaps a spare key code while the program reads the keys.
        self.run_tool("setxkbmap", "-layout", "pl")
        if self.window_manager:
            self.start_process(["openbox", "--sm-disable"], log="openbox")
            wait_until(self._window_manager_ready, 30, "the window manager")
        if self.panel:
            self.start_process(["tint2"], log="tint2")
            wait_until(lambda: self.work_area().height < self.screen_size()[1], 30,
                       "the taskbar to reserve its space")

    def _start_server(self):
        read_end, write_end = os.pipe()
        try:
            self.start_process(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen,
                 "-nolisten", "tcp", "-noreset"], log="xvfb", pass_fds=(write_end,))
        finally:
            os.close(write_end)
        with os.fdopen(read_end) as pipe:
            ready = threading.Event()
            number = []

            def read():
                number.append(pipe.readline().strip())
                ready.set()

            threading.Thread(target=read, daemon=True).start()
            if not ready.wait(30) or not number[0].isdigit():
                raise RuntimeError("Xvfb did not start: " + self.log_text("xvfb"))
        self.display = ":" + number[0]
        self.env["DISPLAY"] = self.display

    def _window_manager_ready(self):
        return "window id" in self.run_tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                            check=False)

    def close(self):
        """Ends every process of the session, newest first, and removes its files."""
        for process in reversed(self._processes):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self._processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self._processes.clear()
        if self._tempdir:
            shutil.rmtree(self._tempdir, ignore_errors=True)
            self._tempdir = None

    # --- processes -----------------------------------------------------------------------

    def start_process(self, argv, log=None, env=None, **options):
        """Starts a process in the session; it is ended when the session closes. Its output
        goes to a log file that log_text(log) reads back."""
        out = subprocess.DEVNULL
        if log:
            out = open(os.path.join(self._tempdir, log + ".log"), "ab")
        try:
            process = subprocess.Popen(
                argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=out,
                stderr=subprocess.STDOUT, preexec_fn=_die_with_parent, **options)
        finally:
            if log:
                out.close()
        self._processes.append(process)
        return process

    def log_text(self, log):
        try:
            with open(os.path.join(self._tempdir, log + ".log"), "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def start_program(self, argv, log="program", env=None):
        return Program(self, self.start_process(argv, log=log, env=env))

    def run_tool(self, *argv, check=True, input=None, timeout=60):
        """Runs an X tool against the session's display and returns its output as text."""
        return self.run_bytes(*argv, check=check, input=input, timeout=timeout).decode(
            "utf-8", "replace")

    def run_bytes(self, *argv, check=True, input=None, timeout=60):
        """Runs an X tool against the session's display and returns its output."""
        result = subprocess.run(argv, env=self.env, input=input, capture_output=True,
                                timeout=timeout, preexec_fn=_die_with_parent)
        if check and result.returncode != 0:
            raise RuntimeError(f"{argv[0]} failed ({result.returncode}): "
                               + result.stderr.decode("utf-8", "replace"))
        return result.stdout

    # --- input, as a user gives it -------------------------------------------------------

    def key(self, *keys):
        self.run_tool("xdotool", "key", "--clearmodifiers", *keys)

    def type(self, text):
        self.run_tool("xdotool", "type", "--delay", "20", "--", text)

    def click(self, x, y, button=1):
        self.run_tool("xdotool", "mousemove", str(int(x)), str(int(y)),
                      "click", str(button))

    def handled(self, window, timeout=30):
        """Waits until the program of `window` has handled every key and click sent so far:
        two _NET_WM_PING round trips to the window. A program answers a ping as it reads it,
        in the order of its input, and what the input before it made it do reaches the
        server before the answer to the ping after. Ask through a window that outlives the
        input (the main window): a window that is gone answers nothing."""
        connection = xdisplay.Display(self.env["DISPLAY"])
        try:
            root = connection.screen().root
            # The answer goes to the root window, for whoever watches its structure.
            root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
            protocols = connection.intern_atom("WM_PROTOCOLS")
            ping = connection.intern_atom("_NET_WM_PING")
            target = connection.create_resource_object("window", window)
            for token in (1, 2):
                target.send_event(xevent.ClientMessage(
                    window=target, client_type=protocols,
                    data=(32, [ping, token, window, 0, 0])), event_mask=0)
                connection.flush()
                deadline = time.monotonic() + timeout
                while not self._is_pong(connection, ping, token):
                    if time.monotonic() > deadline:
                        raise TimedOut(f"the program of window {window:#x} did not answer "
                                       f"for {timeout} s")
        finally:
            connection.close()

    @staticmethod
    def _is_pong(connection, ping, token):
        """Reads the next event, waiting a little for one: whether it answers the ping."""
        if not connection.pending_events():
            select.select([connection.fileno()], [], [], 0.1)
            if not connection.pending_events():
                return False
        event = connection.next_event()
        return (event.type == X.ClientMessage and event.data[1][0] == ping
                and event.data[1][1] == token)

    def set_clipboard(self, data):
        """Offers `data` (bytes or text) on the clipboard, as another program would."""
        if isinstance(data, str):
            data = data.encode("utf-8")
        path = os.path.join(self._tempdir, "clipboard-in")
        with open(path, "wb") as f:
            f.write(data)
        # xclip forks a server that owns the selection until another program takes it.
        self.start_process(["xclip", "-selection", "clipboard", "-target", "UTF8_STRING",
                            "-loops", "0", "-quiet", path], log="xclip")
        wait_until(lambda: self.clipboard_owner() != 0, 10, "xclip to own the clipboard")

    def clipboard(self, timeout=20):
        """The clipboard's text, or None when nobody offers any."""
        result = subprocess.run(
            ["xclip", "-o", "-selection", "clipboard", "-target", "UTF8_STRING"],
            env=self.env, capture_output=True, timeout=timeout, preexec_fn=_die_with_parent)
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    def clipboard_owner(self):
        # xclip -o fails quickly when the selection has no owner.
        return 0 if self.clipboard() is None else 1

    # --- what the screen shows -----------------------------------------------------------

    def screen_size(self):
        out = self.run_tool("xwininfo", "-root")
        return (int(re.search(r"Width: (\d+)", out).group(1)),
                int(re.search(r"Height: (\d+)", out).group(1)))

    def work_area(self):
        """The part of the screen that panels leave to windows."""
        values = self.cardinals("-root", "_NET_WORKAREA")
        if len(values) >= 4:
            return Rect(*values[:4])
        return Rect(0, 0, *self.screen_size())

    def geometry(self, window):
        """(x, y, width, height) of a window's client area on the screen."""
        out = self.run_tool("xwininfo", "-id", str(window))
        field = lambda name: int(re.search(name + r":\s+(-?\d+)", out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def frame_extents(self, window):
        """(left, right, top, bottom) of the frame the window manager put around it."""
        values = self.cardinals("-id", str(window), "_NET_FRAME_EXTENTS")
        return tuple(values) if len(values) == 4 else (0, 0, 0, 0)

    def frame_rect(self, window):
        x, y, width, height = self.geometry(window)
        left, right, top, bottom = self.frame_extents(window)
        return Rect(x - left, y - top, width + left + right, height + top + bottom)

    def cardinals(self, *args):
        out = self.run_tool("xprop", *args, check=False)
        match = re.search(r"=\s*([\d, ]+)$", out.strip())
        return [int(v) for v in match.group(1).split(",")] if match else []

    def atoms(self, window, prop):
        """The atom names in a window's property, [] when it has none; None when the window
        does not exist (any more)."""
        result = subprocess.run(["xprop", "-id", str(window), prop], env=self.env,
                                capture_output=True, timeout=30, preexec_fn=_die_with_parent)
        if result.returncode != 0:
            return None
        out = result.stdout.decode()
        if "=" not in out:
            return []
        return [a.strip() for a in out.split("=", 1)[1].split(",") if a.strip()]

    def text_property(self, window, prop):
        """A window's text property (such as WM_NAME) as text: "" when it is empty, None when
        the window has no such property or does not exist (any more)."""
        result = subprocess.run(["xprop", "-id", str(window), prop], env=self.env,
                                capture_output=True, timeout=30, preexec_fn=_die_with_parent)
        out = result.stdout.decode("utf-8", "replace").strip()
        if result.returncode != 0 or "=" not in out:
            return None
        value = out.split("=", 1)[1].strip()
        return value[1:-1] if value.startswith('"') else value

    def takes_focus(self, window):
        """Whether the window asks for the keyboard focus (its WM_HINTS input field); None
        when the window does not exist (any more)."""
        result = subprocess.run(["xprop", "-id", str(window), "WM_HINTS"], env=self.env,
                                capture_output=True, timeout=30, preexec_fn=_die_with_parent)
        if result.returncode != 0:
            return None
        return b"input focus: False" not in result.stdout

    def stacking(self):
        """The managed windows from bottom to top."""
        out = self.run_tool("xprop", "-root", "_NET_CLIENT_LIST_STACKING", check=False)
        return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", out)]

    def active_window(self):
        out = self.run_tool("xprop", "-root", "_NET_ACTIVE_WINDOW", check=False)
        match = re.search(r"window id # (0x[0-9a-f]+)", out)
        return int(match.group(1), 16) if match else 0

    def focused_window(self):
        """The top-level window that has the keyboard focus (0 when none)."""
        out = self.run_tool("xdotool", "getwindowfocus", "-f", check=False).strip()
        return int(out) if out.isdigit() else 0

    def is_viewable(self, window):
        result = subprocess.run(["xwininfo", "-id", str(window)], env=self.env,
                                capture_output=True, timeout=30, preexec_fn=_die_with_parent)
        return result.returncode == 0 and b"IsViewable" in result.stdout

    def screenshot(self, path):
        """Saves the whole screen as a PNG (ImageMagick's import)."""
        self.run_tool("import", "-window", "root", path)

    @contextlib.contextmanager
    def watching_windows(self):
        """Records the top-level windows that come and go meanwhile (xev on the root
        window): yields a WindowLog."""
        log = WindowLog(self)
        try:
            log.start()
            yield log
        finally:
            log.stop()


class WindowLog:
    """What happens to the top-level windows, in order, as the root window sees it: each
    entry is (event, window, details), with event one of "create", "reparent", "map",
    "unmap", "destroy". A created window's details are its (x, y, width, height,
    override_redirect); a
    reparented one's the new parent (its frame). Windows can be looked at when they appear:
    on_reparent(window) is called at once, while the window surely still exists."""

    _EVENT = re.compile(r"^(CreateNotify|ReparentNotify|MapNotify|UnmapNotify|DestroyNotify)")

    def __init__(self, session):
        self.session = session
        self.entries = []
        self.on_reparent = None
        self._process = None
        self._thread = None
        self._lock = threading.Lock()
        self._ready = threading.Event()

    def start(self):
        self._process = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-root", "-event", "substructure", "-event", "property"],
            env=self.session.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()
        # xev says nothing when it is ready: change a property of the root window until it
        # reports the change.
        def probe():
            self.session.run_tool("xprop", "-root", "-f", "_QORIN_TEST_PROBE", "32c",
                                  "-set", "_QORIN_TEST_PROBE", "1")
            return self._ready.wait(0.2)

        wait_until(probe, 30, "xev to watch the root window")

    def stop(self):
        if self._process:
            if self._process.poll() is None:
                self._process.terminate()
                self._process.wait()
        if self._thread:
            self._thread.join(5)
        if self._process:
            self._process.stdout.close()

    def created(self, size=None, override_redirect=False):
        """Windows created meanwhile, in order; those of the given (width, height) only."""
        return [w for event, w, d in self.snapshot() if event == "create"
                and d[4] == override_redirect and (size is None or d[2:4] == size)]

    def index(self, event, window):
        """Where the first such event stands in the log, or None."""
        for i, (e, w, _) in enumerate(self.snapshot()):
            if e == event and w == window:
                return i
        return None

    def _read(self):
        # xev prints an event as a few lines; one is recorded as soon as its lines say all
        # that is needed, without waiting for the next event.
        current = None
        for raw in self._process.stdout:
            line = raw.decode("utf-8", "replace")
            if line.startswith("PropertyNotify"):
                self._ready.set()
            match = self._EVENT.match(line)
            if match:
                current = [match.group(1), line]
                continue
            if current is None or not line.strip():
                continue
            current[1] += line
            if current[0] != "CreateNotify" or "override" in line:
                self._record(*current)
                current = None

    def _record(self, kind, text):
        window = re.search(r"\bwindow (0x[0-9a-f]+),\s*$|\bwindow (0x[0-9a-f]+)[,\s]",
                           text.split("\n", 1)[1])
        if not window:
            return
        window = int(window.group(1) or window.group(2), 16)
        if kind == "CreateNotify":
            g = re.search(r"\((-?\d+),(-?\d+)\), width (\d+), height (\d+)", text)
            entry = ("create", window, tuple(int(v) for v in g.groups()) +
                     ("override YES" in text,))
        elif kind == "ReparentNotify":
            parent = int(re.search(r"parent (0x[0-9a-f]+)", text.split("\n", 1)[1]).group(1),
                          16)
            entry = ("reparent", window, parent)
            if self.on_reparent:
                self.on_reparent(window)
        else:
            entry = ({"MapNotify": "map", "UnmapNotify": "unmap",
                      "DestroyNotify": "destroy"}[kind], window, None)
        with self._lock:
            self.entries.append(entry)

    def snapshot(self):
        with self._lock:
            return list(self.entries)
