"""Drives the real Tarvelix.exe under Wine as a person would: X11 mouse and key events through xdotool,
screenshots through ImageMagick, and the files of the simulator stand-in, the virtual controller and the
settings. Needs DISPLAY and TARVELIX_WINEPREFIX (tests/with-display.sh sets both)."""

import os
import re
import shutil
import subprocess
import time
from pathlib import Path
from types import SimpleNamespace

BUILD = Path(os.environ.get("TARVELIX_BUILD", Path(__file__).resolve().parents[2] / "build" / "windows"))
PREFIX = Path(os.environ["TARVELIX_WINEPREFIX"])
TIMEOUT = 20.0


def wait_until(predicate, timeout=TIMEOUT, what="condition"):
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def settings_file():
    """The settings file in the prefix's user profile (Wine names the profile after the Unix user)."""
    users = [p for p in (PREFIX / "drive_c" / "users").iterdir() if p.name != "Public"]
    assert len(users) == 1, f"one user profile expected in the prefix, found {users}"
    return users[0] / "AppData" / "Local" / "Tarvelix" / "Tarvelix.cfg"


def layout(height):
    """Client rectangles of the controls for font height H, as the window lays them out."""
    h = height
    w, b = 30 * h - 6, 25 * h - 25  # client size of the 30H x 25H window under Wine without a window manager
    lw, m, r = 4 * h, 10 * h // 16, 8 * h // 5
    g = int(m * 1.5)
    x = lw + 2 * m
    cw = w - x - 2 * m - lw
    rx = w - lw - m
    y2, y3 = m + r + g, m + 2 * (r + g)
    curve = (x, y3, w - x, y3 + 100)
    level = (x, curve[3] + g, w - x, curve[3] + g + r)
    y5 = level[1] + r + g
    m2 = m // 2
    return {
        "W": w, "B": b, "H": h, "curve": curve, "level": level,
        "device": (x, m, x + cw, m + r), "refresh": (rx, m, rx + lw, m + r),
        "axis": (x, y2, x + cw, y2 + r), "invert": (rx, y2, rx + lw, y2 + r),
        "enable": (rx, y3, rx + lw, y3 + r), "reset": (rx, y3 + r + g, rx + lw, y3 + 2 * r + g),
        "start": (rx, level[1], rx + lw, level[1] + r),
        "cockpit": (x, y5, x + lw, y5 + r), "external": (x + lw + m, y5, x + lw + m + int(lw * 1.1), y5 + r),
        "exit": (rx, b - m2 - 2 * r, rx + lw, b - m2 - r), "about": (rx, b - 2 * m2 - 3 * r, rx + lw, b - 2 * m2 - 2 * r),
        "save": (x + cw - lw, b - 2 * m2 - 3 * r, x + cw, b - 2 * m2 - 2 * r),
    }


def center(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True, text=True).stdout


def start(name, script="", settings=None, sim_control="", keep_settings=False):
    """Copies the exe and the stand-ins into a fresh folder, writes the controller script, the simulator's
    control file and the settings file (None: no file), starts Tarvelix and waits for its window."""
    d = SimpleNamespace()
    d.dir = BUILD / "tests" / "e2e" / name
    shutil.rmtree(d.dir, ignore_errors=True)
    d.dir.mkdir(parents=True)
    for f in ("Tarvelix.exe",):
        shutil.copy(BUILD / f, d.dir / f)
    for f in ("SimConnect.dll", "dinput8.dll"):
        shutil.copy(BUILD / "tests" / "bin" / f, d.dir / f)
    d.script, d.sim_log, d.sim_control = d.dir / "controller.txt", d.dir / "sim.log", d.dir / "sim-control.txt"
    write_atomically(d.script, script)
    write_atomically(d.sim_control, sim_control)
    d.sim_log.write_text("")
    cfg = settings_file()
    if not keep_settings:
        if cfg.exists():
            cfg.unlink()
        if settings is not None:
            cfg.parent.mkdir(parents=True, exist_ok=True)
            cfg.write_bytes(settings if isinstance(settings, bytes) else settings.encode("latin-1"))
    launch(d)
    return d


