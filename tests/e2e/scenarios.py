"""End-to-end scenarios: the real Tarvelix.exe under Wine, driven with X11 mouse and key events.
Run one with: python3 scenarios.py NAME (make test runs them all through CTest)."""

import sys
import time

import harness as h

ALPHA = "{6F1D2B61-D5A0-11CF-BFC7-444553540000}"
BRAVO = "{6F1D2B62-D5A0-11CF-BFC7-444553540000}"
GREY, WHITE = (192, 192, 192), (255, 255, 255)


def controllers(alpha_throttle=0.5, bravo_slider=0.25, bravo_z=0.75, unplug_alpha=False, extra=""):
    """Two controllers, reported Bravo first: the list shows them by name, Alpha Stick first."""
    script = f"""device {BRAVO} Bravo Quadrant
axis Slider 6 {bravo_slider} Slider
axis ZAxis 2 {bravo_z} Z Axis
button 0 Gear
device {ALPHA} Alpha Stick
axis YAxis 1 0.5 Y Axis
axis XAxis 0 0.5 X Axis
axis Slider 6 {alpha_throttle} Throttle
button 0 Trigger
pov 0 Hat
"""
    if unplug_alpha:
        script += f"unplugged {ALPHA}\n"
    return script + extra


def percent_of(position):
    """The zoom percent the program makes of a virtual axis position (rounded to the nearest raw unit)."""
    raw = int(position * 65535 + 0.5)
    return raw * 100 // 65535


def settings_lines():
    return h.settings_file().read_bytes().decode("latin-1").split("\r\n")


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def wait_for_write(d, value, definition=None, what=None):
    return h.wait_until(lambda: any(v == value and (definition is None or dfn == definition)
                                    for dfn, v in h.sim_writes(d)), what=what or f"a write of {value}")


def curve_pixel_background(d, image):
    """A pixel inside the curve editor away from the curve, grid and markers."""
    left, top, right, bottom = d.layout["curve"]
    return image[top + 12][right - 12]


def status_text_right_edge(d, image):
    """Rightmost dark pixel column of the status bar's text, 0 when it shows no text."""
    bottom = d.layout["B"]
    edge = 0
    for y in range(bottom - 18, bottom - 2):
        for x in range(2, d.layout["W"] - 20):
            if sum(image[y][x]) < 200:
                edge = max(edge, x)
    return edge


def dark_pixels(image, rect):
    return sum(1 for y in range(rect[1] + 2, rect[3] - 2) for x in range(rect[0] + 2, rect[2] - 2)
               if sum(image[y][x]) < 150)


def first_launch():
    d = h.start("first_launch", controllers())
    image = h.screenshot(d)
    expect(curve_pixel_background(d, image) == GREY, "curves start disabled: the editor is light grey")
    expect(h.level_fill(d, image) == 0, "the level bar starts empty")
    expect(dark_pixels(image, d.layout["reset"]) == 0 < dark_pixels(image, d.layout["refresh"]),
           "Reset starts disabled (grey caption), Refresh enabled")
    time.sleep(0.5)
    expect(h.sim_calls(d) == [], "the pump starts stopped: the simulator hears nothing")
    texts = h.debug_texts(d)
    expect(texts == ["device: Bravo Quadrant", "device: Alpha Stick"], f"enumerated once at start: {texts}")
    h.click(d, "save")
    expect(settings_lines() == [
        f"Device: {ALPHA}", "Axis: Throttle", "Inverted: 0", "ChaseCamera: 1", "CockpitCamera: 1",
        "CurvesEnabled: 0", "CurveVals: 0,20,40,60,80,100", "Autostart: 0"], f"defaults saved: {settings_lines()}")
    h.close(d)


