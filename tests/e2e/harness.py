"""Drives the real Tarvelix.exe under Wine as a person would: X11 mouse and key events through xdotool, the
window's pixels through ImageMagick, and the files of the simulator stand-in, the virtual controller and the
settings. Where the controls stand is asked of the window itself (window_probe.exe). Needs DISPLAY and
TARVELIX_WINEPREFIX (tools/with-display.sh sets both)."""

import os
import re
import shutil
import subprocess
import time
from pathlib import Path
from types import SimpleNamespace

BUILD = Path(os.environ.get("TARVELIX_BUILD", Path(__file__).resolve().parents[2] / "build" / "windows"))
PREFIX = Path(os.environ["TARVELIX_WINEPREFIX"])
WINE_ENV = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all,warn+seh",
                WINEDLLOVERRIDES="dinput8=n,b;mscoree,mshtml=")
SAVE, EXIT, INVERT, EXTERNAL, DEVICES, AXES, START, REFRESH, CURVES = 116, 105, 115, 119, 111, 114, 112, 110, 121
PAUSE = 0.15  # after each input, for Wine to take it in


def wait_until(predicate, timeout=20.0, what="condition"):
    end = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)
    return value


def settings_file():
    # In the prefix's one user profile, which Wine names after the Unix user.
    users = [p for p in (PREFIX / "drive_c" / "users").iterdir() if p.name != "Public"]
    return users[0] / "AppData" / "Local" / "Tarvelix" / "Tarvelix.cfg"


def write_atomically(path, text):
    # In one step, so that a stand-in reading the file never sees it half written.
    Path(f"{path}.new").write_text(text)
    os.replace(f"{path}.new", path)


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True, text=True).stdout


def find_window(title="Tarvelix"):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], capture_output=True,
                           text=True).stdout.split()
    return found[0] if found else None


def prepare(name, script, settings=None):
    # A fresh folder with the exe, the stand-ins and their files; settings: bytes for the file, None for no file,
    # True to keep the one there is.
    d = SimpleNamespace(dir=BUILD / "tests" / "e2e" / name, process=None)
    shutil.rmtree(d.dir, ignore_errors=True)
    d.dir.mkdir(parents=True)
    for source in ("Tarvelix.exe", "tests/bin/dinput8.dll", "tests/bin/SimConnect.dll"):
        shutil.copy(BUILD / source, d.dir)
    d.script, d.sim_log, d.sim_control = d.dir / "controller.txt", d.dir / "sim.log", d.dir / "sim-control.txt"
    for path, text in ((d.script, script), (d.sim_control, ""), (d.sim_log, "")):
        write_atomically(path, text)
    if settings is not True:
        settings_file().unlink(missing_ok=True)
    if settings not in (None, True):
        settings_file().parent.mkdir(parents=True, exist_ok=True)
        settings_file().write_bytes(settings)
    return d


def spawn(d, minimized=False, **env):
    # Minimized as a shortcut set to "Run: Minimized" starts it; start waits for the program to end.
    env = dict(WINE_ENV, TARVELIX_VC_SCRIPT=str(d.script), TARVELIX_SIM_LOG=str(d.sim_log),
               TARVELIX_SIM_CONTROL=str(d.sim_control), **env)
    d.stderr = open(d.dir / "stderr.txt", "w")
    d.process = subprocess.Popen(["wine"] + (["start", "/wait", "/min", "/unix"] if minimized else []) +
                                 [str(d.dir / "Tarvelix.exe")], cwd=d.dir, env=env, stdout=subprocess.DEVNULL,
                                 stderr=d.stderr, stdin=subprocess.DEVNULL)


def names():
    # What a screen reader reads of the curve editor and of the level bar.
    return subprocess.run(["wine", str(BUILD / "tests/bin/window_probe.exe"), "names"], env=WINE_ENV,
                          capture_output=True, text=True, encoding="utf-8").stdout.splitlines()