def launch(d):
    env = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG="-all,warn+seh",
               WINEDLLOVERRIDES="dinput8=n,b;mscoree,mshtml=", TARVELIX_VC_SCRIPT=str(d.script),
               TARVELIX_SIM_LOG=str(d.sim_log), TARVELIX_SIM_CONTROL=str(d.sim_control))
    d.stderr = open(d.dir / "stderr.txt", "w")
    d.process = subprocess.Popen(["wine", str(d.dir / "Tarvelix.exe")], cwd=d.dir, env=env,
                                 stdout=subprocess.DEVNULL, stderr=d.stderr, stdin=subprocess.DEVNULL)
    d.window = wait_until(lambda: find_window(), what="the Tarvelix window")
    # The window shows at 420 x 300 first and takes its size from the font afterwards.
    d.origin, d.layout = wait_until(lambda: laid_out_geometry(d.window), what="the laid-out window")
    time.sleep(0.3)


def write_atomically(path, text):
    """Replaces a file in one step, so that a stand-in reading it never sees it half written."""
    temporary = Path(str(path) + ".new")
    temporary.write_text(text)
    os.replace(temporary, path)


def laid_out_geometry(window):
    """Client origin and layout once the window has its 30H x 25H size, else None."""
    geometry = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=") for line in geometry.split())
    width, height = int(values["WIDTH"]), int(values["HEIGHT"])
    found = layout((width + 6) // 30)
    if (found["W"], found["B"]) != (width, height):
        return None
    return (int(values["X"]), int(values["Y"])), found


def find_window_named(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], capture_output=True,
                           text=True).stdout.split()
    return found[0] if found else None


def find_window():
    return find_window_named("Tarvelix")


def running(d):
    return d.process.poll() is None


def close(d):
    """Ends the program as the user would, with Exit; kills only this test's process if it hangs."""
    if running(d):
        click(d, "exit")
        try:
            d.process.wait(10)
        except subprocess.TimeoutExpired:
            d.process.kill()
            d.process.wait()
            raise AssertionError("Tarvelix did not end on Exit")
    d.stderr.close()
    wait_until(lambda: find_window() is None, what="the window to go")


def click_at(d, x, y):
    xdotool("mousemove", d.origin[0] + x, d.origin[1] + y)
    xdotool("click", 1)
    time.sleep(0.15)


def click(d, control):
    click_at(d, *center(d.layout[control]))


def drag(d, start_xy, end_xy, steps=8):
    xdotool("mousemove", d.origin[0] + start_xy[0], d.origin[1] + start_xy[1])
    xdotool("mousedown", 1)
    for i in range(1, steps + 1):
        x = start_xy[0] + (end_xy[0] - start_xy[0]) * i // steps
        y = start_xy[1] + (end_xy[1] - start_xy[1]) * i // steps
        xdotool("mousemove", d.origin[0] + x, d.origin[1] + y)
        time.sleep(0.03)
    xdotool("mouseup", 1)
    time.sleep(0.15)


def key(d, *keys):
    """Keys go to the main window itself (clicking its empty background first gives it the focus)."""
    xdotool("windowfocus", d.window)
    for k in keys:
        xdotool("key", k)
        time.sleep(0.15)


def screenshot(d, path=None):
    """The window's client area as rows of (r, g, b) tuples."""
    png = path or d.dir / "shot.png"
    subprocess.run(["import", "-window", "root", "-crop",
                    f"{d.layout['W']}x{d.layout['B']}+{d.origin[0]}+{d.origin[1]}", str(png)], check=True)
    ppm = subprocess.run(["convert", str(png), "ppm:-"], check=True, capture_output=True).stdout
    fields = ppm.split(maxsplit=4)
    width, height, data = int(fields[1]), int(fields[2]), fields[4]
    return [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]


def level_fill(d, image=None):
    """How many pixel columns of the level bar are green."""
    image = image or screenshot(d)
    left, top, right, bottom = d.layout["level"]
    y = (top + bottom) // 2
    return sum(1 for x in range(left + 1, right - 1) if image[y][x] == (0, 255, 0))


def sim_calls(d):
    return d.sim_log.read_text().splitlines()


def sim_writes(d):
    """(definition, value) of every successful write the simulator stand-in received."""
    return sim_writes_since(d, 0)


def sim_writes_since(d, first_line):
    """(definition, value) of the successful writes from the given line of the stand-in's log on."""
    found = []
    for line in sim_calls(d)[first_line:]:
        m = re.match(r"SimConnect_SetDataOnSimObject .* define=(\d+) .* value=(-?\d+) -> 0$", line)
        if m:
            found.append((int(m.group(1)), int(m.group(2))))
    return found


def debug_texts(d):
    """The program's debugger texts, as Wine prints them under warn+seh."""
    text = (d.dir / "stderr.txt").read_text(errors="replace")
    return re.findall(r'OutputDebugString[AW] "(.*)"', text)
