#!/usr/bin/python3
"""The built program on the desktops people run, each a real display server started and
ended by the test: Xfce's window manager (xfwm4) and GNOME's (mutter) on Xvfb; a GNOME
Wayland session (mutter as a headless Wayland compositor with XWayland), where the program
must choose X11 and so behave as on an X desktop; and a Wayland session without any X
server, where it runs natively and is driven through the compositor's remote-desktop
keyboard and read through the accessibility bus. The openbox desktop of desktop_test.py is
the fast one of `make test`; this is `make desktop-matrix`.

Usage: desktop_matrix_test.py PATH-TO-QORIN [unittest options]
Set QORIN_SCREENSHOTS to a folder to keep a screenshot of each desktop.
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qorin_driver as desktop  # noqa: E402
from atspi import start_accessibility, wait_for_tree, walk  # noqa: E402
from qorin_driver import ABOUT_CLIENT_AT, SETTLE, START  # noqa: E402
from remote_keyboard import RemoteKeyboard  # noqa: E402
from xsession import WaylandSession, wait_until  # noqa: E402


class DesktopBehaviour:
    """What must hold on every desktop that lets the program's windows be X windows. A
    subclass names the desktop; `places_windows` says whether its window manager puts a
    window where the program asks (all of these do)."""

    places_windows = True

    def assertHasFocus(self, window):
        wait_until(lambda: self.session.active_window() == window, SETTLE,
                   f"window {window:#x} to be the active window")
        wait_until(lambda: self.session.focused_window() == window, SETTLE,
                   f"window {window:#x} to have the keyboard focus")

    def test_start_centred_focused_and_translating(self):
        with self.session.watching_windows() as log:
            qorin = self.start_qorin()
        splashes = log.created(size=desktop.SPLASH_SIZE, client_of=qorin.main)
        self.assertEqual(len(splashes), 1, log.snapshot())
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR",
                      self.session.requested_atoms(splashes[0], "_NET_WM_STATE"))
        self.assertNotIn("_NET_WM_STATE_SKIP_TASKBAR",
                         self.session.requested_atoms(qorin.main, "_NET_WM_STATE"))
        if self.places_windows:
            self.assertCentredInWorkArea(self.session.frame_rect(qorin.main))
        # The focus is in A: typing without a click reaches it.
        self.assertHasFocus(qorin.main)
        self.session.type("kot")
        qorin.wait_for_output("el gato")
        self.screenshot(f"{self.desktop}-main")

    def test_about_takes_the_focus_and_a_key_closes_it(self):
        qorin = self.start_qorin()
        self.session.type("kot")
        qorin.wait_for_output("el gato")
        about = qorin.open_about()
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR",
                      self.session.requested_atoms(about, "_NET_WM_STATE"))
        if self.places_windows:
            x, y, _, _ = self.session.geometry(about)
            self.assertEqual((x + 1, y + 1), ABOUT_CLIENT_AT)
        self.assertHasFocus(about)
        self.screenshot(f"{self.desktop}-about")
        self.session.type("x")
        self.assertGone(qorin, about)
        self.assertHasFocus(qorin.main)
        self.assertEqual(qorin.input(), "kot")  # the key went to About, not to A

    def test_file_exit_ends_with_status_0(self):
        qorin = self.start_qorin()
        qorin.menu("File", "Exit")
        self.assertEqual(qorin.program.wait(SETTLE), 0)

    def test_closing_through_the_window_manager_takes_about_along(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.session.run_tool("wmctrl", "-i", "-c", str(qorin.main))
        self.assertEqual(qorin.program.wait(SETTLE), 0)
        self.assertFalse(self.session.x.exists(about))


class XfwmTest(DesktopBehaviour, desktop.DesktopTestCase):
    desktop = "xfwm4"
    window_manager = "xfwm4"


class MutterX11Test(DesktopBehaviour, desktop.DesktopTestCase):
    desktop = "mutter-x11"
    window_manager = "mutter"


class GnomeWaylandTest(DesktopBehaviour, desktop.DesktopTestCase):
    """GNOME on Wayland: the program is not told which platform to use, and must run on
    XWayland, where mutter manages its windows as X windows."""

    desktop = "gnome-wayland"

    @classmethod
    def make_session(cls):
        return WaylandSession(xwayland=True)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        start_accessibility(cls.session)

    def screenshot(self, name):
        pass  # XWayland's root window holds no picture of the screen

    def test_windows_are_x_windows(self):
        qorin = self.start_qorin()  # found on the X display, or the test fails here
        self.assertEqual(self.session.env["XDG_SESSION_TYPE"], "wayland")
        self.assertTrue(self.session.env["WAYLAND_DISPLAY"])
        self.assertEqual(qorin.program.windows(), [qorin.main])

    def test_a_platform_the_user_names_is_obeyed(self):
        # Told to use Wayland, the program runs there: its main window reaches the screen
        # reader, and no window of it is an X window.
        for how in ("argument", "environment"):
            with self.subTest(how=how):
                env = dict(self.session.env)
                argv = [desktop.QORIN]
                if how == "argument":
                    argv += ["-platform", "wayland"]
                else:
                    env["QT_QPA_PLATFORM"] = "wayland"
                program = self.session.start_program(argv, log="qorin-" + how, env=env)
                try:
                    wait_for_tree(self.session, "Qorin",
                                  lambda t: ("frame", "Tavrin Qorin") in windows(t), START,
                                  "the main window on Wayland")
                    self.assertEqual(program.windows(visible=False), [])
                finally:
                    program.stop()


class NativeWaylandTest(unittest.TestCase):
    """A Wayland session without any X server: the program runs as a Wayland client. Where
    its windows stand is the compositor's choice there, and Wayland has no taskbar hints;
    what must work is the program itself: typing, translating, the menus, About opened and
    closed by a key, File, Exit."""

    @classmethod
    def setUpClass(cls):
        cls.session = WaylandSession(xwayland=False)
        cls.session.__enter__()
        start_accessibility(cls.session)

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def setUp(self):
        self.program = self.session.start_program([desktop.QORIN], log="qorin")
        self.addCleanup(self.program.stop)
        self.keyboard = RemoteKeyboard(self.session.env["DBUS_SESSION_BUS_ADDRESS"])
        self.addCleanup(self.keyboard.close)
        self.tree(lambda t: windows(t) == [("frame", "Tavrin Qorin")], "the main window")
        self.wait_until_keys_arrive()

    def tree(self, condition, what):
        return wait_for_tree(self.session, "Qorin", condition, SETTLE, what)

    def wait_until_keys_arrive(self):
        """The compositor's remote keyboard drops what is typed before the program has
        taken its keymap: type a letter until one shows in A, then empty A again."""

        def arrived():
            self.keyboard.type("q")
            try:
                self.tree(lambda t: field_text(t, "Polish word"), "a letter in A")
                return True
            except AssertionError:
                return False

        wait_until(arrived, START, "the keyboard to reach the program", interval=0)
        self.keyboard.key("a", "Control")
        self.keyboard.key("BackSpace")
        self.tree(lambda t: field_text(t, "Polish word") == "", "A to be empty")

    def choose(self, menu, entry):
        """Chooses a menu entry with the keyboard, as on X: Alt selects the menu bar, Right
        moves to the next menu, Return opens it and Return chooses its first entry. Each
        step waits for the one before to show: a menu is a surface of its own on Wayland,
        which takes the keys only once the compositor has shown it."""
        self.keyboard.key("Alt")
        self.tree(lambda t: "focused" in node(t, "menu item", "File")["states"],
                  "the menu bar")
        if menu == "Help":
            self.keyboard.key("Right")
            self.tree(lambda t: "focused" in node(t, "menu item", "Help")["states"], "Help")
        self.keyboard.key("Return")
        self.tree(lambda t: "focused" in node(t, "menu item", entry)["states"],
                  f"the {menu} menu open at {entry}")
        self.keyboard.key("Return")

    def test_typing_translates(self):
        self.keyboard.type("kot")
        self.tree(lambda t: field_text(t, "Spanish translation") == "el gato",
                  "the translation of kot")
        self.keyboard.key("a", "Control")
        self.keyboard.type("dla")
        self.tree(lambda t: field_text(t, "Spanish translation") == "para",
                  "the translation of dla")

    def test_help_about_opens_and_a_key_closes_it(self):
        self.keyboard.type("kot")
        self.tree(lambda t: field_text(t, "Spanish translation") == "el gato", "el gato")
        self.choose("Help", "About")
        self.tree(lambda t: ("dialog", "About Qorin") in windows(t), "the About window")
        self.keyboard.type("x")
        self.tree(lambda t: windows(t) == [("frame", "Tavrin Qorin")], "About to close")
        self.assertEqual(field_text(self.tree(lambda t: True, "the tree"), "Polish word"),
                         "kot")

    def test_file_exit_ends_with_status_0(self):
        self.choose("File", "Exit")
        self.assertEqual(self.program.wait(SETTLE), 0)


def windows(tree):
    return [(w["role"], w["name"]) for w in tree["children"]]


def node(tree, role, name):
    found = [n for n in walk(tree) if n["role"] == role and n["name"] == name]
    return found[0] if found else {"states": []}


def field_text(tree, name):
    found = [n for n in walk(tree) if n["role"] == "text" and n["name"] == name]
    return found[0].get("text") if found else None


if __name__ == "__main__":
    desktop.run_tests(__doc__)
