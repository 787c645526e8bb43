#!/usr/bin/python3
"""End-to-end tests of the built program on a real X server (Xvfb) with a real window
manager (openbox), driven with the keyboard and the mouse as a user would, through
xdotool, and read back through the clipboard.

Usage: desktop_test.py PATH-TO-QORIN [unittest options]
Set QORIN_SCREENSHOTS to a folder to keep a screenshot of each test's key moment.
"""

import os
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


class Qorin:
    """The running program and its main window, seen from outside."""

    def __init__(self, session):
        self.session = session
        self.program = session.start_program([QORIN], log="qorin")
        self.main = self.program.wait_for_window("^Tavrin Qorin$", timeout=START)
        wait_until(lambda: session.focused_window() == self.main, SETTLE,
                   "the main window to take the focus")

    def client(self):
        return self.session.geometry(self.main)

    def field_point(self, field):
        x, y, width, height = self.client()
        menu_bar = height - CLIENT_HEIGHT
        fx, fy, fw, fh = field
        return x + fx + fw // 2, y + menu_bar + fy + fh // 2

    def menu(self, *path):
        """Chooses a menu entry by mouse and keyboard: ("File", "Exit") or ("Help", "About")."""
        x, y, _, height = self.client()
        menu_bar = height - CLIENT_HEIGHT
        self.session.click(x + 18, y + menu_bar // 2)  # "File", the first menu
        if path[0] == "Help":
            self.session.key("Right")  # the next menu, its first entry selected
        else:
            self.session.key("Down")
        self.session.key("Return")

    def open_about(self):
        self.menu("Help", "About")
        return self.program.wait_for_window(None, timeout=SETTLE, size=ABOUT_SIZE)

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

    @classmethod
    def setUpClass(cls):
        cls.session = DesktopSession(panel=cls.panel)
        cls.session.__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def start_qorin(self):
        qorin = Qorin(self.session)
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


def main():
    global QORIN
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    QORIN = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)


if __name__ == "__main__":
    main()
