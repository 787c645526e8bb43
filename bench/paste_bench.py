#!/usr/bin/python3
"""How the program stays usable after a large paste into its input field, measured on a
real X server (Xvfb with openbox) as a user would meet it: the text is offered on the
clipboard, pasted into A with Ctrl+V, then keys are typed.

For each size it reports: how long the pasted text takes to show; the program's CPU use
while idle afterwards (5 s, from 1 s after the text shows); its memory (resident set, now
and at its peak); how long a typed key (Backspace or a letter) takes to show in A
(the field's pixels watched until the text moves); and how much of what was pasted and typed A keeps (read back
through the clipboard).

Usage: bench/paste_bench.py PATH-TO-QORIN [SIZE-IN-MB ...]     (default sizes: 1 10)
Figures go in docs/performance.md; nothing here passes or fails.
"""

import os
import statistics
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "desktop"))
from qorin_driver import A_FIELD, Qorin  # noqa: E402
from xsession import DesktopSession, TimedOut  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
LONG_WAIT = 300  # s: what "never" is cut off at


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def memory_kib(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def field_pixels(session, qorin):
    """The pixels of A, as 32-bit values per row, from an xwd dump of the main window."""
    data = session.run_bytes("xwd", "-silent", "-id", str(qorin.main))
    header_size, = struct.unpack(">I", data[0:4])
    bytes_per_line, = struct.unpack(">I", data[48:52])
    colours, = struct.unpack(">I", data[76:80])
    pixels = data[header_size + colours * 12:]
    client_x, client_y, _, _ = qorin.client()
    x, y, w, h = qorin.place(A_FIELD)
    x, y = x - client_x, y - client_y
    rows = []
    for row in range(y, y + h):
        start = row * bytes_per_line + x * 4
        rows.append(pixels[start:start + w * 4])
    return rows


def differing(before, after):
    count = 0
    for a, b in zip(before, after):
        if a != b:
            count += sum(1 for i in range(0, len(a), 4) if a[i:i + 4] != b[i:i + 4])
    return count


def wait_for_change(session, qorin, before, threshold, timeout):
    """Seconds until A's pixels differ from `before` in more than `threshold` pixels (the
    caret's blink changes fewer), or None."""
    start = time.monotonic()
    while time.monotonic() - start < timeout:
        if differing(before, field_pixels(session, qorin)) > threshold:
            return time.monotonic() - start
        time.sleep(0.002)
    return None


def measure(session, qorin_path, megabytes):
    qorin = Qorin(session, path=qorin_path, log=f"qorin-{megabytes}")
    pid = qorin.program.pid

    unit = "Źdźbło trawy, kąpać się. "
    text = (unit * (megabytes * 1_000_000 // len(unit.encode()) + 1))
    text = text.encode()[:megabytes * 1_000_000].decode("utf-8", "ignore")
    session.set_clipboard(text)

    qorin.focus(A_FIELD)
    time.sleep(1)
    empty = field_pixels(session, qorin)
    result = {"size": f"{megabytes} MB", "characters": len(text)}

    session.key("ctrl+v")
    shown = wait_for_change(session, qorin, empty, 60, LONG_WAIT)
    result["paste shows after"] = shown
    if shown is not None:
        time.sleep(1)
        before = cpu_seconds(pid)
        time.sleep(5)
        result["idle CPU"] = (cpu_seconds(pid) - before) / 5 * 100
    else:
        before = cpu_seconds(pid)
        time.sleep(5)
        result["CPU while the paste is not shown"] = (cpu_seconds(pid) - before) / 5 * 100
    result["RSS"] = memory_kib(pid, "VmRSS")
    result["peak RSS"] = memory_kib(pid, "VmHWM")

    # Keys that change the field whether or not it is full: Backspace makes room first.
    latencies = []
    expected = text
    for key in ("BackSpace", "x", "BackSpace", "y", "BackSpace", "z"):
        now = field_pixels(session, qorin)
        session.key(key)
        expected = expected[:-1] if key == "BackSpace" else expected + key
        latency = wait_for_change(session, qorin, now, 60, 30 if not latencies else 10)
        if latency is None:
            latencies.append(None)
            break
        latencies.append(latency)
        time.sleep(0.6)
    result["key shows after"] = latencies

    try:
        kept = qorin.copied(A_FIELD, timeout=LONG_WAIT)
    except TimedOut:
        kept = None
    if kept == "\u2400":
        kept = None
    if kept is None:
        result["A keeps"] = "no answer"
    elif kept == expected:
        result["A keeps"] = f"all {len(kept)} characters pasted and typed"
    elif kept == text[:len(kept) - 1] + "z":
        result["A keeps"] = (f"the first {len(kept) - 1} characters of the paste, "
                             "then the keys typed")
    else:
        result["A keeps"] = f"{len(kept)} characters, not what was pasted and typed"
    qorin.stop()
    return result


def show(result):
    def ms(v):
        return "never (cut off)" if v is None else f"{v * 1000:.0f} ms"
    print(f"== {result['size']} ({result['characters']} characters)")
    print(f"   paste shows after: {ms(result['paste shows after'])}")
    for key in ("idle CPU", "CPU while the paste is not shown"):
        if key in result:
            print(f"   {key}: {result[key]:.1f} % of a core")
    print(f"   RSS: {result['RSS'] / 1024:.0f} MiB (peak {result['peak RSS'] / 1024:.0f} MiB)")
    keys = result["key shows after"]
    done = [k for k in keys if k is not None]
    print("   typed key shows after: " + ", ".join(ms(k) for k in keys)
          + (f" (median {statistics.median(done) * 1000:.0f} ms)" if done else ""))
    print(f"   A keeps: {result['A keeps']}")
    sys.stdout.flush()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    qorin = os.path.abspath(sys.argv[1])
    sizes = [int(s) for s in sys.argv[2:]] or [1, 10]
    with DesktopSession() as session:
        for megabytes in sizes:
            show(measure(session, qorin, megabytes))


if __name__ == "__main__":
    main()
