#!/usr/bin/python3
"""End-to-end tests of the built program on a real X server (Xvfb) with a real window
manager (openbox), driven with the keyboard and the mouse as a user would, through
xdotool, and read back through the clipboard.

Usage: desktop_test.py PATH-TO-QORIN [unittest options]
Set QORIN_SCREENSHOTS to a folder to keep a screenshot of each test's key moment.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qorin_driver  # noqa: E402
from qorin_driver import (  # noqa: E402
    A_FIELD, ABOUT_CLIENT_AT, ABOUT_SIZE, LONGEST_INPUT, SETTLE, SPLASH_SIZE,
    START, DesktopTestCase)
from xsession import wait_until  # noqa: E402

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
        splashes = log.created(size=SPLASH_SIZE, client_of=qorin.main)
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
        self.assertCentredInWorkArea(frame)


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
        qorin.focus(A_FIELD)
        self.session.key("ctrl+v")
        self.assertEqual(qorin.input(), pasted[:LONGEST_INPUT])
        # The window goes on translating.
        qorin.type_into_input("dla")
        qorin.wait_for_output("para")


def crop(session, image, rect):
    """The pixels of a part of a picture file as bytes, three to a pixel."""
    x, y, width, height = (int(v) for v in rect)
    return session.run_bytes("convert", image, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                             "-depth", "8", "rgb:-")


def mean_difference(a, b):
    assert len(a) == len(b), (len(a), len(b))
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


class FieldNoteTest(DesktopTestCase):
    """The note that the input field is full is drawn inside the main window: it comes with
    no window of its own, moves with the main window and goes when it is minimised."""

    def note_area(self, qorin):
        """Where the note stands, inside its frame: below A, from A's left edge."""
        x, y, _, height = qorin.place(A_FIELD)
        return (x + 4, y + height + 4, 150, 10)

    def shot(self, name):
        path = os.path.join(self.session.env["HOME"], name + ".png")
        self.session.screenshot(path)
        return path

    def refuse_a_key(self):
        """A key typed into the full field: refused, it brings the note back for 5 s."""
        self.session.type("x")

    def test_the_note_is_part_of_the_main_window(self):
        qorin = self.start_qorin()
        empty = crop(self.session, self.shot("before"), self.note_area(qorin))
        self.session.set_clipboard("kot " * (LONGEST_INPUT // 3))
        with self.session.watching_windows() as log:
            qorin.focus(A_FIELD)
            self.session.key("ctrl+v")
            shown = wait_until(
                lambda: (lambda pixels: pixels if mean_difference(pixels, empty) > 20 else None)(
                    crop(self.session, self.shot("note"), self.note_area(qorin))),
                SETTLE, "the note below the input field")
            self.screenshot("note")
            mapped = [w for w in log.created() + log.created(override_redirect=True)
                      if log.index("map", w) is not None]
            self.assertEqual(mapped, [], "no window came for the note")

        # The main window moved: the note goes along, drawn at the window's new place (each
        # try brings the note back, moves the window and looks within the note's 5 s).
        places = [(60, 40), (300, 200)]

        def drawn_at_new_place():
            self.refuse_a_key()
            brought_back = time.monotonic()
            before_move = qorin.client()
            places.reverse()
            self.session.run_tool("xdotool", "windowmove", "--sync", str(qorin.main),
                                  *(str(v) for v in places[0]))
            wait_until(lambda: qorin.client()[:2] != before_move[:2], SETTLE,
                       "the window to move")
            pixels = crop(self.session, self.shot("moved"), self.note_area(qorin))
            if time.monotonic() - brought_back > 4:
                return None  # too slow to tell: the note may have gone by itself
            return mean_difference(pixels, shown) < 2 or "no note at the new place"

        self.assertIs(wait_until(drawn_at_new_place, 3 * SETTLE, "a look after the move"), True)
        self.screenshot("note-moved")

        # Minimised, the window takes the note along: the place is bare while the note would
        # still be there (each try brings the note back, minimises and looks within its 5 s).
        area = self.note_area(qorin)

        def bare_when_minimised():
            self.session.run_tool("xdotool", "windowactivate", "--sync", str(qorin.main))
            self.refuse_a_key()
            brought_back = time.monotonic()
            self.session.run_tool("xdotool", "windowminimize", "--sync", str(qorin.main))
            pixels = crop(self.session, self.shot("minimised"), area)
            if time.monotonic() - brought_back > 4:
                return None  # too slow to tell: the note may have gone by itself
            return mean_difference(pixels, shown) > 20 or "note still shown"

        self.assertIs(wait_until(bare_when_minimised, 3 * SETTLE, "a look while minimised"),
                      True)


class MenuKeysTest(DesktopTestCase):
    """The menus from the keyboard, with the Polish keyboard layout: F10 opens them, Escape
    leaves them, Alt with a letter types nothing and AltGr types the Polish letters."""

    def back_to_input(self, qorin):
        """The caret at the end of A again (reading B left the focus there)."""
        qorin.focus(A_FIELD)
        self.session.key("End")

    def test_f10_opens_the_menus_and_escape_leaves_them(self):
        qorin = self.start_qorin()
        qorin.type_into_input("kot")
        qorin.wait_for_output("el gato")
        self.back_to_input(qorin)
        with self.session.watching_windows() as log:
            self.session.key("F10")
            menu = wait_until(lambda: [w for w in log.created(override_redirect=True)
                                       if log.index("map", w) is not None], SETTLE,
                              "the File menu")[0]
            self.screenshot("f10")
            self.session.key("Escape")
            wait_until(lambda: log.index("unmap", menu) is not None, SETTLE,
                       "the menu to close")
        # The keys are the input field's again.
        self.session.type("ek")
        qorin.wait_for_output("el gatito")
        # F10, Right to Help, Enter: About.
        self.session.key("F10", "Right", "Return")
        about = qorin.program.wait_for_window(None, timeout=SETTLE, size=ABOUT_SIZE)
        self.session.key("Escape")
        self.assertGone(qorin, about)
        # F10, Down to Exit, Enter: the program ends.
        wait_until(lambda: self.session.focused_window() == qorin.main, SETTLE,
                   "the main window to have the focus")
        self.session.key("F10", "Down", "Return")
        self.assertEqual(qorin.program.wait(SETTLE), 0)

    def test_alt_letters_type_nothing_and_altgr_types_polish_letters(self):
        qorin = self.start_qorin()
        qorin.type_into_input("kot")
        qorin.wait_for_output("el gato")
        self.back_to_input(qorin)
        self.session.key("alt+f", "alt+h", "alt+shift+f", "alt+shift+h", "alt+e")
        self.session.type("ek")
        qorin.wait_for_output("el gatito")
        self.assertEqual(qorin.input(), "kotek")

        qorin.type_into_input("")
        for letter in ("a", "z", "x", "shift+a", "shift+z", "shift+x"):
            self.session.run_tool("xdotool", "key", "ISO_Level3_Shift+" + letter)
        self.assertEqual(qorin.input(), "ążźĄŻŹ")


class AboutKeysTest(DesktopTestCase):
    """On About, a key that gives a character closes it, Tab and Shift+Tab alike; Alt with a
    letter gives none and leaves it open."""

    def open_with_focus(self, qorin):
        about = qorin.open_about()
        wait_until(lambda: self.session.focused_window() == about, SETTLE,
                   "About to have the keyboard focus")
        return about

    def test_tab_and_shift_tab_close_it_alt_letters_do_not(self):
        qorin = self.start_qorin()
        about = self.open_with_focus(qorin)
        self.session.key("alt+a", "alt+shift+a")
        self.session.handled(qorin.main)  # both keys have reached About by now
        self.assertTrue(self.session.is_viewable(about))
        self.session.key("shift+Tab")
        self.assertGone(qorin, about)
        about = self.open_with_focus(qorin)
        self.session.key("Tab")
        self.assertGone(qorin, about)


class WindowNamesTest(DesktopTestCase):
    """Window lists and pagers read no name for the splash and About windows, whose captions
    are empty; the main window is "Tavrin Qorin"."""

    def names(self, window):
        return (self.session.text_property(window, "WM_NAME"),
                self.session.text_property(window, "_NET_WM_NAME"))

    def test_splash_has_an_empty_name(self):
        with self.session.watching_windows() as log:
            qorin = self.start_qorin()
        splashes = log.created(size=SPLASH_SIZE, client_of=qorin.main)
        self.assertEqual(len(splashes), 1, log.snapshot())
        # The names the program had given each window when it asked for it to be mapped:
        # the splash is gone by now.
        for window, name in ((splashes[0], ""), (qorin.main, "Tavrin Qorin")):
            self.assertEqual((self.session.requested_text(window, "WM_NAME"),
                              self.session.requested_text(window, "_NET_WM_NAME")),
                             (name, name))

    def test_about_has_an_empty_name(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.assertEqual(self.names(about), ("", ""))
        self.assertNotEqual(self.session.text_property(about, "_NET_WM_VISIBLE_NAME"), "Qorin")
        self.assertEqual(self.names(qorin.main), ("Tavrin Qorin", "Tavrin Qorin"))


class CentredAtScale:
    """The main window's frame is centred in the work area, to a device pixel, at a scale
    factor of the mixed-in test case; the window manager gives its frame in device pixels."""

    screen = "2560x1600x24"

    def test_main_window_is_centred_with_its_frame(self):
        qorin = self.start_qorin()
        frame = self.session.frame_rect(qorin.main)
        self.assertGreater(frame.height, self.session.geometry(qorin.main)[3],
                           "the window manager gave the window a title bar")
        self.assertCentredInWorkArea(frame)


class CentredAtScale1Test(CentredAtScale, DesktopTestCase):
    scale = 1


class CentredAtScale15Test(CentredAtScale, DesktopTestCase):
    scale = 1.5


class CentredAtScale2Test(CentredAtScale, DesktopTestCase):
    scale = 2


class WindowSystemChoiceTest(DesktopTestCase):
    """The choice of window system, as a table over the environments users start Qorin in
    (tests/ui/window_system_choice_test.cpp, built beside the program), run with this
    session's X display."""

    def test_platform_follows_the_session(self):
        build = os.path.dirname(os.path.dirname(qorin_driver.QORIN))
        program = os.path.join(build, "tests", "ui", "window_system_choice_test")
        result = subprocess.run([program], env=self.session.env, capture_output=True,
                                timeout=START)
        self.assertEqual(result.returncode, 0, result.stdout.decode("utf-8", "replace"))


class StartUpFailureTest(unittest.TestCase):
    """Without a usable display the program says so in one line and ends with status 1."""

    def run_without_display(self, **env):
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        environment.update(env)
        result = subprocess.run([qorin_driver.QORIN], env=environment, capture_output=True, timeout=START)
        return result.returncode, result.stderr.decode("utf-8", "replace")

    def test_no_usable_display(self):
        cases = [
            ("no DISPLAY", {}, "qorin: cannot open the display: DISPLAY is not set"),
            ("a dead display", {"DISPLAY": ":" + free_display_number()},
             "qorin: cannot open the display ':{}'"),
            ("an unknown platform", {"QT_QPA_PLATFORM": "nosuchplatform"},
             "qorin: no such window system platform: 'nosuchplatform'"),
        ]
        # Wayland named by the user, with no compositor on its socket.
        runtime = tempfile.mkdtemp(prefix="qorin-runtime-")
        self.addCleanup(shutil.rmtree, runtime, ignore_errors=True)
        cases.append(("Wayland named, no compositor", {
            "QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": "wayland-qorin-none",
            "XDG_RUNTIME_DIR": runtime},
            "qorin: cannot connect to the Wayland display 'wayland-qorin-none'"))
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


if __name__ == "__main__":
    qorin_driver.run_tests(__doc__)
