// The zoom pump in process: the virtual controller in front of it, the simulator stand-in behind it.
#include <gtest/gtest.h>

#include "win/virtual_controller_support.h"

#include <commctrl.h>

#include "sim/sim_link.h"
#include "sim/zoom_pump.h"

namespace {
const std::string stick = deviceGuid(1);

std::string controller(double throttle, const std::string& extra = "") {
  return "device " + stick + " Alpha Stick\naxis Slider 6 " + std::to_string(throttle) +
         " Throttle\naxis XAxis 0 0.5 X Axis\n" + extra;
}

HWND button(const wchar_t* caption, int id) {
  return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 60, 20, app.mainWindow,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

std::wstring caption(HWND window) {
  wchar_t text[32] = {};
  GetWindowTextW(window, text, 32);
  return text;
}

class ZoomPump : public ::testing::Test {
 protected:
  void SetUp() override {
    resetInput();
    if (app.startButton == nullptr) {
      app.refreshButton = button(L"Refresh", cmdRefresh);
      app.startButton = button(L"Start", cmdStartStop);
      app.statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", app.mainWindow, statusBarId);
    }
    log = scratchPath("pump-sim.log");
    setEnv("TARVELIX_SIM_LOG", log);
    for (const char* name : {"TARVELIX_SIM_FAIL_OPEN", "TARVELIX_SIM_FAIL_DEFINE", "TARVELIX_SIM_FAIL_WRITES_AFTER"}) {
      setEnv(name, "");
    }
    app.inverted = app.curvesEnabled = false;
    app.cockpitCamera = app.chaseCamera = true;
    app.outputPercent = 0;
    writeScript(controller(0.5));
    refreshDevices();
  }
  void TearDown() override {
    if (app.running) stopPump();
  }

  // Runs ticks until tickCount is the given number; returns the writes of each tick, by tick count.
  std::vector<std::pair<int, std::vector<std::string>>> tickUntil(int lastTick) {
    std::vector<std::pair<int, std::vector<std::string>>> ticks;
    while (app.tickCount < lastTick) {
      writeFile(log, "");
      pumpTick();
      ticks.emplace_back(app.tickCount, readLines(log));
    }
    return ticks;
  }
  std::string log;
};

std::string write(int definition, int value) {
  return "SimConnect_SetDataOnSimObject handle=" + std::string("%H") + " define=" + std::to_string(definition) +
         " object=0 flags=0 count=0 size=4 value=" + std::to_string(value) + " -> 0";
}

// A log line with its handle number blanked, to compare against write().
std::string withoutHandle(std::string line) {
  const auto at = line.find("handle=");
  if (at == std::string::npos) return line;
  return line.replace(at + 7, line.find(' ', at) - at - 7, "%H");
}
}  // namespace

TEST_F(ZoomPump, StartLocksTheChoicesAndStopUnlocksThem) {
  startPump();
  EXPECT_TRUE(app.running);
  EXPECT_EQ(caption(app.startButton), L"Stop");
  for (HWND locked : {app.deviceList, app.axisList, app.refreshButton}) EXPECT_FALSE(IsWindowEnabled(locked));
  EXPECT_EQ(statusText(), L"Connected to Flight Simulator");
  stopPump();
  EXPECT_FALSE(app.running);
  EXPECT_EQ(caption(app.startButton), L"Start");
  for (HWND unlocked : {app.deviceList, app.axisList, app.refreshButton}) EXPECT_TRUE(IsWindowEnabled(unlocked));
  EXPECT_EQ(statusText(), L"");
  EXPECT_EQ(app.simHandle, nullptr);
}

TEST_F(ZoomPump, StartWithoutAnAxisChangesNothing) {
  writeScript("device " + stick + " Buttons Only\nbutton 0 Trigger\n");
  refreshDevices();
  ASSERT_EQ(comboSelection(app.axisList), CB_ERR);
  startPump();
  EXPECT_FALSE(app.running);
  EXPECT_EQ(caption(app.startButton), L"Start");
  EXPECT_TRUE(readLines(log).empty());
}

TEST_F(ZoomPump, SendsOnChangeAndEvery40thTick) {
  app.tickCount = 100;
  startPump();
  const auto ticks = tickUntil(161);
  for (const auto& [tick, writes] : ticks) {
    std::vector<std::string> blanked;
    for (const std::string& line : writes) blanked.push_back(withoutHandle(line));
    const bool sends = tick == 101 || tick % 40 == 0;
    const std::vector<std::string> expected = {write(0, 50), write(1, 50)};
    EXPECT_EQ(blanked, sends ? expected : std::vector<std::string>{}) << "tick " << tick;
  }
  writeScript(controller(0.25));
  writeFile(log, "");
  pumpTick();
  EXPECT_EQ(readLines(log).size(), 2u) << "a change is sent at once";
  EXPECT_EQ(app.outputPercent, 25);
}

TEST_F(ZoomPump, ReadingsOutsideTheRangeAreClamped) {
  struct Case {
    double position;
    bool inverted;
    int sent;
    int input;
  };
  const Case cases[] = {{1.5, false, 100, 100}, {-0.5, false, 0, 0}, {1.5, true, 0, 0}, {0.1, true, 90, 90}};
  startPump();
  for (const Case& c : cases) {
    app.inverted = c.inverted;
    writeScript(controller(c.position));
    pumpTick();
    EXPECT_EQ(app.outputPercent, c.sent) << c.position;
    EXPECT_EQ(app.inputPercent, c.input) << c.position;
  }
}

TEST_F(ZoomPump, UnpluggedControllerStopsThePumpAndRefreshesTheList) {
  writeScript(controller(0.5) + "device " + deviceGuid(2) + " Bravo Pedals\naxis RzAxis 5 0.5 Rudder\n");
  refreshDevices();
  app.tickCount = 41;  // the next tick is no 20th
  startPump();
  pumpTick();
  ASSERT_EQ(app.outputPercent, 50);
  writeScript(controller(0.5, "unplugged " + stick + "\n") + "device " + deviceGuid(2) +
              " Bravo Pedals\naxis RzAxis 5 0.5 Rudder\n");
  pumpTick();
  EXPECT_FALSE(app.running);
  EXPECT_EQ(app.outputPercent, 0);
  EXPECT_EQ(caption(app.startButton), L"Start");
  EXPECT_EQ(statusText(), L"");
  EXPECT_EQ(app.simHandle, nullptr);
  EXPECT_EQ(comboRows(app.deviceList), std::vector<std::wstring>{L"Bravo Pedals"});
  EXPECT_EQ(comboRows(app.axisList), std::vector<std::wstring>{L"Rudder"});
}

TEST_F(ZoomPump, FailedReadingOn20thTickKeepsRunningAndSendsNothing) {
  app.tickCount = 18;
  startPump();
  pumpTick();  // 19
  ASSERT_EQ(app.outputPercent, 50);
  writeScript(controller(0.5, "fail GetDeviceState 0x80004005\n"));
  writeFile(log, "");
  pumpTick();  // 20: the failure is let go by
  EXPECT_TRUE(app.running);
  EXPECT_EQ(app.outputPercent, 50);
  EXPECT_TRUE(readLines(log).empty());
  pumpTick();  // 21: now it stops
  EXPECT_FALSE(app.running);
}

TEST_F(ZoomPump, RefusedSimulatorIsRetriedEvery40thTick) {
  setEnv("TARVELIX_SIM_FAIL_OPEN", "1");
  app.tickCount = 75;
  startPump();
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
  tickUntil(79);
  EXPECT_EQ(app.outputPercent, 50) << "the value is still computed without a link";
  auto ticks = tickUntil(80);
  ASSERT_EQ(ticks.back().second.size(), 1u);
  EXPECT_EQ(ticks.back().second[0].rfind("SimConnect_Open", 0), 0u);
  setEnv("TARVELIX_SIM_FAIL_OPEN", "");
  for (const auto& [tick, lines] : tickUntil(119)) EXPECT_TRUE(lines.empty()) << "tick " << tick;
  ticks = tickUntil(120);
  const std::vector<std::string>& lines = ticks.back().second;
  ASSERT_EQ(lines.size(), 5u);  // open, two definitions, the value sent again
  EXPECT_EQ(withoutHandle(lines[3]), write(0, 50));
  EXPECT_EQ(withoutHandle(lines[4]), write(1, 50));
  EXPECT_EQ(statusText(), L"Connected to Flight Simulator");
}

TEST_F(ZoomPump, FailedCockpitWriteSkipsTheChaseWriteAndKeepsPumping) {
  app.tickCount = 1;
  startPump();
  setEnv("TARVELIX_SIM_FAIL_WRITES_AFTER", "0");
  writeFile(log, "");
  pumpTick();
  const std::vector<std::string> lines = readLines(log);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("define=0"), std::string::npos);
  EXPECT_EQ(lines[1].rfind("SimConnect_Close", 0), 0u);
  EXPECT_TRUE(app.running);
  EXPECT_EQ(app.simHandle, nullptr);
}

TEST_F(ZoomPump, TickCountRunsOnAcrossStopAndStart) {
  app.tickCount = 30;
  startPump();
  tickUntil(35);
  stopPump();
  startPump();
  const auto ticks = tickUntil(40);
  EXPECT_EQ(ticks.front().first, 36);
  EXPECT_EQ(ticks.back().second.size(), 2u) << "the 40th tick of the running count resends";
}

TEST_F(ZoomPump, OtherProgramWithPriorityKeepsTheLastPosition) {
  app.tickCount = 1;
  startPump();
  pumpTick();
  ASSERT_EQ(app.outputPercent, 50);
  writeScript(controller(0.9, "fail Poll 0x80070005\nfail Acquire 0x80070005\n"));
  pumpTick();
  EXPECT_TRUE(app.running);
  EXPECT_EQ(app.outputPercent, 50);
}