def start_and_stop():
    d = h.start("start_and_stop", controllers(alpha_throttle=0.5))
    h.click(d, "start")
    wait_for_write(d, 50, 0)
    wait_for_write(d, 50, 1)
    connected = status_text_right_edge(d, h.screenshot(d))
    expect(connected > 0, "the status bar says the link is up")
    for position in (0.0, 0.25, 1.0, 0.75):
        percent = percent_of(position)
        h.write_atomically(d.script, controllers(alpha_throttle=position))
        wait_for_write(d, percent, 1)
        filled = h.wait_until(lambda: h.level_fill(d) or (percent == 0 and -1), what="the level bar")
        width = d.layout["level"][2] - d.layout["level"][0] - 2
        expect(filled == -1 or abs(filled - width * percent // 100) <= 1, f"level bar {filled} for {percent}%")
    h.click(d, "start")  # now captioned Stop
    time.sleep(0.3)
    image = h.screenshot(d)
    expect(h.level_fill(d, image) == 0, "Stop empties the level bar")
    expect(status_text_right_edge(d, image) == 0, "Stop empties the status bar")
    expect(h.sim_calls(d)[-1].startswith("SimConnect_Close"), "Stop closes the link")
    writes = len(h.sim_writes(d))
    time.sleep(0.5)
    expect(len(h.sim_writes(d)) == writes, "nothing is sent after Stop")
    h.close(d)


def shortcuts():
    d = h.start("shortcuts", controllers(alpha_throttle=0.3))
    h.key(d, "Return")
    wait_for_write(d, 30, what="Enter starts the pump")
    h.key(d, "Return")
    time.sleep(0.3)
    writes = len(h.sim_writes(d))
    h.write_atomically(d.script, controllers(alpha_throttle=0.6))
    time.sleep(0.5)
    expect(len(h.sim_writes(d)) == writes, "a second Enter stops the pump")
    before = len(h.debug_texts(d))
    h.key(d, "r")
    time.sleep(0.3)
    expect(len(h.debug_texts(d)) == before, "a lower-case r refreshes nothing")
    h.key(d, "shift+r")
    h.wait_until(lambda: len(h.debug_texts(d)) == before + 2, what="Shift+R to list the controllers again")
    h.key(d, "alt+question")
    about = h.wait_until(lambda: h.find_window_named("About Tarvelix"), what="Alt+? to open About")
    h.xdotool("windowfocus", about)
    h.xdotool("key", "Escape")
    h.wait_until(lambda: h.find_window_named("About Tarvelix") is None, what="Escape to close About")
    h.close(d)


def curve_drag():
    d = h.start("curve_drag", controllers(alpha_throttle=0.4))
    h.click(d, "enable")
    expect(curve_pixel_background(d, h.screenshot(d)) == WHITE, "Enable turns the editor white")
    left, top, right, bottom = d.layout["curve"]
    point = (left + 2 * ((right - left) // 5), bottom - 40)  # the third point, height 40, where the mouse finds it
    h.drag(d, point, (point[0], bottom - 90))
    h.click(d, "start")
    value = wait_for_write(d, 90, what="the sent value to follow the dragged point (40% -> 90)")
    expect(value, "dragged curve")
    h.click(d, "save")
    expect(settings_lines()[6] == "CurveVals: 0,20,90,60,80,100", f"the dragged height is saved: {settings_lines()}")
    h.close(d)


def save_and_relaunch():
    d = h.start("save_and_relaunch", controllers(bravo_slider=0.25, bravo_z=0.8))
    h.click(d, "device")  # open the list, pick its second row (Bravo Quadrant)
    h.click(d, "device")
    h.key(d, "Down")
    h.key(d, "Tab")
    time.sleep(0.3)
    h.click(d, "axis")
    h.click(d, "axis")
    h.key(d, "Down")  # Slider, then Z Axis
    h.key(d, "Tab")
    time.sleep(0.3)
    h.click(d, "invert")
    h.click(d, "external")
    h.click(d, "enable")
    left, top, right, bottom = d.layout["curve"]
    point = (left + 2 * ((right - left) // 5), bottom - 40)  # the third point, at 40 %
    h.drag(d, point, (point[0], bottom - 90))
    h.click(d, "start")
    wait_for_write(d, 20, 0, what="Bravo's Z axis at 80%, inverted: 20, where the curve is unchanged")
    h.click(d, "save")
    h.close(d)
    expect(settings_lines() == [
        f"Device: {BRAVO}", "Axis: Z Axis", "Inverted: 1", "ChaseCamera: 0", "CockpitCamera: 1", "CurvesEnabled: 1",
        "CurveVals: 0,20,90,60,80,100", "Autostart: 1"], f"saved while running: {settings_lines()}")

    d = h.start("save_and_relaunch_again", controllers(bravo_slider=0.25, bravo_z=0.6), keep_settings=True)
    wait_for_write(d, 90, 0, what="the relaunch to start by itself: Bravo's Z axis at 60%, inverted to 40, curved to 90")
    expect(all(definition == 0 for definition, _ in h.sim_writes(d)), "External stays off after the relaunch")
    expect(curve_pixel_background(d, h.screenshot(d)) == WHITE, "the curve editor comes back enabled")
    h.close(d)

    gone = controllers(extra=f"unplugged {BRAVO}\n")
    d = h.start("save_and_relaunch_unplugged", gone, keep_settings=True)
    time.sleep(1.0)
    expect(h.sim_calls(d) == [], "with the stored controller unplugged nothing starts")
    h.close(d)


def unplug_while_running():
    d = h.start("unplug_while_running", controllers(alpha_throttle=0.6))
    h.click(d, "start")
    wait_for_write(d, 60)
    before = h.debug_texts(d)
    h.write_atomically(d.script, controllers(alpha_throttle=0.6, unplug_alpha=True))
    h.wait_until(lambda: h.debug_texts(d) == before + ["device: Bravo Quadrant"], what="the list to be refreshed")
    calls = h.sim_calls(d)
    expect(calls[-1].startswith("SimConnect_Close"), "the pump stopped and closed the link")
    time.sleep(0.5)
    expect(h.sim_calls(d) == calls, "nothing is sent after the controller went")
    expect(h.level_fill(d) == 0, "the level bar is empty")
    h.close(d)


def simulator_comes_back():
    d = h.start("simulator_comes_back", controllers(alpha_throttle=0.45), sim_control="TARVELIX_SIM_FAIL_OPEN=1\n")
    h.click(d, "start")
    h.wait_until(lambda: h.sim_calls(d), what="the first attempt")
    refused = status_text_right_edge(d, h.screenshot(d))
    expect(refused > 0 and h.level_fill(d) > 0, "refused: the status says so and the level bar still moves")
    h.write_atomically(d.sim_control, "")
    started = time.monotonic()
    wait_for_write(d, 45, what="the link to come back")
    expect(time.monotonic() - started < 2.0 + 1.5, "back within 40 ticks")
    connected = status_text_right_edge(d, h.screenshot(d))
    expect(0 < connected < refused, "the status text changes to the shorter 'Connected' text")
    h.close(d)


def damaged_settings():
    cases = {
        "empty": b"",
        "binary": bytes(range(256)) * 64,
        "huge": b"CurveVals: " + b"7," * 3_000_000 + b"\r\nInverted: 1",
        "corrupt": b"CurveVals: 10,x,30\r\nCurveVals: 5\r\nDevice: {nonsense}\r\nAutostart: 1\r\n\xff\xfeAxis",
        "utf16": "Inverted: 1\r\nAutostart: 1".encode("utf-16"),
    }
    for name, content in cases.items():
        d = h.start("damaged_" + name, controllers(), settings=content)
        expect(h.running(d), f"{name}: running")
        h.click(d, "save")
        lines = settings_lines()
        expect(lines[0] == f"Device: {ALPHA}" and lines[1] == "Axis: Throttle" and lines[7] == "Autostart: 0",
               f"{name}: the first controller, stopped: {lines}")
        expect(lines[6] == "CurveVals: 0,20,40,60,80,100", f"{name}: the default curve: {lines}")
        expect(lines[2] == "Inverted: 0", f"{name}: nothing past the first MiB is read: {lines[2]}")
        h.close(d)


def about_while_running():
    d = h.start("about_while_running", controllers(alpha_throttle=0.2))
    h.click(d, "start")
    wait_for_write(d, 20)
    h.click(d, "about")
    about = h.wait_until(lambda: h.find_window_named("About Tarvelix"), what="About")
    for position in (0.9, 0.55):
        percent = percent_of(position)
        h.write_atomically(d.script, controllers(alpha_throttle=position))
        wait_for_write(d, percent, what=f"{percent} while About is open")
    h.xdotool("windowfocus", about)
    h.xdotool("key", "Escape")
    h.wait_until(lambda: h.find_window_named("About Tarvelix") is None, what="Escape to close About")
    h.close(d)


SCENARIOS = {f.__name__: f for f in (first_launch, start_and_stop, shortcuts, curve_drag, save_and_relaunch,
                                       unplug_while_running, simulator_comes_back, damaged_settings,
                                       about_while_running)}

if __name__ == "__main__":
    names = sys.argv[1:] or list(SCENARIOS)
    for scenario in names:
        SCENARIOS[scenario]()
        print(f"{scenario}: passed")
