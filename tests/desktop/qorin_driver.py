"""The program as its desktop tests and benchmarks see it from outside: where its main
window's fields lie (as the program itself tells a screen reader), how a user reaches its
menus, types into A and reads B; and the unittest base class that gives each test class a
desktop session of its own.

A test program calls run_tests() with its own docstring; its first argument is the path of
the program to test, kept here as QORIN.
"""

import os
import sys
import unittest

from atspi import accessible_tree, start_accessibility, walk
from xsession import DesktopSession, wait_until

QORIN = None  # the program under test: run_tests() sets it

# Generous limits: the tests run on a loaded two-core machine.
START = 60
SETTLE = 20

# A and B, by the names a screen reader reads them by.
A_FIELD = "Polish word"
B_FIELD = "Spanish translation"
SPLASH_SIZE = (362, 241)  # 360 x 239 and a one-pixel border
ABOUT_SIZE = (280, 212)  # 278 x 210 and a one-pixel border
ABOUT_CLIENT_AT = (302, 303)
LONGEST_INPUT = 10_000  # characters


class Qorin:
    """The running program and its main window, seen from outside; on a screen of `scale`
    device pixels to the logical pixel (QT_SCALE_FACTOR), where every size is that much
    larger."""

    # Whether the program tells where its objects lie over the desktop's accessibility bus.
    tells_places = True

    def __init__(self, session, scale=1, path=None, log="qorin", launcher=(), env=None):
        self.session = session
        self.scale = scale
        self._places = {}  # accessible name -> its place relative to the window's client area
        if self.tells_places:
            start_accessibility(session)
        # launcher: what starts the program, such as ["wine"] for the Windows build.
        self.program = session.start_program([*launcher, path or QORIN], log=log, env=env)
        self.main = self.program.wait_for_window("^Tavrin Qorin$", timeout=START)
        if session.managed:
            wait_until(lambda: session.focused_window() == self.main, SETTLE,
                       "the main window to take the focus")

    def client(self):
        return self.session.geometry(self.main)

    def place(self, name):
        """Where the main window's object of this accessible name lies on the screen: x, y,
        width and height in device pixels. The program tells it over the accessibility bus,
        once; it is kept relative to the window, so it follows the window when it moves."""
        if name not in self._places:
            self._places[name] = wait_until(lambda: self._read_place(name), SETTLE,
                                            f"the program to tell where {name!r} lies",
                                            interval=0.2)
        x, y, _, _ = self.client()
        dx, dy, width, height = self._places[name]
        return x + dx, y + dy, width, height

    def _read_place(self, name):
        # The program tells places in its logical pixels, on its screen of `scale` device
        # pixels to the logical pixel; the frame and the object come from one reading.
        tree = accessible_tree(self.session, "Qorin")
        if tree is None:
            return None
        frames = [n for n in tree["children"]
                  if n["name"] == "Tavrin Qorin" and "showing" in n["states"]]
        if len(frames) != 1:
            return None
        found = [n for n in walk(frames[0]) if n["name"] == name and "showing" in n["states"]]
        if len(found) != 1:
            return None
        fx, fy, _, _ = frames[0]["extents"]
        x, y, width, height = found[0]["extents"]
        return tuple(round(v * self.scale) for v in (x - fx, y - fy, width, height))

    def field_point(self, field):
        """The middle of a field (A_FIELD, B_FIELD), or of any object named as they are."""
        x, y, width, height = self.place(field)
        return x + width // 2, y + height // 2

    def focus(self, field):
        """Puts the keyboard focus into a field, as a user does with the mouse."""
        self.session.click(*self.field_point(field))

    def first_menu_point(self):
        """Where the menu bar's first menu, "File", is clicked."""
        return self.field_point("File")

    def menu(self, *path):
        """Chooses a menu entry by mouse and keyboard: ("File", "Exit") or ("Help", "About")."""
        self.session.click(*self.first_menu_point())
        if path[0] == "Help":
            self.session.key("Right")  # the next menu, its first entry selected
        else:
            self.session.key("Down")
        self.session.key("Return")

    def open_about(self):
        self.menu("Help", "About")
        size = (ABOUT_SIZE[0] * self.scale, ABOUT_SIZE[1] * self.scale)
        return self.program.wait_for_window(None, timeout=SETTLE, size=size)

    def type_into_input(self, text):
        self.focus(A_FIELD)
        self.session.key("ctrl+a")
        self.session.type(text)

    def output(self):
        """The text of B, copied to the clipboard as a user would copy it."""
        return self.copied(B_FIELD)

    def input(self):
        """The text of A, copied to the clipboard as a user would copy it."""
        return self.copied(A_FIELD)

    # A marker offered on the clipboard before each copy, so a copy that did not happen is
    # seen as the marker rather than as an earlier copy.
    offers_marker = True

    def copied(self, field, timeout=20):
        """Selects all of a field's text and copies it: what the clipboard then holds. The
        marker is offered only once the program has handled the keys sent before (a paste
        still fetching the clipboard would fetch the marker instead), and the clipboard is
        read once it has handled the copy keys (a slow program, or one busy with a long
        text, would otherwise still offer what was there before)."""
        self.session.handled(self.main)
        if self.offers_marker:
            self.session.set_clipboard("\u2400")
        self.focus(field)
        self.session.key("ctrl+a", "ctrl+c")
        self.session.handled(self.main)
        return self.session.clipboard(timeout)

    def wait_for_output(self, expected):
        wait_until(lambda: self.output() == expected, SETTLE, f"B to show {expected!r}",
                   interval=0.2)

    def stop(self):
        self.program.stop()


class DesktopTestCase(unittest.TestCase):
    panel = False
    window_manager = True
    scale = 1  # device pixels to the logical pixel (Qt's scale factor)
    screen = "1024x768x24"

    @classmethod
    def setUpClass(cls):
        cls.session = cls.make_session()
        cls.session.__enter__()
        cls.session.env["QT_SCALE_FACTOR"] = str(cls.scale)

    @classmethod
    def make_session(cls):
        return DesktopSession(screen=cls.screen, window_manager=cls.window_manager,
                              panel=cls.panel)

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def start_qorin(self):
        qorin = Qorin(self.session, self.scale)
        self.addCleanup(qorin.stop)
        return qorin

    def screenshot(self, name):
        folder = os.environ.get("QORIN_SCREENSHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            self.session.screenshot(os.path.join(folder, name + ".png"))

    def assertCentredInWorkArea(self, frame):
        """The window's frame stands in the middle of the work area, to a pixel."""
        work = self.session.work_area()
        for axis in (0, 1):
            self.assertAlmostEqual(frame.centre[axis], work.centre[axis], delta=1,
                                   msg=f"frame {frame}, work area {work}")

    def assertGone(self, qorin, window):
        wait_until(lambda: not self.session.is_viewable(window), SETTLE,
                   f"window {window:#x} to go")


def cache_value(build, name):
    """A value of the CMake cache of the build folder `build`."""
    with open(os.path.join(build, "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    raise AssertionError(f"the cache of {build} has no {name}")


def project_version():
    """The version of the program under test, from its build's CMake cache."""
    return cache_value(os.path.dirname(os.path.dirname(QORIN)), "CMAKE_PROJECT_VERSION")


def run_tests(usage):
    """Runs the calling module's tests on the program named by the first argument."""
    global QORIN
    if len(sys.argv) < 2:
        sys.exit(usage)
    QORIN = os.path.abspath(sys.argv.pop(1))
    unittest.main(module="__main__", verbosity=2)
