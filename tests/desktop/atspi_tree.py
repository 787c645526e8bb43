#!/usr/bin/python3
"""Prints the accessible tree of one application on the accessibility bus as JSON, or
exits with status 1 when no application of that name is registered. Each object that has a
place on the screen carries it as "extents": x, y, width and height in the program's logical
pixels. Without an argument, prints the names of the registered applications. Runs with
Debian's python3 (python3-pyatspi), in the environment of the desktop it reads."""

import json
import sys

import pyatspi

# The states a screen reader's user hears about; AT-SPI has many more.
STATES = {"active", "editable", "focusable", "focused", "multi-line", "read-only", "showing",
          "single-line", "visible"}


def node(accessible):
    states = (pyatspi.stateToString(s).replace(" ", "-")
              for s in accessible.getState().getStates())
    result = {
        "role": accessible.getRoleName(),
        "name": accessible.name,
        "description": accessible.description,
        "states": sorted(s for s in states if s in STATES),
        "children": [],
    }
    try:
        extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        result["extents"] = [extents.x, extents.y, extents.width, extents.height]
    except NotImplementedError:
        pass
    try:
        text = accessible.queryText()
        result["text"] = text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            result["children"].append(node(child))
    return result


def main():
    applications = [a for a in pyatspi.Registry.getDesktop(0) if a is not None]
    if len(sys.argv) < 2:
        json.dump([a.name for a in applications], sys.stdout)
        return 0
    for application in applications:
        if application.name == sys.argv[1]:
            json.dump(node(application), sys.stdout)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
