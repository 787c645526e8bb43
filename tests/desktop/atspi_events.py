#!/usr/bin/python3
"""Prints the events of the given AT-SPI types (such as "object:state-changed:showing") as
they reach a screen reader: one JSON line each, with the event's type, its first detail and
the role and name of its object. Prints "ready" first, once it listens. Runs with Debian's
python3 (python3-pyatspi), in the environment of the desktop it listens to, until ended."""

import json
import sys

import pyatspi


def report(event):
    try:
        role, name = event.source.getRoleName(), event.source.name
    except Exception:  # the object went meanwhile
        role, name = None, None
    print(json.dumps({"type": str(event.type), "detail1": event.detail1, "role": role,
                      "name": name}), flush=True)


def main():
    for event_type in sys.argv[1:]:
        pyatspi.Registry.registerEventListener(report, event_type)
    print("ready", flush=True)
    pyatspi.Registry.start()


if __name__ == "__main__":
    main()
