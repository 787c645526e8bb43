"""A private desktop for end-to-end tests: a display server on a free display (Xvfb with
a window manager, openbox, Xfce's xfwm4 or GNOME's mutter, or none; or a Wayland compositor,
GNOME's mutter, with or without XWayland), optionally the tint2 taskbar, and the program
under test, driven with xdotool and xclip as a user would drive it, and watched over X
connections of the test's own (xwatch.py).

Every process started here is ended when the session closes, also when a test fails, when
the test program is interrupted or when it is killed outright (the children ask the kernel
for a signal when their parent dies, and a compositor's own children end with it).

Python standard library and Debian's python3-xlib; Debian's xvfb, x11-xkb-utils, openbox,
xfwm4, mutter, xwayland, dbus-daemon, tint2, xdotool and xclip (and imagemagick for
screenshots).
"""

import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time

from xwatch import InputBarrier, PropertyRecorder, WindowWatcher, XConnection, XError

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


# The window managers a session can run on Xvfb, and how each is started.
WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    "xfwm4": ["xfwm4", "--replace", "--compositor=off", "--sm-client-disable"],
    "mutter": ["mutter", "--x11", "--replace", "--sm-disable"],
}


@contextlib.contextmanager
def _x_authority(path):
    """The X authority file python-xlib uses while connecting: it reads XAUTHORITY from the
    test's own environment."""
    saved = os.environ.get("XAUTHORITY")
    if path:
        os.environ["XAUTHORITY"] = path
    else:
        os.environ.pop("XAUTHORITY", None)
    try:
        yield
    finally:
        if saved is None:
            os.environ.pop("XAUTHORITY", None)
        else:
            os.environ["XAUTHORITY"] = saved


