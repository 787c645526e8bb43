#!/usr/bin/env python3
"""The coverage report of tools/glossary-coverage: its reading of the command line, of the
frequency list and of the morphological analyser's output, which forms it takes for base
forms, and the report it writes from them."""

import importlib.machinery
import importlib.util
import pathlib
import sys
import tempfile
import unittest

TOOLS = pathlib.Path(__file__).resolve().parents[2] / "tools"
sys.path.insert(0, str(TOOLS))
_loader = importlib.machinery.SourceFileLoader("glossary_coverage",
                                               str(TOOLS / "glossary-coverage"))
_spec = importlib.util.spec_from_loader(_loader.name, _loader)
coverage = importlib.util.module_from_spec(_spec)
_loader.exec_module(coverage)

# What lt-proc writes for these forms with the Polish analyser, one unit a line.
ANALYSER_OUTPUT = """\
^droga/droga<n><f><sg><nom>/drogi<adj><f><sg><nom>$
^drogę/droga<n><f><sg><acc>$
^mówił/mówić<vblex><impf><past><p3><m><sg>$
^spojrzeć/spojrzeć<vblex><perf><inf>$
^skąd/skąd<adv><itg>/skąd<rel><adv>$
^ja/prpers<prn><p1><mf><sg><nom>$
^mną/prpers<prn><p1><mf><sg><ins>$
^ok/ok<abbr>$
^km/km<n><mi><sp><indecl>$
^john/*john$
^ludzie/ludzie<n><mp><pl><nom>$
^dobra/dobry<adj><f><sg><nom>/dobro<n><nt><sg><gen>$
"""


class ArgumentsTest(unittest.TestCase):
    def test_command_lines(self):
        cases = [
            (["list.txt"], ("list.txt", [2000, 3000, 5000])),
            (["list.txt", "--top", "500"], ("list.txt", [500])),
            (["--top", "5000", "list.txt", "--top", "300", "--top", "5000"],
             ("list.txt", [300, 5000])),
            ([], None),
            (["a.txt", "b.txt"], None),
            (["list.txt", "--top"], None),
            (["list.txt", "--top", "many"], None),
            (["list.txt", "--top", "0"], None),
            (["--help"], None),
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                self.assertEqual(coverage.parse_arguments(args), expected)


class FrequencyListTest(unittest.TestCase):
    def test_forms_keep_their_order_each_once_without_blank_lines(self):
        with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt") as f:
            f.write("nie\n\nto\n  się \nnie\nto\n")
            f.flush()
            self.assertEqual(coverage.read_forms(f.name), ["nie", "to", "się"])


class BaseFormTest(unittest.TestCase):
    def test_which_forms_are_base_forms(self):
        analyses = coverage.parse_analyses(ANALYSER_OUTPUT)
        cases = {
            "droga": True,      # noun, nominative singular
            "drogę": False,     # the same noun, accusative
            "mówił": False,     # past tense of an infinitive
            "spojrzeć": True,   # infinitive
            "skąd": True,       # uninflected word
            "ja": True,         # personal pronoun, nominative
            "mną": False,       # personal pronoun, instrumental
            "ok": False,        # abbreviation
            "km": False,        # unit, no vowel
            "john": False,      # unknown to the analyser: a name
            "ludzie": True,     # plural-only lemma
            "dobra": False,     # inflected adjective or noun, never a lemma
        }
        self.assertEqual(set(analyses), set(cases))
        for form, expected in cases.items():
            with self.subTest(form=form):
                self.assertEqual(coverage.is_base_form(form, analyses[form]), expected)

    def test_unknown_form_has_no_analysis(self):
        self.assertEqual(coverage.parse_analyses("^xyz/*xyz$")["xyz"], [])
        self.assertFalse(coverage.is_base_form("xyz", []))

    def test_analyser_input_escapes_its_reserved_characters(self):
        self.assertEqual(coverage.analyser_input(["droga", "a/b", "x^y$", "<c>"]),
                         "droga\na\\/b\nx\\^y\\$\n\\<c\\>\n")


class ReportTest(unittest.TestCase):
    FORMS = ["ja", "mną", "droga", "drogę", "ok", "skąd", "john", "spojrzeć"]
    HEADWORDS = {"ja", "ok"}

    def test_counts_and_lists(self):
        analyses = coverage.parse_analyses(ANALYSER_OUTPUT)
        lines = coverage.report(self.FORMS, self.HEADWORDS, [2, 4, 8], analyses)
        self.assertEqual(lines, [
            "1 of the 2 most frequent Polish word forms are headwords (50.0 %).",
            "1 of the 4 most frequent Polish word forms are headwords (25.0 %).",
            "2 of the 8 most frequent Polish word forms are headwords (25.0 %).",
            "Missing from the 2, most frequent first (1):",
            "  mną",
            "Missing base forms a learner's dictionary would list, ranks 1 to 4 "
            "(1 of 3 missing forms):",
            "  droga",
            "Missing base forms a learner's dictionary would list, ranks 5 to 8 "
            "(2 of 3 missing forms):",
            "  skąd spojrzeć",
        ])

    def test_a_top_past_the_end_of_the_list_counts_what_there_is(self):
        lines = coverage.report(self.FORMS, self.HEADWORDS, [100], None)
        self.assertEqual(lines[0],
                         "2 of the 8 most frequent Polish word forms are headwords (25.0 %).")
        self.assertEqual(len(lines), 3)

    def test_without_the_analyser_the_base_forms_are_said_to_be_missing(self):
        lines = coverage.report(self.FORMS, self.HEADWORDS, [2, 4], None)
        self.assertEqual(lines[-1],
                         "Base forms: the analyser of apertium-pol-szl is not installed.")


if __name__ == "__main__":
    unittest.main()
