"""End-to-end scenarios: the real Tarvelix.exe under Wine, driven with X11 mouse and key events, in as few
launches as the checks allow. Run with: python3 scenarios.py [NAME...] (make test runs them all)."""

import subprocess
import sys
import time

import harness as h

ALPHA = "{6F1D2B61-D5A0-11CF-BFC7-444553540000}"
BRAVO = "{6F1D2B62-D5A0-11CF-BFC7-444553540000}"


def controllers(throttle=0.3):
    # Reported Bravo first, listed Alpha Stick first, with its throttle "Ось Z" (Russian Windows) its first axis.
    return (f"device {BRAVO} Bravo Quadrant\naxis Slider 6 0.25 Slider\naxis ZAxis 2 0.75 Z Axis\n"
            f"device {ALPHA} Alpha Stick\naxis YAxis 1 0.5 Поворот Y\naxis Slider 6 {throttle} Ось Z\n"
            "object Button 0x4 0 0 Trigger\n")


def wait_for_write(d, value, camera=None, since=0):
    h.wait_until(lambda: any(v == value and camera in (None, c) for c, v in h.sim_writes(d, since)),
                 what=f"a write of {value}")


def flight():
    # Enter starts the stick's first axis, "Ось Z"; shortcuts (About open while the pump runs), Save.
    global normal_layout
    d = h.start("flight", controllers())
    normal_layout = h.placed(d.client, d.controls)
    try:
        assert h.green_pixels(d) == 0, "nothing runs yet"
        h.key(d, "Return")
        h.wait_until(lambda: {(0, 30), (1, 30)} <= set(h.sim_writes(d)), what="30 to both cameras")
        h.wait_until(lambda: h.green_pixels(d) > 0, what="the level bar to follow the throttle")
        assert h.names() == ["Response curve, point 1 of 6, 0 %", "Zoom 30 %"], "what a screen reader reads"
        h.key(d, "alt+question")
        about = h.wait_until(lambda: h.find_window("About Tarvelix"), what="Alt+? to open About")
        h.write_atomically(d.script, controllers(throttle=0.9))
        wait_for_write(d, 90)
        h.key(d, "Escape", window=about)
        h.wait_until(lambda: h.find_window("About Tarvelix") is None, what="Escape to close About")
        h.key(d, "Return", "r")
        texts = len(h.debug_texts(d))
        assert h.sim_calls(d)[-1] == "Close" and texts == 2, "a second Enter stops; a lower-case r refreshes nothing"
        calls = len(h.sim_calls(d))
        h.key(d, "shift+r", "Return")
        h.wait_until(lambda: len(h.debug_texts(d)) == texts + 2, what="Shift+R to list the controllers again")
        wait_for_write(d, 90, since=calls)
        for control in (h.INVERT, h.EXTERNAL, h.SAVE):
            h.click(d, control)
    finally:
        h.finish(d)
    assert d.process.returncode == 0, "Exit ends the program"
    lines = h.settings_file().read_bytes().decode("utf-8").split("\r\n")
    assert lines == [f"Device: {ALPHA}", "Axis: Ось Z", "Inverted: 1", "ChaseCamera: 0", "CockpitCamera: 1",
                     "CurvesEnabled: 0", "CurveVals: 0,20,40,60,80,100", "Autostart: 1"], lines


def relaunch():
    # The file that flight() saved starts the pump by itself on "Ось Z", in a window started minimized as from the
    # Startup folder: the throttle at 30 %, inverted, cockpit only. A second copy brings that window back, laid out
    # as at a normal start, and ends.
    d = h.start("relaunch", controllers(), settings=True, minimized=True)
    try:
        wait_for_write(d, 70, 0)
        second = subprocess.run(["wine", str(d.dir / "Tarvelix.exe")], env=h.WINE_ENV, timeout=30)
        d.client, d.controls = h.wait_until(lambda: (p := h.probe()) and p[0][2] > 0 and p, what="it restored")
        assert second.returncode == 0 and h.placed(d.client, d.controls) == normal_layout, d.controls
        assert len(h.xdotool("search", "--name", "^Tarvelix$").split()) == 1, "one window"
        # The simulator exits while the axis stands still: seen at once, and connected again once it is back.
        watcher = h.ListWatcher()
        try:
            assert watcher.look().status == "Connected to Flight Simulator"
            h.write_atomically(d.sim_control, "quit\n")
            h.wait_until(lambda: watcher.look().status == "No connection to Flight Simulator", 0.3, "the exit seen")
            h.write_atomically(d.sim_control, "answer-after 1000\n")  # back, and loading for a second
            h.wait_until(lambda: watcher.look().status == "Waiting for Flight Simulator to answer", 5, "reopened")
            h.wait_until(lambda: watcher.look().status == "Connected to Flight Simulator", 5, "connected again")
        finally:
            watcher.close()
    finally:
        h.finish(d)


if __name__ == "__main__":
    # relaunch() starts from the file flight() saved; the first failure ends the run.
    for scenario in [globals()[name] for name in sys.argv[1:]] or [flight, relaunch]:
        started = time.monotonic()
        scenario()
        print(f"{scenario.__name__}: passed in {time.monotonic() - started:.1f} s", flush=True)
