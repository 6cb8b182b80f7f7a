// Hours of flying in seconds: pump ticks through the program's window while the controllers and the simulator
// misbehave at random (fixed seed) and the pilot presses Refresh, Start and Stop now and then. After every tick
// the state must hold together; at the end nothing may have leaked. TARVELIX_SOAK_TICKS sets the length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "app/app_state.h"
#include "win/win_test_support.h"

namespace {
// The faults in force, each switched on and off at random.
struct Weather {
  bool stickGone = false, pedalsGone = false, otherProgram = false, refuseOpen = false, failWrites = false;
  double position = 0.5;
};

void apply(const Weather& w) {
  std::string script = deviceLine(1, "Alpha Stick") + "axis Slider 6 " + std::to_string(w.position) + " Throttle\n" +
                       deviceLine(2, "Bravo Pedals") + "axis RzAxis 5 0.3 Rudder\n";
  if (w.stickGone) script += "unplugged " + deviceGuid(1) + "\n";
  if (w.pedalsGone) script += "unplugged " + deviceGuid(2) + "\n";
  if (w.otherProgram) script += "fail Poll 0x80070005\nfail Acquire 0x80070005\n";
  useControllers(script);
  simulatorControl(std::string(w.refuseOpen ? "fail-open\n" : "") + (w.failWrites ? "fail-writes\n" : ""));
}

void change(Weather& w, std::mt19937& random) {
  bool* switches[] = {&w.stickGone, &w.pedalsGone, &w.otherProgram, &w.refuseOpen, &w.failWrites};
  const unsigned roll = random() % 100;
  if (roll < 5) *switches[roll] = !*switches[roll];
  if (roll >= 75) w.position = std::uniform_real_distribution<double>(-0.1, 1.1)(random);
}

// The state record's promises.
void expectConsistent(long tick) {
  ASSERT_TRUE(app.outputPercent >= 0 && app.outputPercent <= 100) << tick;
  ASSERT_EQ(app.curveSpline.size() + 1, app.curveValues.size()) << tick;
  for (HWND choice : {app.deviceList, app.axisList, app.refreshButton})
    ASSERT_EQ(IsWindowEnabled(choice) == FALSE, app.running) << tick;
  if (!app.running) return;
  const LRESULT row = comboSelection(app.deviceList);
  ASSERT_TRUE(row >= 0 && row < static_cast<LRESULT>(app.devices.size())) << tick;
  ASSERT_EQ(app.activeDevice, app.devices[static_cast<std::size_t>(row)]) << tick;
  ASSERT_TRUE(app.axisIndex == comboSelection(app.axisList) && app.axisIndex < static_cast<int>(app.axes.size()))
      << tick;
}
}  // namespace

TEST(Soak, StateHoldsTogetherAndNothingLeaks) {
  Weather weather;
  apply(weather);
  ASSERT_TRUE(createProgramWindow(""));
  app.curvesEnabled = true;
  std::mt19937 random(20261206);
  const char* length = std::getenv("TARVELIX_SOAK_TICKS");
  const long ticks = length != nullptr && std::atol(length) > 0 ? std::atol(length) : 3000;
  long starts = 0, stops = 0, gdiObjects = 0;
  for (long tick = 1; tick <= ticks && !HasFatalFailure(); ++tick) {
    change(weather, random);
    apply(weather);
    const unsigned press = random() % 400;
    if (!app.running && press < 20) routeCommand(cmdRefresh);
    if (press < (app.running ? 1u : 50u)) routeCommand(cmdStartStop);
    starts += app.running ? 1 : 0;
    SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0);
    stops += app.running ? 0 : 1;
    simulatorCalls();
    expectConsistent(tick);
    if (tick == 100) gdiObjects = gdiObjectCount();
  }
  std::printf("%ld ticks, %ld running, %ld stopped; GDI objects %ld -> %ld\n", ticks, starts, stops, gdiObjects,
              gdiObjectCount());
  EXPECT_TRUE(starts > ticks / 10 && stops > ticks / 10) << "the weather must let the pump run and stop";
  EXPECT_EQ(gdiObjectCount(), gdiObjects);
  DestroyWindow(app.mainWindow);
  for (int kind : {0, 1, 2}) EXPECT_EQ(liveObjects(kind), 0) << kind;
}
