#!/usr/bin/python3
"""End-to-end tests of the built program on a real X server (Xvfb) with a real window
manager (openbox), driven with the keyboard and the mouse as a user would, through
xdotool, and read back through the clipboard.

Usage: desktop_test.py PATH-TO-QORIN [unittest options]
Set QORIN_SCREENSHOTS to a folder to keep a screenshot of each test's key moment.
"""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import DesktopSession, TimedOut, wait_until  # noqa: E402

QORIN = None

# Generous limits: the tests run on a loaded two-core machine.
START = 60
SETTLE = 20

# The main window's design, in pixels of its client area below the menu bar.
A_FIELD = (48, 48, 377, 25)
B_FIELD = (48, 120, 377, 113)
CLIENT_HEIGHT = 292
SPLASH_SIZE = (362, 241)  # 360 x 239 and a one-pixel border
ABOUT_SIZE = (280, 212)  # 278 x 210 and a one-pixel border
ABOUT_CLIENT_AT = (302, 303)
LONGEST_INPUT = 10_000  # characters


class Qorin:
    """The running program and its main window, seen from outside; on a screen of `scale`
    device pixels to the logical pixel (QT_SCALE_FACTOR), where every size is that much
    larger."""

    def __init__(self, session, scale=1):
        self.session = session
        self.scale = scale
        self.program = session.start_program([QORIN], log="qorin")
        self.main = self.program.wait_for_window("^Tavrin Qorin$", timeout=START)
        if session.managed:
            wait_until(lambda: session.focused_window() == self.main, SETTLE,
                       "the main window to take the focus")

    def client(self):
        return self.session.geometry(self.main)

    def field_point(self, field):
        x, y, width, height = self.client()
        menu_bar = height - CLIENT_HEIGHT * self.scale
        fx, fy, fw, fh = (v * self.scale for v in field)
        return x + fx + fw // 2, y + menu_bar + fy + fh // 2

    def menu(self, *path):
        """Chooses a menu entry by mouse and keyboard: ("File", "Exit") or ("Help", "About")."""
        x, y, _, height = self.client()
        menu_bar = height - CLIENT_HEIGHT * self.scale
        self.session.click(x + 18 * self.scale, y + menu_bar // 2)  # "File", the first menu
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
        self.session.click(*self.field_point(A_FIELD))
        self.session.key("ctrl+a")
        self.session.type(text)

    def output(self):
        """The text of B, copied to the clipboard as a user would copy it."""
        self.session.set_clipboard("\u2400")
        self.session.click(*self.field_point(B_FIELD))
        self.session.key("ctrl+a", "ctrl+c")
        return self.session.clipboard()

    def input(self):
        self.session.set_clipboard("\u2400")
        self.session.click(*self.field_point(A_FIELD))
        self.session.key("ctrl+a", "ctrl+c")
        return self.session.clipboard()

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

    def assertGone(self, qorin, window):
        wait_until(lambda: not self.session.is_viewable(window), SETTLE,
                   f"window {window:#x} to go")


class TranslationTest(DesktopTestCase):
    def test_typed_words_are_translated(self):
        qorin = self.start_qorin()
        cases = [
            ("Kąpać się", "bańarse"),
            ("ABAŻUR", "el pantalla"),
            ("Żołądek", "el estómago"),
            ("ŁAMIGŁÓWKA", "el rompecabezas"),
            ("szambo", "el pozo negro"),
        ]
        for typed, translation in cases:
            with self.subTest(typed=typed):
                qorin.type_into_input(typed)
                self.assertEqual(qorin.input(), typed)
                qorin.wait_for_output(translation)
        self.screenshot("translation")


class EndingTest(DesktopTestCase):
    def test_file_exit_ends_with_status_0(self):
        qorin = self.start_qorin()
        qorin.menu("File", "Exit")
        self.assertEqual(qorin.program.wait(SETTLE), 0)

    def test_closing_the_main_window_ends_the_program_and_takes_about_along(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.session.run_tool("wmctrl", "-i", "-c", str(qorin.main))
        self.assertEqual(qorin.program.wait(SETTLE), 0)
        self.assertFalse(self.session.is_viewable(about))
        self.assertFalse(self.session.is_viewable(qorin.main))


class AboutTest(DesktopTestCase):
    """Help, About: the About window comes up with the focus and without a taskbar button,
    and a key that produces a character, or a click, closes it."""

    panel = True  # a taskbar, as on a desktop

    def assertHasFocus(self, window):
        wait_until(lambda: self.session.active_window() == window, SETTLE,
                   f"window {window:#x} to be the active window")
        wait_until(lambda: self.session.focused_window() == window, SETTLE,
                   f"window {window:#x} to have the keyboard focus")

    def test_about_takes_the_focus_and_a_key_closes_it(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        x, y, _, _ = self.session.geometry(about)
        self.assertEqual((x + 1, y + 1), ABOUT_CLIENT_AT)  # inside its one-pixel border
        self.assertHasFocus(about)
        self.screenshot("about")
        self.session.type("x")
        self.assertGone(qorin, about)
        # The key did not reach A: what is typed next is looked up alone.
        self.assertHasFocus(qorin.main)
        self.session.type("kot")
        qorin.wait_for_output("el gato")
        self.assertEqual(qorin.input(), "kot")

    def test_about_behind_the_main_window_comes_to_the_front_with_the_focus(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.assertHasFocus(about)
        x, y, width, _ = qorin.client()
        self.session.click(x + width - 20, y + 150)  # the main window, right of About
        self.assertHasFocus(qorin.main)
        stacking = self.session.stacking()
        self.assertLess(stacking.index(about), stacking.index(qorin.main))
        self.assertEqual(qorin.open_about(), about)  # Help, About again: the same window
        self.assertHasFocus(about)
        stacking = self.session.stacking()
        self.assertGreater(stacking.index(about), stacking.index(qorin.main))
        self.session.key("Escape")
        self.assertGone(qorin, about)

    def test_a_click_closes_it(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        x, y, width, height = self.session.geometry(about)
        self.session.click(x + width // 3, y + height // 3)
        self.assertGone(qorin, about)
        self.assertTrue(qorin.program.running())

    def test_keys_without_a_character_leave_it_open(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.assertHasFocus(about)
        self.session.key("Delete", "Left", "F2", "shift")
        self.session.handled(qorin.main)  # every key has reached About by now
        self.assertTrue(self.session.is_viewable(about))
        self.session.key("Return")
        self.assertGone(qorin, about)

    def test_no_taskbar_button(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR",
                      self.session.requested_atoms(about, "_NET_WM_STATE"))
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", self.session.atoms(about, "_NET_WM_STATE"))
        self.assertNotIn("_NET_WM_STATE_SKIP_TASKBAR",
                         self.session.atoms(qorin.main, "_NET_WM_STATE"))
        self.screenshot("about-taskbar")


class StartUpTest(DesktopTestCase):
    panel = True

    def test_splash_comes_before_the_main_window_and_goes_after_it(self):
        with self.session.watching_windows() as log:
            qorin = self.start_qorin()
        splashes = log.created(size=SPLASH_SIZE)
        self.assertEqual(len(splashes), 1, log.snapshot())
        splash = splashes[0]
        # Managed (mapped through the window manager) before the main window, on the screen
        # together for a moment, and gone after.
        self.assertIsNotNone(log.index("reparent", splash), log.snapshot())
        self.assertLess(log.index("reparent", splash), log.index("reparent", qorin.main))
        self.assertFalse(self.session.is_viewable(splash))
        self.assertEqual(qorin.program.windows(), [qorin.main])
        # No taskbar button for the splash, one for the main window: what the program asked
        # of the window manager as it mapped each.
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR",
                      self.session.requested_atoms(splash, "_NET_WM_STATE"))
        self.assertNotIn("_NET_WM_STATE_SKIP_TASKBAR",
                         self.session.requested_atoms(qorin.main, "_NET_WM_STATE"))
        # The splash takes no keys: it does not ask for the focus, the main window does.
        self.assertIs(self.session.takes_focus(splash), False)
        self.assertIs(self.session.takes_focus(qorin.main), True)

    def test_main_window_is_centred_with_its_frame(self):
        qorin = self.start_qorin()
        frame = self.session.frame_rect(qorin.main)
        self.assertGreater(frame.height, self.session.geometry(qorin.main)[3],
                           "the window manager gave the window a title bar")
        work = self.session.work_area()
        for axis in (0, 1):
            self.assertAlmostEqual(frame.centre[axis], work.centre[axis], delta=1,
                                   msg=f"frame {frame}, work area {work}")


class WithoutWindowManagerTest(DesktopTestCase):
    window_manager = False

    def test_main_window_is_centred_by_itself(self):
        qorin = self.start_qorin()
        x, y, width, height = self.session.geometry(qorin.main)
        screen_width, screen_height = self.session.screen_size()
        self.assertAlmostEqual(x + width / 2, screen_width / 2, delta=1)
        self.assertAlmostEqual(y + height / 2, screen_height / 2, delta=1)


class PasteTest(DesktopTestCase):
    def test_a_megabyte_paste_keeps_the_window_usable(self):
        qorin = self.start_qorin()
        words = []
        size = 0
        while size < 1_000_000:
            words.append(f"{len(words)} Źdźbło ")
            size += len(words[-1].encode())
        pasted = "".join(words)
        self.session.set_clipboard(pasted)
        with self.session.watching_windows() as log:
            self.session.click(*qorin.field_point(A_FIELD))
            self.session.key("ctrl+v")
            # What does not fit is refused visibly: a note pops up below the field and stays
            # when the keys are let go.
            note = wait_until(lambda: [w for w in log.created(override_redirect=True)
                                       if log.index("map", w) is not None], SETTLE,
                              "a note that the field is full")[0]
        self.assertTrue(self.session.is_viewable(note))
        self.screenshot("paste")
        self.assertEqual(qorin.input(), pasted[:LONGEST_INPUT])
        # The window goes on translating.
        qorin.type_into_input("dla")
        qorin.wait_for_output("para")


class StartUpFailureTest(unittest.TestCase):
    """Without a usable display the program says so in one line and ends with status 1."""

    def run_without_display(self, **env):
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        environment.update(env)
        result = subprocess.run([QORIN], env=environment, capture_output=True, timeout=START)
        return result.returncode, result.stderr.decode("utf-8", "replace")

    def test_no_usable_display(self):
        cases = [
            ("no DISPLAY", {}, "qorin: cannot open the display: DISPLAY is not set"),
            ("a dead display", {"DISPLAY": ":" + free_display_number()},
             "qorin: cannot open the display ':{}'"),
            ("an unknown platform", {"QT_QPA_PLATFORM": "nosuchplatform"},
             "qorin: no such window system platform: 'nosuchplatform'"),
        ]
        for name, env, message in cases:
            with self.subTest(name):
                status, stderr = self.run_without_display(**env)
                self.assertEqual(status, 1, stderr)
                if "{}" in message:
                    message = message.format(env["DISPLAY"][1:])
                self.assertEqual(stderr, message + "\n")


def free_display_number():
    """A display number no X server answers on."""
    for n in range(200, 400):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return str(n)
    raise RuntimeError("no free display number")


def main():
    global QORIN
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    QORIN = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)


if __name__ == "__main__":
    main()