def probe(*args):
    # The client area (x, y, width, height) and each control's rectangle by id, on the screen, once the
    # window is laid out with its status bar (117).
    out = subprocess.run(["wine", str(BUILD / "tests/bin/window_probe.exe"), *args], env=WINE_ENV,
                         capture_output=True, text=True).stdout.split("\n")
    controls = {int(row[0]): tuple(map(int, row[1:])) for row in (line.split() for line in out[1:]) if row}
    return (tuple(map(int, out[0].split()[1:])), controls) if 117 in controls else None


class ListWatcher:
    """What the two lists show, asked of one window_probe.exe left running: look() gives lists[id] (dropped, rows,
    text), height (of a row), drop (the open drop-down's screen rectangle, or None), start (the button's
    caption) and status (the status bar's text)."""

    def __init__(self):
        self.probe = subprocess.Popen(["wine", str(BUILD / "tests/bin/window_probe.exe"), "lists"], env=WINE_ENV,
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, encoding="utf-8")

    def look(self):
        self.probe.stdin.write("\n")
        self.probe.stdin.flush()
        line = self.probe.stdout.readline()
        assert line, "the window is gone"
        f = line.rstrip("\n").split("\t")
        lists = {id: SimpleNamespace(dropped=f[i] != "0", rows=int(f[i + 1]), text=f[i + 2])
                 for id, i in ((DEVICES, 0), (AXES, 3))}
        drop = tuple(map(int, f[7:11]))
        return SimpleNamespace(lists=lists, height=int(f[6]), drop=drop if any(drop) else None, start=f[11],
                               status=f[12])

    def close(self):
        self.probe.kill()
        self.probe.wait()


def start(name, script, settings=None, minimized=False):
    d = prepare(name, script, settings)
    spawn(d, minimized)
    d.window = wait_until(find_window, 60, "the Tarvelix window")
    d.client, d.controls = wait_until(probe, what="the laid-out window")
    return d


def placed(client, controls):
    # The client size and every control's rectangle within the client area.
    x, y = client[:2]
    return client[2:], {i: (l - x, t - y, r - x, b - y) for i, (l, t, r, b) in controls.items()}


def finish(d):
    # Exit, as the user would; whatever happened before, no Tarvelix process is left behind.
    try:
        if d.process.poll() is None:
            click(d, EXIT)
            d.process.wait(10)
    finally:
        d.process.kill()  # does nothing to a process that has ended
        d.process.wait()
        d.stderr.close()


def click(d, control):
    left, top, right, bottom = d.controls[control]
    xdotool("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
    time.sleep(PAUSE)


def key(d, *keys, window=None):
    for k in keys:
        xdotool("windowfocus", window or d.window, "key", k)
        time.sleep(PAUSE)


def press(*keys):
    # To whatever holds the keyboard, such as a list just clicked.
    for k in keys:
        xdotool("key", k)
        time.sleep(PAUSE)


def screenshot(d, path="ppm:-"):
    # The window's client area as raw PPM bytes, or saved as a picture when a path is given.
    x, y, width, height = d.client
    shot = ["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8", str(path)]
    return subprocess.run(shot, check=True, capture_output=True).stdout


def pixels(d):
    # The client area's pixels as (r, g, b) byte triples: what follows the PPM header.
    data = screenshot(d)[-d.client[2] * d.client[3] * 3:]
    return [data[i:i + 3] for i in range(0, len(data) - 2, 3)]


def green_pixels(d):
    return pixels(d).count(b"\x00\xff\x00")  # the level bar's fill is the only pure green


def sim_calls(d):
    return d.sim_log.read_text().splitlines()


def sim_writes(d, since=0):
    # (camera, value) of every successful write from the given line of the stand-in's log on.
    return [(int(m[1]), int(m[2])) for line in sim_calls(d)[since:] if (m := re.fullmatch(r"Write(\d)=(-?\d+)", line))]


def debug_texts(d):
    return re.findall(r'OutputDebugString[AW] "(.*)"', (d.dir / "stderr.txt").read_text(errors="replace"))
