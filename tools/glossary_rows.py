"""The glossary rows as the four chunk sources hold them, for the maintainer tools."""

import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
ROW = re.compile(r'\{u"([^"]*)", u"([^"]*)"\},')


def rows():
    """(chunk, row, headword, translation) for every row, in scan order."""
    for n in range(1, 5):
        source = ROOT / "core" / f"glossary_chunk{n}.cpp"
        for i, match in enumerate(ROW.finditer(source.read_text(encoding="utf-8")), 1):
            yield n, i, match.group(1), match.group(2)
