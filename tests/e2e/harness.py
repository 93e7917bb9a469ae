"""Drives the real program under Wine in the test run's private X display.

Every test runs inside tools/with-wine-session.sh, which provides DISPLAY, WINEPREFIX and a
running wineserver. Programs started here are stopped by their process id when a test ends.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest
from dataclasses import dataclass
from pathlib import Path

WINE = os.environ.get("MOYUAN_WINE", "/usr/lib/wine/wine64")
MAIN_CLASS = "MoyuanMainWindow"
ARGS = None  # filled in by main()


def pattern(x, y):
    """The colour that tests/e2e/win_pattern.cpp paints at screen pixel (x, y)."""
    return (x % 256, y % 256, ((x * 3 + y * 5) % 256) | 1)


@dataclass
class Win:
    role: str
    cls: str
    id: int
    visible: bool
    left: int
    top: int
    width: int
    height: int
    client_left: int
    client_top: int
    client_width: int
    client_height: int
    style: int
    exstyle: int

    @property
    def centre(self):
        return self.left + self.width // 2, self.top + self.height // 2


LINE = re.compile(
    r"(\w+) (\S+) id=(\S+) visible=(\d) rect=(-?\d+),(-?\d+),(-?\d+),(-?\d+) "
    r"client=(-?\d+),(-?\d+),(-?\d+),(-?\d+) style=(\S+) exstyle=(\S+)")


def parse_tree(text):
    wins = []
    for line in text.splitlines():
        m = LINE.match(line.strip())
        if m:
            g = m.groups()
            wins.append(Win(g[0], g[1], int(g[2], 16) if g[2] != "0" else 0, g[3] == "1",
                            *[int(v) for v in g[4:12]], int(g[12], 16), int(g[13], 16)))
    return wins


def run(cmd, timeout=30, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, **kw)


def xdotool(*args, timeout=15):
    r = run(["xdotool", *args], timeout=timeout)
    if r.returncode != 0:
        raise AssertionError(f"xdotool {' '.join(args)} failed: {r.stderr}")
    return r.stdout


def windows_path(path):
    return run([WINE, "winepath", "-w", str(path)]).stdout.strip()


class Program:
    """The program under Wine, with its test log."""

    def __init__(self, exe, cwd, log, env_extra=None):
        env = dict(os.environ)
        env["MOYUAN_TEST_LOG"] = windows_path(log)
        env.update(env_extra or {})
        self.log_path = Path(log)
        self.proc = subprocess.Popen([WINE, str(exe)], cwd=cwd, env=env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)

    def wait(self, timeout=20):
        return self.proc.wait(timeout=timeout)

    def log(self):
        if not self.log_path.exists():
            return []
        return self.log_path.read_text(encoding="utf-8").splitlines()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)


class ProgramTest(unittest.TestCase):
    """Base class: a temporary folder per test, the program stopped on every path."""

    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="e2e-", dir=os.environ.get("MOYUAN_WINE_SESSION")))
        self.programs = []

    def tearDown(self):
        # A failed test may leave a button held down.
        for button in ("1", "3"):
            run(["xdotool", "mouseup", button])
        for p in self.programs:
            p.stop()
        # Leave no window behind for the next test.
        self.probe("gone", MAIN_CLASS, "5000")

    def start(self, exe=None, cwd=None, env=None):
        log = self.tmp / f"program-{len(self.programs)}.log"
        p = Program(exe or ARGS.exe, cwd or self.tmp, log, env)
        self.programs.append(p)
        return p

    def probe(self, *args, timeout=30):
        return run([WINE, ARGS.probe, *args], timeout=timeout)

    def wait_main_window(self, timeout_ms=15000):
        r = self.probe("wait", MAIN_CLASS, str(timeout_ms), timeout=timeout_ms / 1000 + 15)
        self.assertEqual(r.returncode, 0, "the main window did not appear")
        return parse_tree(r.stdout)

    def desktop_window(self):
        # The Wine virtual desktop is the one X window the program's windows live in.
        out = xdotool("search", "--sync", "--name", "Wine desktop", timeout=15)
        return out.split()[0]

    def focus_program(self, window):
        # Keyboard input follows the pointer on a display without a window manager.
        desktop = self.desktop_window()
        # (No --sync: it waits forever when the pointer is already there.)
        xdotool("mousemove", str(window.left + window.width // 2), str(window.top + 10))
        xdotool("windowfocus", "--sync", desktop)

    def key(self, *keys):
        xdotool("key", "--clearmodifiers", *keys)

    def screenshot(self, name):
        path = self.tmp / f"{name}.png"
        r = run(["/usr/bin/import", "-window", "root", str(path)])
        self.assertEqual(r.returncode, 0, r.stderr)
        from PIL import Image  # Debian's python3-pil
        return Image.open(path).convert("RGB")

    def settled_screenshot(self, name, ready, timeout=10):
        """Screenshots until `ready(shot)` holds: the program paints after it shows a window."""
        end = time.monotonic() + timeout
        while True:
            shot = self.screenshot(name)
            if ready(shot) or time.monotonic() > end:
                return shot
            time.sleep(0.1)

    def wait_for(self, predicate, timeout=10, what="condition"):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if predicate():
                return
            time.sleep(0.05)
        logs = "\n".join(f"--- program {i}:\n" + "\n".join(p.log()[-15:])
                         for i, p in enumerate(self.programs))
        self.fail(f"timed out waiting for {what}\n{logs}")

    def type_into_input_box(self, text, box_class="MoyuanInputBox", edit_id=1002):
        """Types the text into the input box's edit line until it reads back exactly that.

        xdotool types characters outside the keyboard map by remapping a spare key for each
        one, which now and then loses a character; the box's own text tells."""
        def current():
            return self.probe("text", box_class, str(edit_id)).stdout
        for _ in range(3):
            xdotool("type", "--delay", "30", text)
            try:
                self.wait_for(lambda: current() == text, timeout=3, what="the typed text")
                return
            except AssertionError:
                # Select everything typed so far, so the next try replaces it.
                xdotool("key", "End", "shift+Home")
        self.assertEqual(current(), text, "the input box does not hold the typed text")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--release-exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--pattern", required=True)
    ARGS, rest = parser.parse_known_args()
    for name in ("exe", "release_exe", "probe", "pattern"):
        setattr(ARGS, name, str(Path(getattr(ARGS, name)).resolve()))
    if "MOYUAN_WINE_SESSION" not in os.environ:
        sys.exit("run inside tools/with-wine-session.sh")
    unittest.main(argv=[sys.argv[0], "-v", *rest])
