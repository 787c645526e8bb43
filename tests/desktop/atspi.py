"""What a screen reader is told about the programs of a DesktopSession: the desktop's
accessibility bus (AT-SPI) started for the session, and a program's accessible tree read
through it with Debian's AT-SPI client library, as a screen reader reads it.

Debian's dbus-daemon, at-spi2-core and python3-pyatspi. Every process started here is a
process of the session and ends with it; the accessibility bus itself is a child of its
launcher and ends with it.
"""

import json
import os
import shutil
import subprocess

from xsession import TimedOut, wait_until

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
REGISTRY = "/usr/libexec/at-spi2-registryd"
_LISTER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_tree.py")
_LISTENER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_events.py")


def start_accessibility(session):
    """Gives the session its own D-Bus session bus and, on it, the accessibility bus with its
    registry; Qt programs started in the session afterwards put their accessible trees on it
    (QT_LINUX_ACCESSIBILITY_ALWAYS_ON, as when a screen reader runs). Once a session."""
    if session.env.get("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") == "1":
        return
    for tool in ("dbus-daemon", BUS_LAUNCHER, REGISTRY):
        if shutil.which(tool) is None:
            raise RuntimeError(f"{tool} is missing: run scripts/install-deps")
    session.start_session_bus()
    # Started here rather than on demand by the bus, so that they are the session's own
    # processes. The launcher starts the accessibility bus at once and names it on the
    # session bus (and on an X server's root window), which is where programs look for it.
    session.start_process([BUS_LAUNCHER, "--launch-immediately"], log="at-spi-bus")
    wait_until(lambda: _bus_has_name(session, "org.a11y.Bus"), 30, "the accessibility bus")
    session.start_process([REGISTRY], log="at-spi-registry")
    wait_until(lambda: _list(session) is not None, 30, "the accessibility registry")
    session.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"


def _bus_has_name(session, name):
    result = subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
         "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name],
        env=session.env, capture_output=True, timeout=30)
    return result.returncode == 0 and b"boolean true" in result.stdout


def accessible_tree(session, application):
    """The accessible tree of the named application, as nested dicts with its role, name,
    description, states, text (of objects with text) and children; None while no such
    application is registered."""
    return _list(session, application)


def wait_for_tree(session, application, condition, timeout, what):
    """The application's tree once condition(tree) holds; on time-out the failure shows the
    tree as it was last."""
    last = []

    def ready():
        tree = accessible_tree(session, application)
        last[:] = [tree]
        return tree if tree is not None and condition(tree) else None

    try:
        return wait_until(ready, timeout, what, interval=0.2)
    except TimedOut as timed_out:
        tree = last[0] if last else None
        raise TimedOut(f"{timed_out}; the tree:\n"
                       + (format_tree(tree) if tree else "(no such application)")) from None


class EventLog:
    """The AT-SPI events of some types, in order, as a screen reader hears them, from the
    moment listen() returns: each a dict with type, detail1, role and name."""

    def __init__(self, session, log):
        self.session = session
        self.log = log

    def events(self):
        lines = self.session.log_text(self.log).splitlines()
        return [json.loads(line) for line in lines if line.startswith("{")]


def listen(session, *event_types):
    """Starts listening to the given AT-SPI event types in the session; returns an EventLog."""
    log = "atspi-events-" + "-".join(t.replace(":", "_") for t in event_types)
    session.start_process(["/usr/bin/python3", _LISTENER, *event_types], log=log)
    wait_until(lambda: "ready" in session.log_text(log), 30, "the AT-SPI event listener")
    return EventLog(session, log)


def _list(session, application=None):
    argv = ["/usr/bin/python3", _LISTER] + ([application] if application else [])
    result = subprocess.run(argv, env=session.env, capture_output=True, timeout=60)
    if result.returncode != 0:
        return None
    return json.loads(result.stdout)


def walk(node):
    """The node and all below it, depth first."""
    yield node
    for child in node["children"]:
        yield from walk(child)


def format_tree(node, depth=0):
    """The tree as indented lines, one object a line: role, name, (description), text,
    {states}."""
    line = f"{'  ' * depth}[{node['role']}] {node['name']!r}"
    if node["description"]:
        line += f" ({node['description']})"
    if "text" in node:
        line += f" text={node['text']!r}"
    line += " {" + ", ".join(node["states"]) + "}"
    return "\n".join([line] + [format_tree(child, depth + 1) for child in node["children"]])
