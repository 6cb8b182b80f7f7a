// Hours of flying in seconds: pump ticks through the real main window while the controller and the simulator
// misbehave at random (fixed seed). After every tick the state must hold together; at the end nothing may have
// grown. TARVELIX_SOAK_TICKS sets the length (make soak: 100,000).
#include <gtest/gtest.h>

#include "win/virtual_controller_support.h"

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "app/main_window.h"
#include "settings/settings_file.h"
#include "sim/zoom_pump.h"

namespace fs = std::filesystem;

namespace {
const std::string stick = deviceGuid(1);
const std::string pedals = deviceGuid(2);

// The faults in force; each tick may switch one of them on or off.
struct Weather {
  bool stickUnplugged = false;
  bool pedalsUnplugged = false;
  bool otherAppHasPriority = false;
  bool refuseOpen = false;
  int failDefinition = -1;
  bool failWrites = false;
  double position = 0.5;
};

std::string scriptFor(const Weather& w) {
  std::string script = "device " + stick + " Alpha Stick\naxis Slider 6 " + std::to_string(w.position) +
                       " Throttle\naxis XAxis 0 0.5 X Axis\ndevice " + pedals + " Bravo Pedals\naxis RzAxis 5 " +
                       std::to_string(1 - w.position) + " Rudder\n";
  if (w.stickUnplugged) script += "unplugged " + stick + "\n";
  if (w.pedalsUnplugged) script += "unplugged " + pedals + "\n";
  if (w.otherAppHasPriority) script += "fail Poll 0x80070005\nfail Acquire 0x80070005\n";
  return script;
}

void applyWeather(const Weather& w) {
  writeScript(scriptFor(w));
  setEnv("TARVELIX_SIM_FAIL_OPEN", w.refuseOpen ? "1" : "");
  setEnv("TARVELIX_SIM_FAIL_DEFINE", w.failDefinition >= 0 ? std::to_string(w.failDefinition) : "");
  setEnv("TARVELIX_SIM_FAIL_WRITES_AFTER", w.failWrites ? "0" : "");
}

// One random change of the weather; false when it stays as it is.
bool changeWeather(Weather& w, std::mt19937& random) {
  switch (std::uniform_int_distribution<int>(0, 99)(random)) {
    case 0:
      w.stickUnplugged = !w.stickUnplugged;
      break;
    case 7:
      w.pedalsUnplugged = !w.pedalsUnplugged;
      break;
    case 1:
      w.otherAppHasPriority = !w.otherAppHasPriority;
      break;
    case 2:
    case 3:
      w.refuseOpen = !w.refuseOpen;
      break;
    case 4:
      w.failDefinition = w.failDefinition >= 0 ? -1 : static_cast<int>(random() % 2);
      break;
    case 5:
    case 6:
      w.failWrites = !w.failWrites;
      break;
    default:
      if (random() % 4 != 0) return false;
      w.position = std::uniform_real_distribution<double>(-0.1, 1.1)(random);
  }
  return true;
}

bool enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

// The state record's promises, checked after every tick.
void expectConsistent(long tick) {
  ASSERT_GE(app.outputPercent, 0) << tick;
  ASSERT_LE(app.outputPercent, 100) << tick;
  ASSERT_EQ(static_cast<int>(app.curveValues.size()), app.curvePointCount) << tick;
  ASSERT_EQ(static_cast<int>(app.curveSpline.size()), app.curvePointCount - 1) << tick;
  ASSERT_EQ(enabled(app.deviceList), !app.running) << tick;
  ASSERT_EQ(enabled(app.axisList), !app.running) << tick;
  ASSERT_EQ(enabled(app.refreshButton), !app.running) << tick;
  if (!app.running) return;
  const LRESULT row = comboSelection(app.deviceList);
  ASSERT_GE(row, 0) << tick;
  ASSERT_LT(row, static_cast<LRESULT>(app.devices.size())) << tick;
  ASSERT_EQ(app.activeDevice, app.devices[static_cast<std::size_t>(row)]) << tick;
  ASSERT_EQ(app.axisIndex, comboSelection(app.axisList)) << tick;
  ASSERT_GE(app.axisIndex, 0) << tick;
  ASSERT_LT(app.axisIndex, static_cast<int>(app.axes.size())) << tick;
}

long soakTicks() {
  const char* text = std::getenv("TARVELIX_SOAK_TICKS");
  const long ticks = text != nullptr ? std::strtol(text, nullptr, 10) : 0;
  return ticks > 0 ? ticks : 5000;
}

void press(int command) { SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

// What a pilot does now and then: Refresh and Start while stopped, Stop while running.
long pilotActs(std::mt19937& random) {
  const unsigned roll = random() % 400;
  if (app.running) {
    if (roll == 0) press(cmdStartStop);
    return 0;
  }
  if (roll < 20) press(cmdRefresh);
  if (roll < 50) press(cmdStartStop);
  return app.running ? 1 : 0;
}
}  // namespace

TEST(Soak, StateHoldsTogetherAndNothingGrows) {
  ASSERT_TRUE(moveSettingsAside());
  setEnv("TARVELIX_SIM_LOG", "");
  Weather weather;
  applyWeather(weather);
  ASSERT_TRUE(createProgramWindow());
  app.curvesEnabled = true;  // the curve runs too

  std::mt19937 random(20261206);
  const long ticks = soakTicks();
  const long warmUp = std::min(1000L, ticks / 5);
  long handlesAfterWarmUp = 0, stops = 0, starts = 0;
  long long bytesAfterWarmUp = 0;
  for (long tick = 1; tick <= ticks; ++tick) {
    if (changeWeather(weather, random)) applyWeather(weather);
    starts += pilotActs(random);
    const bool wasRunning = app.running;
    SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0);
    stops += wasRunning && !app.running ? 1 : 0;
    pumpMessages();
    expectConsistent(tick);
    if (HasFatalFailure()) break;
    if (tick == warmUp) {
      handlesAfterWarmUp = handleCount();
      bytesAfterWarmUp = privateBytes();
    }
  }
  const long handlesAtEnd = handleCount();
  const long long bytesAtEnd = privateBytes();
  std::printf("%ld ticks, %ld starts, %ld stops; handles %ld -> %ld, private bytes %lld -> %lld\n", ticks, starts,
              stops, handlesAfterWarmUp, handlesAtEnd, bytesAfterWarmUp, bytesAtEnd);
  EXPECT_GT(starts, 2) << "the weather must let the pump start again";
  EXPECT_GT(stops, 2) << "and make it stop now and then";
  EXPECT_LE(handlesAtEnd, handlesAfterWarmUp + 2);
  EXPECT_LE(bytesAtEnd, bytesAfterWarmUp + 512 * 1024);

  DestroyWindow(app.mainWindow);
  EXPECT_TRUE(putSettingsBack());
}
