#!/usr/bin/python3
"""Tests of packaging/check-version: the real tree passes, and each way the version facts
can drift apart in a copy of it is found and named."""

import contextlib
import importlib.machinery
import importlib.util
import io
import pathlib
import shutil
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
_loader = importlib.machinery.SourceFileLoader("check_version",
                                               str(ROOT / "packaging" / "check-version"))
_spec = importlib.util.spec_from_loader(_loader.name, _loader)
check_version = importlib.util.module_from_spec(_spec)
_loader.exec_module(check_version)

FILES = ["CMakeLists.txt", "debian/changelog", "assets/org.example.qorin.metainfo.xml",
         "packaging/qorin.1.in"]


def problems_of(root):
    with contextlib.redirect_stdout(io.StringIO()):
        return check_version.disagreements(root)


class VersionFactsTest(unittest.TestCase):
    def setUp(self):
        self.tree = pathlib.Path(tempfile.mkdtemp(prefix="qorin-version-"))
        self.addCleanup(shutil.rmtree, self.tree)
        for name in FILES:
            (self.tree / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(ROOT / name, self.tree / name)
        self.version = check_version.project_version(ROOT)

    def edit(self, name, old, new, count=1):
        path = self.tree / name
        text = path.read_text(encoding="utf-8")
        self.assertIn(old, text, f"{name} no longer holds {old!r}: update the test")
        path.write_text(text.replace(old, new, count), encoding="utf-8")

    def test_the_tree_has_one_version(self):
        self.assertEqual(problems_of(ROOT), [])
        self.assertEqual(problems_of(self.tree), [])

    def test_drift_is_found(self):
        v = self.version
        changelog_date = check_version.changelog_entry(ROOT)[1]
        day = f"{changelog_date:%a, %d %b %Y}"
        cases = [
            ("project raised alone", "CMakeLists.txt", f"VERSION {v} ", "VERSION 9.9.9.9 ",
             ["the changelog's newest entry is", "the newest AppStream release is"]),
            ("changelog raised alone", "debian/changelog", f"qorin ({v})", "qorin (9.9.9.9)",
             ["the changelog's newest entry is 9.9.9.9"]),
            ("Debian revision added", "debian/changelog", f"qorin ({v})", f"qorin ({v}-1)",
             [f"the changelog's newest entry is {v}-1"]),
            ("release not raised", "assets/org.example.qorin.metainfo.xml",
             f'<release version="{v}"', '<release version="4.9.0.4"',
             ["the newest AppStream release is 4.9.0.4"]),
            ("release of another day", "assets/org.example.qorin.metainfo.xml",
             f'<release version="{v}" date="', f'<release version="{v}" date="1999-',
             ["the AppStream release is dated 1999-"]),
            ("changelog of another day", "debian/changelog", day, "Fri, 01 Jan 2027",
             ["the AppStream release is dated", "the manual page is not dated January 2027"]),
            ("version written into the manual page", "packaging/qorin.1.in",
             "Qorin @PROJECT_VERSION@.", f"Qorin {v}.",
             [f"the manual page names a version of its own: {v}"]),
            ("manual page header with a fixed version", "packaging/qorin.1.in",
             '"Qorin @PROJECT_VERSION@" "User', '"Qorin 4.9" "User',
             ["the manual page's header does not take its version from the build"]),
            ("changelog of another package", "debian/changelog", "qorin (", "other (",
             ["debian/changelog: not an entry of qorin"]),
            ("changelog without its trailer", "debian/changelog", " -- ", "  - ",
             ["debian/changelog: the newest entry has no trailer line"]),
            ("no release at all", "assets/org.example.qorin.metainfo.xml",
             [("<releases>", "<releases><!--"), ("</releases>", "--></releases>")],
             ["org.example.qorin.metainfo.xml: no release"]),
        ]
        for case in cases:
            name, path, *edits, expected = case
            if len(edits) == 2:
                edits = [tuple(edits)]
            else:
                edits = edits[0]
            with self.subTest(name):
                self.setUp()  # a fresh copy of the tree for each case
                for old, new in edits:
                    self.edit(path, old, new)
                found = problems_of(self.tree)
                self.assertEqual(len(found), len(expected), found)
                for problem, start in zip(found, expected):
                    self.assertIn(start, problem)


if __name__ == "__main__":
    unittest.main(verbosity=2)
