"""The demo: Tarvelix.exe under Wine on a virtual display, a virtual throttle swept from end to end,
and what the simulator stand-in received, as a table. Leaves a screenshot in build/screenshots."""

import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness as h  # noqa: E402

GUID = "{6F1D2B61-D5A0-11CF-BFC7-444553540000}"
CAMERAS = {0: "cockpit", 1: "chase"}
DEVICES, ENABLE = 111, 121


def controller(position):
    return f"device {GUID} Demo Throttle Quadrant\naxis Slider 6 {position} Throttle\naxis XAxis 0 0.5 Trim\n"


def sweep(d, positions, label):
    rows = []
    for position in positions:
        seen = len(h.sim_calls(d))
        h.write_atomically(d.script, controller(position))
        h.wait_until(lambda: any(line.startswith("Write") for line in h.sim_calls(d)[seen:]),
                     what=f"a zoom value for position {position}")
        h.wait_until(lambda: len(h.sim_calls(d)) >= seen + 2, timeout=1, what="both cameras")
        writes = h.sim_writes(d, seen)
        cameras = " + ".join(CAMERAS[definition] for definition, _ in writes)
        rows.append((label, position, writes[0][1], cameras))
    return rows


def drag(x, y, to_y):
    h.xdotool("mousemove", x, y)
    h.xdotool("mousedown", 1)
    for step in range(1, 9):
        h.xdotool("mousemove", x, y + (to_y - y) * step // 8)
    h.xdotool("mouseup", 1)


def main():
    d = h.start("demo", controller(0.0))
    print("Tarvelix is running under Wine with a virtual throttle and the simulator stand-in.")
    h.key(d, "Return")
    h.wait_until(lambda: h.sim_writes(d), what="the first zoom value")
    positions = [round(i / 10, 1) for i in range(11)]
    rows = sweep(d, positions, "straight")
    h.click(d, ENABLE)
    # The curve editor stands under the lists, level with Enable, 100 pixels high, centred in the window.
    left, top = d.controls[DEVICES][0], d.controls[ENABLE][1]
    step = (2 * d.client[0] + d.client[2] - 2 * left) // 5
    for point, height in ((1, 5), (2, 15), (3, 35), (4, 65)):  # a gentle start, a quick finish
        drag(left + point * step, top + 100 - point * 20, top + 100 - height)
    rows += sweep(d, positions[::-1], "curved")
    shots = Path(__file__).resolve().parents[1] / "build" / "screenshots"
    shots.mkdir(parents=True, exist_ok=True)
    h.screenshot(d, shots / "demo.png")
    h.finish(d)

    print()
    print(f"{'curve':<9}{'axis position':>14}{'zoom sent':>11}  cameras")
    for label, position, value, camera in rows:
        print(f"{label:<9}{position:>14.1f}{value:>10} %  {camera}")
    print()
    print("Calls the simulator stand-in recorded (first 6):")
    for line in h.sim_calls(d)[:6]:
        print("  " + line)
    print(f"Screenshot: {shots / 'demo.png'}")
    shutil.rmtree(d.dir, ignore_errors=True)


if __name__ == "__main__":
    main()
