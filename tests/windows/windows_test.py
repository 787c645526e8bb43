#!/usr/bin/python3
"""Qorin for Windows, tested under Wine on Linux (Debian's wine64, on Xvfb with openbox and
the tint2 taskbar), not on a Windows machine: the unit suites cross-built and run under Wine;
the lower-casing of every code point compared with the Linux build's; the version resource
and the icon read back from Qorin.exe; and the zip unpacked into a fresh Wine prefix, with
nothing else of Qt on any path, its Qorin.exe driven as a person would, through the same
driver and window watcher as the Linux desktop tests; and the setup program run silently in a
fresh prefix, twice, the installed Qorin.exe used, and the uninstaller run silently.

Every process the tests start is ended when they end, also on failure: the desktop session's
own, and Wine's (its server and services, ended with `wineserver -k` for each prefix).

Usage: windows_test.py WINDOWS-BUILD LINUX-BUILD [unittest options]
Set QORIN_SCREENSHOTS to a folder to keep screenshots of the splash, the main window and About.
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, "tests", "desktop"))
import pefile  # noqa: E402

from qorin_driver import (  # noqa: E402
    A_FIELD, ABOUT_CLIENT_AT, ABOUT_SIZE, SETTLE, SPLASH_SIZE, DesktopTestCase, Qorin,
    cache_value)
from xsession import wait_until  # noqa: E402

# The version, from the Windows build's CMake cache (set by main()): its four numbers, as the
# resource's strings spell it (the minor number in two digits, patch and tweak in two each:
# "1.02.0304" for 1.2.3.4), and the names of what ships.
VERSION = VERSION_TEXT = NAME = SETUP = None
LARGEST_ZIP = 15 * 1024 * 1024
WINDOWS_BUILD = LINUX_BUILD = None  # set by main()


class WinePrefix:
    """A fresh 64-bit Wine prefix in a folder of its own; close() ends every Wine process of
    it and removes it. Wine's menu builder is off, so a shortcut made in the prefix does not
    reach the desktop menu of the machine running the tests."""

    def __init__(self, env):
        self.path = tempfile.mkdtemp(prefix="qorin-wine-")
        self.env = dict(env, WINEPREFIX=self.path, WINEARCH="win64", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        try:
            subprocess.run([os.path.join(SOURCE, "packaging", "windows", "prepare-wine-prefix"),
                            self.path], env=self.env, check=True, timeout=300)
        except BaseException:
            self.close()
            raise

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, check=False, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=60)
        shutil.rmtree(self.path, ignore_errors=True)


class WineQorin(Qorin):
    """Qorin.exe under Wine, seen from outside as the Linux program is, but for two ways in
    which Wine differs (both seen here). Typed in one burst, a Polish letter sometimes lost
    its AltGr ("Kapac sie"): each key is pressed once the program has answered for the keys
    before it, AltGr held down as a person holds it. And Wine hands what a program copies to
    the X clipboard from a process of its own, as it takes in what other programs offer
    there: a marker offered just before a copy could overwrite the copy, so a field is read
    by copying it until the clipboard holds what is expected (wait_for_input,
    wait_for_output). In a fresh prefix, a first copy whose text had Polish letters never
    reached the X clipboard at all, while one of plain letters did, and every copy after it:
    each test that reads a field reads a plain word first.

    Nor does Wine's UI Automation tell another program where a window's objects lie (it
    answers a field's name, not its bounding rectangle): the fields are reached as a keyboard
    user reaches them, A having the focus from the start and Tab moving between A and B, and
    the first menu is clicked at the top left of the window's client area, where a menu bar
    begins."""

    tells_places = False

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self._focused = A_FIELD  # where the main window's keyboard focus is

    def focus(self, field):
        if field != self._focused:
            self.session.key("Tab")
            self._focused = field

    def first_menu_point(self):
        x, y, _, _ = self.client()
        return x + 8 * self.scale, y + 8 * self.scale

    # The Polish letters on the Polish keyboard: AltGr with these keys, and Shift for capitals.
    ALTGR_KEYS = {"ą": "a", "ć": "c", "ę": "e", "ł": "l", "ń": "n", "ó": "o", "ś": "s", "ź": "x",
                  "ż": "z"}

    def type_into_input(self, text):
        self.focus(A_FIELD)
        self.session.key("ctrl+a")
        for character in text:
            self.session.handled(self.main)
            key = self.ALTGR_KEYS.get(character.lower())
            if key is None:
                self.session.type(character)
                continue
            # As a person types it: AltGr (and Shift) held, the key pressed, both let go.
            modifiers = ["ISO_Level3_Shift"] + (["Shift_L"] if character.isupper() else [])
            for step in (["keydown", *modifiers], ["key", key], ["keyup", *modifiers]):
                self.session.run_tool("xdotool", *step)
                self.session.handled(self.main)

    offers_marker = False

    def wait_for_input(self, expected):
        wait_until(lambda: self.input() == expected, SETTLE, f"A to hold {expected!r}",
                   interval=0.2)


class WineTestCase(DesktopTestCase):
    """A desktop session and a fresh Wine prefix for each test class."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        try:
            cls.prefix = WinePrefix(cls.session.env)
        except BaseException:
            super().tearDownClass()
            raise
        cls.session.env.update(cls.prefix.env)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()
        super().tearDownClass()

    def run_windows(self, *argv, timeout=600):
        """Runs a program of the Windows build under Wine as CTest does, with the kit's DLLs
        on its path; returns (status, output)."""
        result = subprocess.run([*emulator(), *argv], env=self.session.env, timeout=timeout,
                                capture_output=True)
        return result.returncode, (result.stdout + result.stderr).decode("utf-8", "replace")


def emulator():
    """The command CTest runs the Windows build's programs with, from the build's cache."""
    return cache_value(WINDOWS_BUILD, "CMAKE_CROSSCOMPILING_EMULATOR").split(";")


class UnitSuiteTest(WineTestCase):
    window_manager = False

    def test_unit_suites_pass_under_wine(self):
        result = subprocess.run(
            ["ctest", "--test-dir", WINDOWS_BUILD, "--output-on-failure", "-j", "2",
             "--timeout", "600"],
            env=self.session.env, capture_output=True, timeout=1800)
        output = (result.stdout + result.stderr).decode("utf-8", "replace")
        self.assertEqual(result.returncode, 0, output[-6000:])
        self.assertRegex(output, r"100% tests passed, 0 tests failed out of [1-9]")

    def test_every_code_point_is_lower_cased_as_on_linux(self):
        linux = subprocess.run([os.path.join(LINUX_BUILD, "tests", "core", "lower_case_table")],
                               capture_output=True, check=True, timeout=300).stdout.decode()
        status, windows = self.run_windows(os.path.join(WINDOWS_BUILD, "lower_case_table.exe"))
        self.assertEqual(status, 0, windows[-2000:])
        linux_lines = linux.splitlines()
        windows_lines = windows.replace("\r\n", "\n").splitlines()
        self.assertEqual(linux_lines[-1], "tried 1114112 code points")
        # The table is ICU's: A, the Polish Ą and Ż, Greek Σ, Deseret 𐐀 (a surrogate pair).
        for line in ("0041 0061", "0104 0105", "017B 017C", "03A3 03C3", "10400 D801 DC28"):
            self.assertIn(line, linux_lines)
        self.assertGreater(len(linux_lines), 1000)
        self.assertEqual(windows_lines, linux_lines)


class PeFileTestCase(unittest.TestCase):
    """Reads the resources of a Windows program of the build, as pefile finds them."""

    @staticmethod
    def path():
        """The program, relative to the Windows build."""
        raise NotImplementedError

    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(os.path.join(WINDOWS_BUILD, cls.path()))

    def assertFixedVersion(self, version):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        numbers = (version[0] << 16 | version[1], version[2] << 16 | version[3])
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), numbers)
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS), numbers)

    def string_tables(self):
        return [table for info in self.pe.FileInfo[0] if info.Key == b"StringFileInfo"
                for table in info.StringTable]

    def resources(self, kind):
        for entry in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if entry.id == pefile.RESOURCE_TYPE[kind]:
                for name in entry.directory.entries:
                    for language in name.directory.entries:
                        data = language.data.struct
                        yield name.id, self.pe.get_data(data.OffsetToData, data.Size)

    def assertIconIsQorins(self):
        """The program's icon group holds one image, 32 by 32 pixels in 256 colours, the very
        image of the icon file that the main window shows."""
        groups = list(self.resources("RT_GROUP_ICON"))
        self.assertEqual(len(groups), 1)
        _, group = groups[0]
        _, _, count = struct.unpack_from("<HHH", group)
        self.assertEqual(count, 1)
        width, height, colours, _, _, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((width, height, colours, bits), (32, 32, 0, 8))  # 0: 256 colours
        images = dict(self.resources("RT_ICON"))
        with open(os.path.join(SOURCE, "assets", "qorin.ico"), "rb") as f:
            ico = f.read()
        _, _, ico_count = struct.unpack_from("<HHH", ico)
        self.assertEqual(ico_count, 1)
        size, offset = struct.unpack_from("<II", ico, 6 + 8)
        self.assertEqual(images[icon_id], ico[offset:offset + size])
        with open(os.path.join(SOURCE, "ui", "tavrin.cpp")) as f:
            self.assertIn('":/assets/qorin.ico"', f.read())


