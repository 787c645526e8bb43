#!/usr/bin/python3
"""The built program on a real X server as a screen reader and a dense screen see it: its
accessible tree read over the desktop's accessibility bus (AT-SPI) while it is driven with
the keyboard and the mouse, and its pictures on the screen at one and two device pixels to
the logical pixel.

Usage: accessibility_test.py PATH-TO-QORIN [unittest options]
Set QORIN_SCREENSHOTS to a folder to keep the accessible trees and screenshots of each
test's key moments.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qorin_driver as desktop  # noqa: E402
from atspi import format_tree, listen, start_accessibility, wait_for_tree, walk  # noqa: E402
from xsession import wait_until  # noqa: E402
from qorin_driver import A_FIELD, ABOUT_CLIENT_AT, LONGEST_INPUT, SETTLE  # noqa: E402

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")


def windows(tree):
    """The application's windows: (role, name) of each, in order."""
    return [(w["role"], w["name"]) for w in tree["children"]]


def named(tree, role, name):
    found = [n for n in walk(tree) if n["role"] == role and n["name"] == name]
    return found[0] if len(found) == 1 else None


class AccessibleTreeTest(desktop.DesktopTestCase):
    """The tree a screen reader reads: both windows listed with their roles, names and
    descriptions, the fields named for their languages, no hidden button, the translation
    readable as text, and the note of a refused paste as an alert."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        start_accessibility(cls.session)

    def tree(self, condition, what):
        return wait_for_tree(self.session, "Qorin", condition, SETTLE, what)

    def keep(self, name, tree):
        folder = os.environ.get("QORIN_SCREENSHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, name + ".txt"), "w") as f:
                f.write(format_tree(tree) + "\n")
        self.screenshot(name)

    def test_main_window(self):
        self.start_qorin()
        tree = self.tree(lambda t: windows(t) == [("frame", "Tavrin Qorin")],
                         "the main window, alone")
        self.keep("accessible-main", tree)
        main = tree["children"][0]
        self.assertIn("showing", main["states"])

        fields = [n for n in walk(main) if n["role"] == "text"]
        self.assertEqual([f["name"] for f in fields], ["Polish word", "Spanish translation"])
        polish, spanish = fields
        for field in fields:
            self.assertGreater(len(field["description"]), len(field["name"]), field)
            self.assertIn("showing", field["states"])
            self.assertIn("focusable", field["states"])
        self.assertIn("editable", polish["states"])
        self.assertIn("focused", polish["states"])
        self.assertIn("read-only", spanish["states"])
        self.assertNotIn("editable", spanish["states"])
        self.assertEqual(polish["text"], "")
        self.assertEqual(spanish["text"], "")

        # The hidden button is nowhere, nor anything else that can be pressed.
        self.assertEqual([n for n in walk(tree) if n["role"] == "push button"], [])

        bar = [n for n in walk(main) if n["role"] == "menu bar"]
        self.assertEqual(len(bar), 1)
        for title, item in (("File", "Exit"), ("Help", "About")):
            with self.subTest(menu=title):
                entry = named(bar[0], "menu item", title)
                self.assertIsNotNone(entry)
                menu = [c for c in entry["children"] if c["role"] == "popup menu"]
                self.assertEqual(len(menu), 1)
                self.assertEqual(menu[0]["name"], title)
                self.assertTrue(menu[0]["description"].startswith(item + " "))
                self.assertEqual([(c["role"], c["name"]) for c in menu[0]["children"]],
                                 [("menu item", item)])

    def test_translation_is_read_through_the_tree(self):
        qorin = self.start_qorin()
        for typed, translation in (("Kąpać się", "bańarse"), ("obok", "cerca de"),
                                   ("kotx", "")):
            with self.subTest(typed=typed):
                qorin.type_into_input(typed)
                tree = self.tree(
                    lambda t: (named(t, "text", "Polish word") or {}).get("text") == typed
                    and (named(t, "text", "Spanish translation") or {}).get("text")
                    == translation,
                    f"the tree to read {typed!r} and {translation!r}")
                if translation:
                    self.keep("accessible-typed", tree)

    def test_about_window_is_listed_while_open(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        tree = self.tree(lambda t: ("dialog", "About Qorin") in windows(t),
                         "the About window in the tree")
        self.keep("accessible-about", tree)
        self.assertEqual(windows(tree), [("frame", "Tavrin Qorin"), ("dialog", "About Qorin")])
        dialog = tree["children"][1]
        self.assertIn("showing", dialog["states"])
        self.assertIn("version " + desktop.project_version(), dialog["description"])
        self.assertEqual(dialog["children"], [])

        self.session.key("Escape")
        self.assertGone(qorin, about)
        self.tree(lambda t: windows(t) == [("frame", "Tavrin Qorin")],
                  "the About window to leave the tree")

    def test_a_refused_paste_is_told_as_an_alert(self):
        qorin = self.start_qorin()
        heard = listen(self.session, "object:state-changed:showing")
        self.session.set_clipboard("kot " * (LONGEST_INPUT // 2))
        qorin.focus(A_FIELD)
        self.session.key("ctrl+v")
        tree = self.tree(lambda t: any(n["role"] == "alert" and "showing" in n["states"]
                                       for n in walk(t)),
                         "a note that the field is full, as an alert")
        self.keep("accessible-alert", tree)
        # Inside the main window, not a window of its own.
        self.assertEqual(windows(tree), [("frame", "Tavrin Qorin")])
        alert = [n for n in walk(tree) if n["role"] == "alert"][0]
        self.assertIn(f"{LONGEST_INPUT:,}", alert["name"])
        self.assertNotIn("focusable", alert["states"])
        # A screen reader is told that the alert shows, and speaks it.
        wait_until(lambda: any(e["role"] == "alert" and e["detail1"] == 1
                               and e["name"] == alert["name"] for e in heard.events()),
                   SETTLE, "the alert's showing to be announced")


def rgb(session, image, crop=None):
    """The pixels of a picture file (or of a part of it) as bytes, three to a pixel."""
    args = ["convert", image] + (["-crop", "{}x{}+{}+{}".format(*crop), "+repage"]
                                 if crop else []) + ["-depth", "8", "rgb:-"]
    return session.run_bytes(*args)


def mean_difference(a, b):
    assert len(a) == len(b), (len(a), len(b))
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


class PicturesOnScreen:
    """The About picture as it reaches the screen: each screen pixel of the About window's
    client area is the pixel of the picture made for the screen's ratio, unscaled. Mixed into
    a DesktopTestCase of a given scale."""

    picture = None

    def test_about_picture(self):
        s = self.scale
        qorin = self.start_qorin()
        # The window keeps its logical size: every length is `scale` times the design's.
        width, height = qorin.client()[2:]
        self.assertEqual(width, 474 * s)
        about = qorin.open_about()
        x, y, width, height = self.session.geometry(about)
        border = s
        self.assertEqual((x + border, y + border),
                         (ABOUT_CLIENT_AT[0] * s, ABOUT_CLIENT_AT[1] * s))
        self.assertEqual((width, height), (280 * s, 212 * s))

        shot = os.path.join(self.session.env["HOME"], "screen.png")
        self.session.screenshot(shot)
        self.screenshot(f"about-at-ratio-{s}")
        client = (278 * s, 210 * s, x + border, y + border)
        shown = rgb(self.session, shot, client)
        made_for_ratio = rgb(self.session, os.path.join(ASSETS, self.picture))
        # The picture of normal resolution enlarged, as a dense screen would show it without a
        # picture of its own.
        enlarged = self.session.run_bytes(
            "convert", os.path.join(ASSETS, "about.jpg"), "-scale", f"{100 * s}%",
            "-depth", "8", "rgb:-")
        exact = mean_difference(shown, made_for_ratio)
        rough = mean_difference(shown, enlarged)
        figures = f"mean difference {exact:.3f} from {self.picture}, {rough:.3f} from enlarged"
        self.assertLess(exact, 1.0, figures)
        if s != 1:
            self.assertGreater(rough, 4 * exact + 1.0, figures)


class PicturesAtRatio1Test(PicturesOnScreen, desktop.DesktopTestCase):
    picture = "about.jpg"


class PicturesAtRatio2Test(PicturesOnScreen, desktop.DesktopTestCase):
    scale = 2
    screen = "2048x1536x24"
    picture = "about@2x.jpg"


if __name__ == "__main__":
    desktop.run_tests(__doc__)
