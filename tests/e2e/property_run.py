"""A property run of the real Tarvelix.exe under Wine: X11 inputs on the two lists (opened and closed by mouse and
keys, rows pointed at and clicked), clicks outside, Refresh, Start and Save, and after each one the program must
live and, once no list is dropped down, the device and axis the lists show must be the ones that Start reads and
Save stores. Fixed sequences first, then random steps from a seed (default: a new one) for some seconds (default
20). A failure prints the seed and the steps, and the same seed and seconds replay them.
Run with: python3 property_run.py [SECONDS [SEED]] (make soak SECONDS=N SEED=S)."""

import contextlib
import random
import sys
import time

import harness as h

# Every axis at its own position, so that the zoom written names the device and axis; the names of axes differ
# between devices, so that the saved name does too. On the straight line, uninverted, position 0.113 is zoom 11.
DEVICES = {"Alpha Stick": ("{A1F5C0DE-0001-4000-8000-00000000A1FA}", {"Stick X": 11, "Stick Y": 12}),
           "Beta Throttle": ("{B2F5C0DE-0002-4000-8000-00000000B2FB}", {"Throttle": 21, "Ось Z": 22, "Trim": 23}),
           "Гамма Pedals": ("{C3F5C0DE-0003-4000-8000-00000000C3FC}", {"Rudder": 31, "Toe Brake": 32})}
WHOSE = {zoom: f"{device}'s {axis}" for device, (_, axes) in DEVICES.items() for axis, zoom in axes.items()}
OWNER = {axis: device for device, (_, axes) in DEVICES.items() for axis in axes}
NAMED = {guid: device for device, (guid, _) in DEVICES.items()}
SCRIPT = "".join(f"device {guid} {device}\n" + "".join(
    f"axis {kind} {instance} 0.{zoom}3 {axis}\n" for (kind, instance), (axis, zoom) in
    zip((("XAxis", 0), ("ZAxis", 2), ("Slider", 6)), axes.items())) for device, (guid, axes) in DEVICES.items())
KEYS = ["Escape", "Return", "Tab", "shift+Tab", "Up", "Down", "Left", "Right", "alt+Down", "alt+Up"]
NAMES = {h.DEVICES: "the device list", h.AXES: "the axis list", h.REFRESH: "Refresh", h.START: "Start/Stop",
         h.SAVE: "Save"}

FIXED = [
    # A row pointed at, not clicked, then the list closed by a key: the row it shows is the one in use.
    *(step for row, key in (("Beta Throttle", "Escape"), ("Alpha Stick", "Return"), ("Beta Throttle", "Tab"),
                            ("Alpha Stick", "alt+Up")) for step in (("click", h.DEVICES), ("point", row), ("key", key))),
    ("click", h.AXES), ("point", "Stick Y"), ("key", "Escape"),
    # Down in the open list, then a click outside it.
    ("click", h.DEVICES), ("key", "Down"), ("outside", None),
]


def open_list(state):
    return next((shown for shown in state.lists.values() if shown.dropped), None)