class DesktopSession:
    """An X server (Xvfb), a window manager and the programs of one test run. Use as a
    context manager. window_manager is a name of WINDOW_MANAGERS, or None (True means
    openbox)."""

    x11 = True  # whether the programs' windows are X windows the session can see

    def __init__(self, screen="1024x768x24", window_manager="openbox", panel=False):
        if window_manager is True:
            window_manager = "openbox"
        self.screen = screen
        self.window_manager = window_manager or None
        self.panel = panel
        self.display = None
        self.env = None
        self.x = None  # the test's own X connection
        self.watcher = None
        self.recorder = None
        self._barrier = None
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

    def required_tools(self):
        tools = ["xdotool", "xclip", "setxkbmap"]
        if self.window_manager:
            tools.append(WINDOW_MANAGERS[self.window_manager][0])
        if self.panel:
            tools.append("tint2")
        return tools + ["Xvfb"]

    def start(self):
        for tool in self.required_tools():
            if shutil.which(tool) is None:
                raise RuntimeError(f"{tool} is missing: run scripts/install-deps")
        self._tempdir = tempfile.mkdtemp(prefix="qorin-desktop-")
        runtime = os.path.join(self._tempdir, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY",
                                 "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
                                 "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP")}
        self.env.update(XDG_RUNTIME_DIR=runtime, HOME=self._tempdir, XDG_SESSION_TYPE="x11",
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")
        # Every desktop has its session bus; without one, a program that asks for it has
        # D-Bus start one of its own, which outlives the session.
        self.start_session_bus()
        self._start_server()
        if self.x11:
            self._connect()
            # The Polish keyboard: xdotool then finds every Polish letter on a key and never
            # remaps a spare key code while the program reads the keys.
            self.run_tool("setxkbmap", "-layout", "pl")
        if self.window_manager:
            self.start_process(WINDOW_MANAGERS[self.window_manager], log=self.window_manager)
            wait_until(self.window_manager_ready, 30, "the window manager")
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

    def _connect(self):
        """The test's own connections to the X server: queries, the window watcher and the
        property recorder, all there before any program of the session starts."""
        with _x_authority(self.env.get("XAUTHORITY")):
            self.x = XConnection(self.display)
            self.watcher = WindowWatcher(self.display)
            self.recorder = PropertyRecorder(self.display)
        self._barrier = InputBarrier(self.x, self.watcher)

    def start_session_bus(self):
        """Gives the session a D-Bus session bus of its own (once)."""
        if "DBUS_SESSION_BUS_ADDRESS" in self.env:
            return
        if shutil.which("dbus-daemon") is None:
            raise RuntimeError("dbus-daemon is missing: run scripts/install-deps")
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], "session-bus")
        self.start_process(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            "--address=unix:path=" + socket], log="dbus")
        wait_until(lambda: os.path.exists(socket), 30, "the session bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + socket

    @property
    def managed(self):
        """Whether a window manager manages the programs' X windows."""
        return self.window_manager is not None

    def window_manager_ready(self):
        """Whether a window manager that follows the common protocol (EWMH) runs."""
        check = self.x.window_property(self.x.root.id, "_NET_SUPPORTING_WM_CHECK")
        return check != 0 and self.x.window_property(check, "_NET_SUPPORTING_WM_CHECK") == check

    def close(self):
        """Ends every process of the session, newest first, and removes its files."""
        for part in (self.recorder, self.watcher, self.x):
            if part is not None:
                with contextlib.suppress(Exception):
                    part.stop() if hasattr(part, "stop") else part.close()
        self.recorder = self.watcher = self.x = None
        for process in reversed(self._processes):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self._processes):
            try:
                process.wait(timeout=10)
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
        """Runs a tool against the session's display and returns its output as text."""
        return self.run_bytes(*argv, check=check, input=input, timeout=timeout).decode(
            "utf-8", "replace")

    def run_bytes(self, *argv, check=True, input=None, timeout=60):
        """Runs a tool against the session's display and returns its output."""
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
        """Waits until the program of `window` has handled every key and click sent so far,
        and whatever they made it do has reached the X server. Ask through a window that
        outlives the input (the main window): a window that is gone answers nothing."""
        if not self.x.exists(window):
            raise XError(f"window {window:#x} is gone; its program cannot be asked")
        if not self._barrier.wait(window, timeout):
            raise TimedOut(f"the program of window {window:#x} did not answer for {timeout} s")

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
        return self.x.screen_size()

    def work_area(self):
        """The part of the screen that panels leave to windows."""
        values = self.x.cardinals(self.x.root.id, "_NET_WORKAREA")
        if len(values) >= 4:
            return Rect(*values[:4])
        return Rect(0, 0, *self.screen_size())

    def geometry(self, window):
        """(x, y, width, height) of a window's client area on the screen; RuntimeError when
        the window is gone."""
        return self.x.geometry(window)

    def frame_extents(self, window):
        """(left, right, top, bottom) of the frame the window manager put around it."""
        values = self.x.cardinals(window, "_NET_FRAME_EXTENTS")
        return tuple(values) if len(values) == 4 else (0, 0, 0, 0)

    def frame_rect(self, window):
        x, y, width, height = self.geometry(window)
        left, right, top, bottom = self.frame_extents(window)
        return Rect(x - left, y - top, width + left + right, height + top + bottom)

    def atom_names(self, values):
        return [self.x.atom_name(v) for v in values or []]

    def atoms(self, window, prop):
        """The atom names in a window's property as they stand, [] when it has none; None
        when the window does not exist (any more)."""
        try:
            values = self.x.property(window, prop)
        except XError:
            return None
        return self.atom_names(values if isinstance(values, list) else [])

    def requested_atoms(self, window, prop):
        """The atom names the window's program had put in the property when it asked for the
        window to be mapped (as recorded, however briefly the window lived); None when the
        window was never mapped."""
        if not self.recorder.was_mapped(window):
            return None
        return self.atom_names(self.recorder.value(window, prop, at_map=True))

    def requested_text(self, window, prop):
        """A text property (WM_NAME, _NET_WM_NAME, …) as the program had set it when it asked
        for the window to be mapped: None when it had not set it at all."""
        value = self.recorder.value(window, prop, at_map=True)
        return None if value is None else bytes(value).decode("utf-8", "replace")

    def text_property(self, window, prop):
        """A window's text property (such as WM_NAME) as it stands: "" when it is empty, None
        when the window has no such property or does not exist (any more)."""
        try:
            value = self.x.property(window, prop)
        except XError:
            return None
        if value is None:
            return None
        return (value if isinstance(value, str) else bytes(value).decode("utf-8", "replace"))

    def takes_focus(self, window):
        """Whether the window asked for the keyboard focus when it was mapped (the input
        field of its WM_HINTS, as its program set it); None when it was never mapped."""
        if not self.recorder.was_mapped(window):
            return None
        hints = self.recorder.value(window, "WM_HINTS", at_map=True) or []
        return not (len(hints) >= 2 and hints[0] & 1 and hints[1] == 0)

    def stacking(self):
        """The managed windows from bottom to top."""
        return self.x.cardinals(self.x.root.id, "_NET_CLIENT_LIST_STACKING")

    def active_window(self):
        return self.x.window_property(self.x.root.id, "_NET_ACTIVE_WINDOW")

    def focused_window(self):
        """The window that has the keyboard focus (0 when none)."""
        return self.x.focus()

    def is_viewable(self, window):
        return self.x.is_viewable(window)

    def screenshot(self, path):
        """Saves the whole screen as a PNG (ImageMagick's import)."""
        self.run_tool("import", "-window", "root", path)

    @contextlib.contextmanager
    def watching_windows(self):
        """The top-level windows that come and go meanwhile: yields a WindowLog."""
        yield WindowLog(self.watcher, len(self.watcher.snapshot()),
                        self.x.display.display.info.resource_id_mask)


