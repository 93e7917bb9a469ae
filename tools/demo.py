"""Plays the main use of the program once by real X input and keeps screenshots.

Runs inside tools/with-wine-session.sh (a private X display and Wine prefix).
"""
import argparse
import os
import re
import subprocess
import sys
import time
from pathlib import Path

WINE = os.environ.get("MOYUAN_WINE", "/usr/lib/wine/wine64")


def run(*cmd, timeout=30):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout)


def windows(probe):
    r = run(WINE, probe, "wait", "MoyuanMainWindow", "15000", timeout=40)
    if r.returncode != 0:
        sys.exit("the main window did not appear")
    found = []
    for line in r.stdout.splitlines():
        m = re.search(r"id=(\S+) visible=(\d) rect=(-?\d+),(-?\d+),(-?\d+),(-?\d+)", line)
        if m:
            found.append((int(m.group(1), 16) if m.group(1) != "0" else 0,
                          *[int(v) for v in m.groups()[2:]]))
    return found


def answer(probe, button, text):
    """Clicks the button, types the text into the input box it opens, and confirms."""
    x, y = button[1] + button[3] // 2, button[2] + button[4] // 2
    run("xdotool", "mousemove", str(x), str(y), "click", "1")
    run(WINE, probe, "wait", "MoyuanInputBox", "10000", timeout=40)
    run("xdotool", "type", "--delay", "20", text)
    run("xdotool", "key", "Return")
    run(WINE, probe, "gone", "MoyuanInputBox", "10000", timeout=40)


def shot(out, name):
    path = out / name
    run("/usr/bin/import", "-window", "root", str(path))
    print(f"screenshot: {path}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    program = subprocess.Popen([WINE, args.exe], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wins = windows(args.probe)
        window = wins[0]
        capture_button = next(w for w in wins if w[0] == 0x16010002)
        shot(out, "main-window.png")

        # "截图": the screen freezes; drag a rectangle from (100, 100) to (300, 200).
        bx, by = capture_button[1] + capture_button[3] // 2, capture_button[2] + capture_button[4] // 2
        run("xdotool", "mousemove", str(bx), str(by), "click", "1")
        time.sleep(0.5)
        run("xdotool", "mousemove", "100", "100", "mousedown", "1")
        for x, y in ((150, 130), (220, 170), (300, 200)):
            run("xdotool", "mousemove", str(x), str(y))
            time.sleep(0.1)
        shot(out, "selecting.png")
        run("xdotool", "mouseup", "1")
        time.sleep(0.5)
        shot(out, "captured.png")

        # "存储路径": the folder is build/run itself; a notice confirms it.
        folder_button = next(w for w in wins if w[0] == 0x16010004)
        save_button = next(w for w in wins if w[0] == 0x16010005)
        folder = run(WINE, "winepath", "-w", str(out.resolve())).stdout.strip() + "\\"
        answer(args.probe, folder_button, folder)
        time.sleep(0.5)
        shot(out, "notice.png")

        # "保存": the picture goes to build/run/demo.jpg.
        answer(args.probe, save_button, "demo")
        saved = out / "demo.jpg"
        for _ in range(100):
            if saved.exists():
                break
            time.sleep(0.05)
        shot(out, "screenshot.png")

        run("xdotool", "mousemove", str(window[1] + 100), str(window[2] + 10), "key", "Escape")
        program.wait(timeout=15)
        print(f"The program ran and ended with exit code {program.returncode}.")
        print(f"Screenshot of the screen at the end: {out / 'screenshot.png'}")
        if saved.exists():
            print(f"The saved picture: {saved} ({saved.stat().st_size} bytes)")
        else:
            print("No picture was saved.")
    finally:
        if program.poll() is None:
            program.kill()


if __name__ == "__main__":
    main()