class VersionResourceTest(PeFileTestCase):
    """The version resource and the icon, read back from the Qorin.exe that ships."""

    @staticmethod
    def path():
        return os.path.join(NAME, "Qorin.exe")

    def test_fixed_version_numbers(self):
        self.assertFixedVersion(VERSION)

    def test_one_us_english_unicode_string_table(self):
        tables = self.string_tables()
        self.assertEqual([t.LangID.lower() for t in tables], [b"040904b0"])
        strings = {k.decode(): v.decode() for k, v in tables[0].entries.items()}
        expected = {"FileVersion": VERSION_TEXT, "ProductVersion": VERSION_TEXT,
                    "FileDescription": "Tavrin", "ProductName": "Tavrin",
                    "InternalName": "Qorin", "OriginalFilename": "Qorin.exe"}
        for key, value in expected.items():
            self.assertEqual(strings.get(key), value, key)
        translations = [var.entry for info in self.pe.FileInfo[0] if info.Key == b"VarFileInfo"
                        for var in info.Var]
        self.assertEqual(translations, [{b"Translation": "0x0409 0x04b0"}])

    def test_icon_is_the_main_windows_icon_at_32_by_32_in_256_colours(self):
        self.assertIconIsQorins()


class SetupProgramTest(PeFileTestCase):
    """The setup program's own resources: version, icon, and the manifest that keeps Windows
    from asking for administrator rights."""

    @staticmethod
    def path():
        return SETUP

    def test_version_is_the_programs(self):
        self.assertFixedVersion(VERSION)
        tables = self.string_tables()
        self.assertEqual(len(tables), 1)
        strings = {k.decode(): v.decode() for k, v in tables[0].entries.items()}
        dotted = "%d.%d.%d.%d" % VERSION
        self.assertEqual(strings.get("ProductName"), "Qorin")
        self.assertEqual(strings.get("ProductVersion"), dotted)
        self.assertEqual(strings.get("FileVersion"), dotted)
        self.assertEqual(strings.get("OriginalFilename"), SETUP)

    def test_icon_is_qorins(self):
        self.assertIconIsQorins()

    def test_runs_as_the_user_who_starts_it(self):
        manifests = [data for _, data in self.resources("RT_MANIFEST")]
        self.assertEqual(len(manifests), 1)
        levels = re.findall(rb'requestedExecutionLevel\s+level="(\w+)"', manifests[0])
        self.assertEqual(levels, [b"asInvoker"])

    def test_is_a_64_bit_program(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"])


class ZipTest(unittest.TestCase):
    def test_zip_holds_the_folder_and_nothing_else(self):
        folder = os.path.join(WINDOWS_BUILD, NAME)
        on_disk = sorted(os.path.relpath(os.path.join(d, f), WINDOWS_BUILD)
                         for d, _, files in os.walk(folder) for f in files)
        with zipfile.ZipFile(folder + ".zip") as archive:
            in_zip = sorted(n for n in archive.namelist() if not n.endswith("/"))
            self.assertIsNone(archive.testzip())
        self.assertEqual(in_zip, on_disk)
        self.assertLessEqual(os.path.getsize(folder + ".zip"), LARGEST_ZIP)
        names = {os.path.relpath(p, NAME) for p in on_disk}
        self.assertIn("Qorin.exe", names)
        self.assertIn("LICENSE.txt", names)
        self.assertIn("licenses/Qt-LGPL-3.txt", names)
        self.assertIn("licenses/README.txt", names)


class ProgramTest(WineTestCase):
    """The zip unpacked into the prefix's drive C: and its Qorin.exe used as a person would."""

    panel = True  # a taskbar, as on a desktop

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        drive_c = os.path.join(cls.prefix.path, "drive_c")
        with zipfile.ZipFile(os.path.join(WINDOWS_BUILD, NAME + ".zip")) as archive:
            archive.extractall(drive_c)
        cls.folder = os.path.join(drive_c, NAME)
        cls.exe = os.path.join(cls.folder, "Qorin.exe")

    def start_qorin(self, env=None):
        qorin = WineQorin(self.session, path=self.exe, launcher=["wine"], env=env)
        self.addCleanup(qorin.stop)
        return qorin

    def assertOffTaskbar(self, window, log):
        """No taskbar button: Wine maps a tool window that is not activated as an override-
        redirect window, which no taskbar lists, and asks the window manager to skip an
        activated one."""
        created = [d for e, w, d in log.snapshot() if e == "create" and w == window]
        override_redirect = bool(created) and created[0][4]
        if not override_redirect:
            self.assertIn("_NET_WM_STATE_SKIP_TASKBAR",
                          self.session.requested_atoms(window, "_NET_WM_STATE"))

    def test_loads_exactly_the_dlls_and_plugins_of_its_folder(self):
        env = dict(self.session.env, WINEDEBUG="+loaddll")
        qorin = self.start_qorin(env=env)
        qorin.menu("File", "Exit")
        self.assertEqual(qorin.program.wait(SETTLE), 0)
        # Wine's trace of every module it loads from a file, as opposed to its own builtin
        # ones, with the backslashes of the path doubled.
        loaded = [path.replace("\\\\", "/").lower() for path in re.findall(
            r'Loaded L"([^"]+)" at \w+: native', self.session.log_text("qorin"))]
        folder = "c:/" + NAME.lower() + "/"
        shipped = [folder + os.path.relpath(os.path.join(d, f), self.folder).lower()
                   for d, _, files in os.walk(self.folder) for f in files
                   if f.endswith((".dll", ".exe"))]
        self.assertEqual(sorted(loaded), sorted(shipped))

    def test_splash_then_main_window(self):
        with self.session.watching_windows() as log:
            qorin = self.start_qorin()
            self.screenshot("windows-main")
        # Wine maps a window that is shown without being activated, as the splash is, as an
        # override-redirect window: the window manager does not manage it.
        splashes = [w for w in log.created(size=SPLASH_SIZE, override_redirect=True)
                    + log.created(size=SPLASH_SIZE) if log.index("map", w) is not None]
        self.assertEqual(len(splashes), 1, log.snapshot())
        splash = splashes[0]
        (x, y, width, height, _), = [d for e, w, d in log.snapshot()
                                     if e == "create" and w == splash]
        work = self.session.work_area()
        self.assertAlmostEqual(x + width / 2, work.centre[0], delta=1)
        self.assertAlmostEqual(y + height / 2, work.centre[1], delta=1)
        self.assertLess(log.index("map", splash), log.index("reparent", qorin.main))
        self.assertIsNotNone(log.index("destroy", splash) or log.index("unmap", splash))
        self.assertFalse(self.session.is_viewable(splash))
        self.assertOffTaskbar(splash, log)
        self.assertFalse(self.session.requested_text(splash, "WM_NAME"))
        # The main window: a title bar with minimise and close, no maximise, a fixed size,
        # its frame in the middle of the work area.
        self.assertNotIn("_NET_WM_STATE_SKIP_TASKBAR", self.session.atoms(qorin.main,
                                                                          "_NET_WM_STATE"))
        actions = self.session.atoms(qorin.main, "_NET_WM_ALLOWED_ACTIONS")
        self.assertIn("_NET_WM_ACTION_MINIMIZE", actions)
        self.assertIn("_NET_WM_ACTION_CLOSE", actions)
        self.assertNotIn("_NET_WM_ACTION_MAXIMIZE_HORZ", actions)
        self.assertNotIn("_NET_WM_ACTION_RESIZE", actions)
        frame = self.session.frame_rect(qorin.main)
        work = self.session.work_area()
        # Windows centres its own frame, which Wine hands to the window manager to draw: the
        # two frames differ by a few pixels.
        for axis in (0, 1):
            self.assertAlmostEqual(frame.centre[axis], work.centre[axis], delta=6,
                                   msg=f"frame {frame}, work area {work}")

    def test_typed_words_are_translated(self):
        qorin = self.start_qorin()
        # The focus is in A from the start: typed straight away, a word lands there.
        self.session.type("kot")
        qorin.wait_for_output("el gato")
        qorin.wait_for_input("kot")
        for typed, translation in [("kot", "el gato"), ("Kąpać się", "bańarse"),
                                   ("ŻOŁĄDEK", "el estómago")]:
            with self.subTest(typed=typed):
                qorin.type_into_input(typed)
                qorin.wait_for_input(typed)
                qorin.wait_for_output(translation)

    def test_about_at_its_place_with_the_focus_and_a_key_closes_it(self):
        qorin = self.start_qorin()
        with self.session.watching_windows() as log:
            about = qorin.open_about()
        x, y, width, height = self.session.geometry(about)
        self.assertEqual((width, height), ABOUT_SIZE)
        self.assertEqual((x + 1, y + 1), ABOUT_CLIENT_AT)  # inside its one-pixel border
        wait_until(lambda: self.session.focused_window() != qorin.main
                   and self.session.focused_window() != 0, SETTLE, "About to take the focus")
        self.assertOffTaskbar(about, log)
        self.screenshot("windows-about")
        self.session.type("x")
        wait_until(lambda: not self.session.is_viewable(about), SETTLE, "About to close")
        # The key did not reach A; the main window has the keys again.
        wait_until(lambda: self.session.focused_window() == qorin.main, SETTLE,
                   "the main window to have the focus again")
        self.session.type("kot")
        qorin.wait_for_output("el gato")
        qorin.wait_for_input("kot")

    def test_file_exit_ends_with_status_0(self):
        qorin = self.start_qorin()
        qorin.open_about()
        qorin.menu("File", "Exit")
        self.assertEqual(qorin.program.wait(SETTLE), 0)

    def test_closing_the_main_window_ends_the_program(self):
        qorin = self.start_qorin()
        about = qorin.open_about()
        self.session.run_tool("wmctrl", "-i", "-c", str(qorin.main))
        self.assertEqual(qorin.program.wait(SETTLE), 0)
        self.assertFalse(self.session.is_viewable(about))


def read_shortcut(path):
    """The target, working folder and icon (path, index) of a Windows shortcut (.lnk), read as
    the shell link format lays them out: a header, an optional item list, the link info with
    the target's local path, then counted strings, in UTF-16 when the header says so."""
    with open(path, "rb") as f:
        data = f.read()
    header_size, = struct.unpack_from("<I", data)
    flags, = struct.unpack_from("<I", data, 0x14)
    icon_index, = struct.unpack_from("<i", data, 0x38)
    at = header_size
    if flags & 0x01:  # an item list of the target, of which only the size is needed here
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x02:  # link info
        info_size, _, _, _, local_path_at = struct.unpack_from("<IIIII", data, at)
        end = data.index(b"\0", at + local_path_at)
        target = data[at + local_path_at:end].decode("latin-1")
        at += info_size
    strings = {}
    for bit, name in ((0x04, "name"), (0x08, "relative path"), (0x10, "working folder"),
                      (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count, = struct.unpack_from("<H", data, at)
            width = 2 if flags & 0x80 else 1
            raw = data[at + 2:at + 2 + count * width]
            # Wine counts a closing NUL that Windows leaves out.
            strings[name] = raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
            at += 2 + count * width
    return target, strings.get("working folder"), (strings.get("icon"), icon_index)


def registry_keys(prefix):
    """Every key of the prefix's registry files (its user and machine hives, written out when
    its Wine server ends), and the lines of values that name Qorin."""
    keys, qorin = set(), []
    for hive in ("user.reg", "system.reg"):
        with open(os.path.join(prefix, hive), encoding="utf-8", errors="replace") as f:
            for line in f:
                if line.startswith("["):
                    keys.add(hive + ":" + line[1:line.index("]")])
                elif "qorin" in line.lower():
                    qorin.append(line.strip())
    return keys, qorin


def drive_c_tree(prefix):
    """Every file and folder on the prefix's drive C:, as paths relative to it."""
    drive_c = os.path.join(prefix, "drive_c")
    tree = set()
    for directory, subdirs, files in os.walk(drive_c):
        relative = os.path.relpath(directory, drive_c)
        tree.update(os.path.normpath(os.path.join(relative, n)) for n in subdirs + files)
    return tree


class InstallerTest(WineTestCase):
    """The setup program run silently in a fresh prefix, then again over the installed copy;
    the files, the Start-menu shortcut and the entry in the list of installed programs
    checked; the installed Qorin.exe used; the uninstaller run silently, as the list of
    installed programs runs it, and the prefix checked for anything left behind."""

    UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Qorin"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        users = os.path.join(cls.prefix.path, "drive_c", "users")
        user, = [u for u in os.listdir(users) if u != "Public"]
        cls.temporary = os.path.join("users", user, "Temp")
        cls.home = "C:\\users\\" + user
        cls.folder = os.path.join(users, user, "AppData", "Local", "Programs", "Qorin")
        cls.shortcut = os.path.join(users, user, "AppData", "Roaming", "Microsoft", "Windows",
                                    "Start Menu", "Programs", "Qorin.lnk")
        cls.windows_folder = cls.home + r"\AppData\Local\Programs\Qorin"

    def wine(self, *argv):
        result = subprocess.run(["wine", *argv], env=self.session.env, timeout=300,
                                capture_output=True)
        return result.returncode

    def wait_for_wine_to_end(self):
        """Waits until every process of the prefix has ended and its Wine server has written
        the registry out: an uninstaller hands its work to a copy of itself and returns."""
        subprocess.run(["wineserver", "-w"], env=self.session.env, timeout=300, check=True)

    def entry(self):
        """The values of Qorin's entry in the list of installed programs, or None."""
        result = subprocess.run(["wine", "reg", "query", self.UNINSTALL_KEY],
                                env=self.session.env, timeout=60, capture_output=True)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            parts = line.strip().split("    ")
            if len(parts) == 3:
                values[parts[0]] = parts[2]
        return values

    def test_install_twice_use_and_remove(self):
        self.wait_for_wine_to_end()
        tree_before = drive_c_tree(self.prefix.path)
        keys_before, named_before = registry_keys(self.prefix.path)
        self.assertEqual(named_before, [])
        setup = os.path.join(WINDOWS_BUILD, SETUP)
        for attempt in ("into a fresh prefix", "over the installed copy"):
            with self.subTest(install=attempt):
                self.assertEqual(self.wine(setup, "/S"), 0)
                self.wait_for_wine_to_end()
                self.check_installed_files()
        with self.subTest("shortcut"):
            self.check_shortcut()
        with self.subTest("entry"):
            entry = self.entry()
            self.check_entry(entry)
        with self.subTest("the installed program"):
            self.use_installed_program()
        with self.subTest("uninstalling"):
            self.wait_for_wine_to_end()
            uninstaller, switch = entry["QuietUninstallString"].rsplit(" ", 1)
            self.assertEqual(self.wine(uninstaller.strip('"'), switch), 0)
            self.wait_for_wine_to_end()
            self.assertIsNone(self.entry())
            self.wait_for_wine_to_end()
            self.assertFalse(os.path.exists(self.folder))
            self.assertFalse(os.path.exists(self.shortcut))
            # Nothing else is left: the uninstaller's temporary copy of itself stays in the
            # user's temporary folder, as any uninstaller that removes itself leaves one.
            tree_after = drive_c_tree(self.prefix.path)
            copies = {p for p in tree_after - tree_before if re.fullmatch(
                re.escape(self.temporary) + r"/~nsu\w*\.tmp(/Un\w*\.exe)?", p)}
            self.assertEqual(tree_after - tree_before - copies, set())
            self.assertEqual(tree_before - tree_after, set())  # nothing of the user's went
            keys_after, named_after = registry_keys(self.prefix.path)
            self.assertEqual(named_after, [])
            self.assertEqual(sorted(keys_after - keys_before), [])

    def check_installed_files(self):
        shipped = os.path.join(WINDOWS_BUILD, NAME)
        expected = {os.path.relpath(os.path.join(d, f), shipped)
                    for d, _, files in os.walk(shipped) for f in files}
        installed = {os.path.relpath(os.path.join(d, f), self.folder)
                     for d, _, files in os.walk(self.folder) for f in files}
        self.assertEqual(installed, expected | {"Uninstall.exe"})
        for name in expected:
            with open(os.path.join(shipped, name), "rb") as a, \
                    open(os.path.join(self.folder, name), "rb") as b:
                self.assertTrue(a.read() == b.read(), name)

    def check_shortcut(self):
        target, working_folder, icon = read_shortcut(self.shortcut)
        exe = self.windows_folder + "\\Qorin.exe"
        self.assertEqual(target, exe)
        self.assertEqual(working_folder, self.windows_folder)
        self.assertEqual(icon, (exe, 0))

    def check_entry(self, entry):
        self.assertIsNotNone(entry)
        exe = self.windows_folder + "\\Qorin.exe"
        uninstaller = self.windows_folder + "\\Uninstall.exe"
        self.assertEqual(entry.get("DisplayName"), "Qorin")
        self.assertEqual(entry.get("DisplayVersion"), "%d.%d.%d.%d" % VERSION)
        self.assertEqual(entry.get("Publisher"), "The Qorin team")
        self.assertEqual(entry.get("DisplayIcon"), exe + ",0")
        self.assertEqual(entry.get("InstallLocation"), self.windows_folder)
        self.assertEqual(entry.get("UninstallString"), '"%s"' % uninstaller)
        self.assertEqual(entry.get("QuietUninstallString"), '"%s" /S' % uninstaller)
        # The size in KiB: the installed folder, within a few KiB.
        size = sum(os.path.getsize(os.path.join(d, f))
                   for d, _, files in os.walk(self.folder) for f in files)
        uninstaller_size = os.path.getsize(os.path.join(self.folder, "Uninstall.exe"))
        self.assertAlmostEqual(int(entry.get("EstimatedSize", "0"), 16) * 1024,
                               size - uninstaller_size, delta=64 * 1024)

    def use_installed_program(self):
        qorin = WineQorin(self.session, path=os.path.join(self.folder, "Qorin.exe"),
                          launcher=["wine"])
        self.addCleanup(qorin.stop)
        self.session.type("kot")
        qorin.wait_for_output("el gato")
        qorin.wait_for_input("kot")
        qorin.type_into_input("Kąpać się")
        qorin.wait_for_input("Kąpać się")
        qorin.wait_for_output("bańarse")
        self.screenshot("windows-installed")
        qorin.menu("File", "Exit")
        self.assertEqual(qorin.program.wait(SETTLE), 0)


def main():
    global WINDOWS_BUILD, LINUX_BUILD, VERSION, VERSION_TEXT, NAME, SETUP
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    WINDOWS_BUILD = os.path.abspath(sys.argv.pop(1))
    LINUX_BUILD = os.path.abspath(sys.argv.pop(1))
    dotted = cache_value(WINDOWS_BUILD, "CMAKE_PROJECT_VERSION")
    VERSION = tuple(int(n) for n in dotted.split("."))
    VERSION_TEXT = "%d.%02d.%02d%02d" % VERSION
    NAME = f"Qorin-{dotted}-win64"
    SETUP = f"Qorin-{dotted}-setup.exe"
    unittest.main(module="__main__", verbosity=2)


if __name__ == "__main__":
    main()