def act(d, state, kind, what):
    # One input; says what it was.
    if kind == "click":
        h.click(d, what)
        return f"click {NAMES[what]}"
    if kind == "key":
        h.press(what)
        return f"key {what}"
    if kind == "outside":  # left of Save, where no control stands
        h.xdotool("mousemove", d.controls[h.SAVE][0] - 60, d.controls[h.SAVE][1] + 5, "click", 1)
    else:  # a row of the open drop-down, by its text
        x, y, width, _ = state.drop
        shown = open_list(state)
        row_y = y + shown.rows.index(what) * shown.height + shown.height // 2
        h.xdotool("mousemove", x + width // 2, row_y, *(("click", 1) if kind == "pick" else ()))
    time.sleep(h.PAUSE)
    return {"outside": "click outside the lists", "pick": f"click row {what}", "point": f"rest on row {what}"}[kind]


def check(d, watcher, state):
    # Start reads and Save stores what the closed lists show; the keyboard goes back where it was.
    device, axis = state.lists[h.DEVICES].text, state.lists[h.AXES].text
    axes, shown = DEVICES.get(device, (None, {}))[1], f"the lists show {device} / {axis}"
    assert axis in axes, f"{shown}, an axis of {OWNER.get(axis, 'no device')}"
    if running := state.start == "Stop":
        calls = h.sim_calls(d)
        since = len(calls) - calls[::-1].index("Open")
    else:
        since = len(h.sim_calls(d))
        h.click(d, h.START)
    with contextlib.suppress(AssertionError):  # none at all is told below
        h.wait_until(lambda: h.sim_writes(d, since), 3, "a write")
    zooms = {value for _, value in h.sim_writes(d, since)}
    sent = ", ".join(WHOSE.get(zoom, str(zoom)) for zoom in zooms) or "nothing"
    assert zooms == {axes[axis]}, f"{shown}; the pump sends {sent}"
    if not running and watcher.look().start == "Stop":
        h.click(d, h.START)
        h.wait_until(lambda: h.sim_calls(d)[-1] == "Close", 3, "Stop to close the link")
    h.settings_file().unlink(missing_ok=True)
    h.click(d, h.SAVE)
    saved = h.wait_until(lambda: h.settings_file().exists() and h.settings_file().read_bytes(), 3, "Save's file")
    lines = saved.decode("utf-8").split("\r\n")
    stored = NAMED.get(lines[0].removeprefix("Device: "), lines[0]), lines[1].removeprefix("Axis: ")
    assert stored == (device, axis), f"{shown}; Save stores {' / '.join(stored)}"
    refocus(d, watcher, state.focus)


def refocus(d, watcher, focus):
    # With Tab or Shift+Tab the short way round; the controls stand in Tab order, disabled ones are skipped.
    order = [i for i in d.controls if i not in (0, 117)]
    for _ in order:
        if focus not in order or (now := watcher.look().focus) == focus or now not in order:
            return
        h.press("Tab" if (order.index(focus) - order.index(now)) % len(order) <= len(order) // 2 else "shift+Tab")


def random_step(rng, state):
    # Rows are pointed at often, since pointing and then closing is where the lists were seen to go wrong.
    shown = open_list(state)
    kind = rng.choice(["point", "point", "pick", "key", "key", "key", "outside", "list"] if shown else
                      ["list", "list", "list", "key", "outside", "button"])
    return {"list": lambda: ("click", rng.choice([h.DEVICES, h.AXES])), "key": lambda: ("key", rng.choice(KEYS)),
            "outside": lambda: ("outside", None), "button": lambda: ("click", rng.choice([h.REFRESH, h.START, h.SAVE])),
            "point": lambda: ("point", rng.choice(shown.rows)), "pick": lambda: ("pick", rng.choice(shown.rows))}[kind]()


def run(d, watcher, next_step, done):
    # Each step an input; after it the program lives, and closed lists tell the truth.
    state = watcher.look()
    while step := next_step(state):
        done.append(act(d, state, *step))
        assert d.process.poll() is None, "Tarvelix ended"
        state = watcher.look()
        if not open_list(state):
            check(d, watcher, state)
            state = watcher.look()


def main(args):
    seconds, seed = float(args[0] if args else 20), int(args[1] if args[1:] else random.randrange(10 ** 6))
    print(f"property run: seed {seed}, {seconds:g} s", flush=True)
    rng, h.PAUSE, done = random.Random(seed), 0.05, []
    d = h.start("property_run", SCRIPT)
    watcher, started = h.ListWatcher(), time.monotonic()
    try:
        check(d, watcher, watcher.look())
        fixed = iter(FIXED)
        run(d, watcher, lambda state: next(fixed, None), done)
        end = time.monotonic() + seconds
        run(d, watcher, lambda state: time.monotonic() < end and random_step(rng, state), done)
    except AssertionError as failure:
        print(f"FAILED after step {len(done)} with seed {seed}: {failure}\nsteps:", flush=True)
        print("\n".join(f"{n:4}. {step}" for n, step in enumerate(done, 1)))
        print(f"replay: make soak SECONDS={seconds:g} SEED={seed}")
        return 1
    finally:
        for _ in range(3):
            if open_list(watcher.look()):
                h.press("Escape")
        watcher.close()
        h.finish(d)
    print(f"property run: passed, {len(done)} steps in {time.monotonic() - started:.1f} s", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