class WaylandSession(DesktopSession):
    """A Wayland desktop as GNOME runs one: GNOME's compositor (mutter, headless, on a
    virtual monitor of the screen's size) with its own D-Bus session bus, and, unless
    xwayland is False, its X server for X programs (XWayland), whose windows the session
    then sees as on any X desktop: mutter manages them. Programs run with WAYLAND_DISPLAY
    and XDG_SESSION_TYPE=wayland, as in a user's Wayland session."""

    def __init__(self, screen="1280x1024x24", xwayland=True):
        super().__init__(screen=screen, window_manager=None, panel=False)
        self.xwayland = xwayland
        self.x11 = xwayland

    @property
    def managed(self):
        return self.xwayland  # mutter is XWayland's window manager

    def required_tools(self):
        return ["mutter", "dbus-daemon"] + (
            ["Xwayland", "xdotool", "xclip", "setxkbmap"] if self.xwayland else [])

    def _start_server(self):
        self.env["XDG_SESSION_TYPE"] = "wayland"
        size = "x".join(self.screen.split("x")[:2])
        told = os.path.join(self._tempdir, "compositor-environment")
        # mutter starts the command once its displays are up, with their names in its
        # environment; the command writes them down and lives as long as mutter does.
        reporter = ["sh", "-c", 'env > "$0.part" && mv "$0.part" "$0" && '
                    'exec tail --pid=$PPID -f /dev/null', told]
        argv = ["mutter", "--headless", "--wayland", "--virtual-monitor", size]
        if not self.xwayland:
            argv.append("--no-x11")
        self.start_process(argv + ["--"] + reporter, log="mutter")
        wait_until(lambda: os.path.exists(told), 60, "the compositor to start")
        with open(told) as f:
            names = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.env["WAYLAND_DISPLAY"] = names["WAYLAND_DISPLAY"]
        if self.xwayland:
            self.display = names["DISPLAY"]
            self.env["DISPLAY"] = self.display
            self.env["XAUTHORITY"] = names.get("XAUTHORITY", "")

    def start(self):
        super().start()
        if self.xwayland:
            wait_until(self.window_manager_ready, 30, "the compositor to manage X windows")


class WindowLog:
    """What happens to the top-level windows from the moment it was made, in order, as the
    root window sees it: entries (event, window, details), as WindowWatcher records them."""

    def __init__(self, watcher, start, resource_id_mask):
        self._watcher = watcher
        self._start = start
        self._client_bits = ~resource_id_mask  # the part of an X id that names its client

    def snapshot(self):
        return self._watcher.snapshot()[self._start:]

    def created(self, size=None, override_redirect=False, client_of=None):
        """Windows created meanwhile, in order; those of the given (width, height) only, and
        only those the client of window `client_of` created (a window manager makes windows
        of its own, some of a program window's size)."""
        def same_client(w):
            return client_of is None or w & self._client_bits == client_of & self._client_bits
        return [w for event, w, d in self.snapshot() if event == "create"
                and d[4] == override_redirect and (size is None or d[2:4] == size)
                and same_client(w)]

    def index(self, event, window):
        """Where the first such event stands in the log, or None."""
        for i, (e, w, _) in enumerate(self.snapshot()):
            if e == event and w == window:
                return i
        return None
