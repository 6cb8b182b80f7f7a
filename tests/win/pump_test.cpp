// The zoom pump in the program's window: the virtual controller in front of it, the simulator stand-in
// behind it. Ticks are sent to the window by hand, so that the test counts them.
#include <gtest/gtest.h>

#include <map>

#include "app/app_state.h"
#include "win/win_test_support.h"

namespace {
std::string stick(double throttle, const std::string& extra = "") {
  return deviceLine(1, "Alpha Stick") + "axis Slider 6 " + std::to_string(throttle) + " Throttle\n" + extra +
         deviceLine(2, "Bravo Pedals") + "axis RzAxis 5 0.5 Rudder\n";
}

// The stand-in's calls in short: Open, Define0, Write1=50, Close; "!" marks a failed one.
std::vector<std::string> calls() {
  const std::map<std::string, std::string> names = {
      {"Open", "Open"}, {"AddToDataDefinition", "Define"}, {"SetDataOnSimObject", "Write"}, {"Close", "Close"}};
  std::vector<std::string> shortened;
  for (const std::string& line : simulatorCalls()) {
    std::string call = names.at(line.substr(11, line.find(' ') - 11));
    if (const auto at = line.find("define="); at != std::string::npos) call += line[at + 7];
    if (const auto at = line.find("value="); at != std::string::npos) {
      call.append("=").append(line, at + 6, line.find(' ', at) - at - 6);
    }
    shortened.push_back(call + (line.substr(line.rfind(' ') + 1) == "0" ? "" : "!"));
  }
  return shortened;
}

void tick() { SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0); }

// Ticks until tickCount is the given one; the calls of every tick that made any, by tick count.
std::map<int, std::vector<std::string>> tickUntil(int last) {
  std::map<int, std::vector<std::string>> made;
  while (app.tickCount < last) {
    tick();
    if (std::vector<std::string> c = calls(); !c.empty()) made[app.tickCount] = c;
  }
  return made;
}

using Calls = std::vector<std::string>;
}  // namespace

TEST(ZoomPump, StartLocksTheChoiceAndOpensTheLinkStopUndoesIt) {
  ASSERT_TRUE(createProgramWindow(deviceLine(1, "Buttons") + "object Button 0x4 0 0 Trigger\n"));
  routeCommand(cmdStartStop);
  EXPECT_FALSE(app.running) << "no axis to read";
  EXPECT_TRUE(calls().empty());
  DestroyWindow(app.mainWindow);

  ASSERT_TRUE(createProgramWindow(stick(0.5)));
  routeCommand(cmdStartStop);
  EXPECT_TRUE(app.running && windowText(app.startButton) == L"Stop");
  for (HWND locked : {app.deviceList, app.axisList, app.refreshButton}) EXPECT_FALSE(IsWindowEnabled(locked));
  EXPECT_EQ(windowText(app.statusBar), L"Connected to Flight Simulator");
  const std::string add = "SimConnect_AddToDataDefinition define=";
  EXPECT_EQ(
      simulatorCalls(),
      (Calls{"SimConnect_Open name=\"Tarvelix Helper\" window=0000000000000000 userEvent=0 event=0000000000000000 "
             "config=0 -> 0",
             add + "0 datum=\"COCKPIT CAMERA ZOOM\" units=\"percentage\" type=1 epsilon=0 datumId=4294967295 -> 0",
             add + "1 datum=\"CHASE CAMERA ZOOM\" units=\"percentage\" type=1 epsilon=0 datumId=4294967295 -> 0"}));
  tick();
  EXPECT_EQ(simulatorCalls().front(),
            "SimConnect_SetDataOnSimObject define=0 object=0 flags=0 count=0 size=4 value=50 -> 0");
  routeCommand(cmdStartStop);
  EXPECT_TRUE(!app.running && windowText(app.startButton) == L"Start" && app.outputPercent == 0);
  for (HWND unlocked : {app.deviceList, app.axisList, app.refreshButton}) EXPECT_TRUE(IsWindowEnabled(unlocked));
  EXPECT_EQ(windowText(app.statusBar), L"");
  EXPECT_EQ(calls(), Calls{"Close"});
  EXPECT_EQ(app.simHandle, nullptr);
}

TEST(ZoomPump, SendsOnChangeAndEvery40thTickOfTheRunningCount) {
  ASSERT_TRUE(createProgramWindow(stick(0.5)));
  app.tickCount = 100;
  routeCommand(cmdStartStop);
  calls();
  const Calls both = {"Write0=50", "Write1=50"};
  EXPECT_EQ(tickUntil(160), (std::map<int, Calls>{{101, both}, {120, both}, {160, both}}));
  useControllers(stick(0.25));
  tick();
  EXPECT_EQ(calls(), (Calls{"Write0=25", "Write1=25"})) << "a change goes at once";
  routeCommand(cmdStartStop);
  routeCommand(cmdStartStop);
  calls();
  EXPECT_EQ(tickUntil(200),
            (std::map<int, Calls>{{162, {"Write0=25", "Write1=25"}}, {200, {"Write0=25", "Write1=25"}}}))
      << "the count runs on across Stop and Start";
}

TEST(ZoomPump, LostControllerStopsThePumpExceptOnA20thTick) {
  ASSERT_TRUE(createProgramWindow(stick(0.5)));
  app.tickCount = 17;
  routeCommand(cmdStartStop);
  tick();  // 18
  calls();
  useControllers(stick(0.9, "fail Poll 0x80070005\nfail Acquire 0x80070005\n"));
  tick();  // 19: another program has the device; the last position stands
  EXPECT_TRUE(app.running && app.outputPercent == 50);
  useControllers(stick(0.5, "fail GetDeviceState 0x80004005\n"));
  tick();  // 20: a failed reading is let go by
  EXPECT_TRUE(app.running && app.outputPercent == 50);
  EXPECT_TRUE(calls().empty());
  useControllers(stick(0.5, "unplugged " + deviceGuid(1) + "\n"));
  tick();  // 21
  EXPECT_TRUE(!app.running && app.outputPercent == 0 && windowText(app.startButton) == L"Start");
  EXPECT_EQ(calls(), Calls{"Close"});
  EXPECT_EQ(windowText(app.statusBar), L"");
  EXPECT_EQ(comboRows(app.deviceList), std::vector<std::wstring>{L"Bravo Pedals"}) << "the list is enumerated again";
  EXPECT_EQ(comboRows(app.axisList), std::vector<std::wstring>{L"Rudder"});
}

TEST(ZoomPump, SimulatorFailuresAreShownAndTheCamerasChooseTheWrites) {
  struct Case {
    std::string requests;
    bool cockpit, chase;
    Calls calls;  // at Start and at the first tick
    bool linked;
    const wchar_t* status;
  };
  const wchar_t* connected = L"Connected to Flight Simulator";
  const wchar_t* notConnected = L"No connection to Flight Simulator";
  const Calls opened = {"Open", "Define0", "Define1"};
  const auto with = [](Calls c, const Calls& more) {
    c.insert(c.end(), more.begin(), more.end());
    return c;
  };
  const Case cases[] = {
      {"", true, true, with(opened, {"Write0=50", "Write1=50"}), true, connected},
      {"", true, false, with(opened, {"Write0=50"}), true, connected},
      {"", false, true, with(opened, {"Write1=50"}), true, connected},
      {"", false, false, opened, true, connected},
      {"fail-open", true, true, {"Open!"}, false, notConnected},
      {"fail-define 0", true, true, {"Open", "Define0!", "Write0=50", "Write1=50"}, true, notConnected},
      {"fail-define 1", true, true, {"Open", "Define0", "Define1!", "Write0=50", "Write1=50"}, true, notConnected},
      {"fail-writes", true, true, with(opened, {"Write0=50!", "Close"}), false, notConnected},
      {"fail-writes", false, true, with(opened, {"Write1=50!", "Close"}), false, notConnected},
  };
  ASSERT_TRUE(createProgramWindow(stick(0.5)));
  for (const Case& c : cases) {
    simulatorControl(c.requests);
    app.cockpitCamera = c.cockpit;
    app.chaseCamera = c.chase;
    routeCommand(cmdStartStop);
    tick();
    EXPECT_EQ(calls(), c.calls) << c.requests << c.cockpit << c.chase;
    EXPECT_EQ(app.simHandle != nullptr, c.linked) << c.requests;
    EXPECT_EQ(windowText(app.statusBar), c.status) << c.requests;
    EXPECT_TRUE(app.running && app.outputPercent == 50) << "the pump goes on whatever the link does";
    routeCommand(cmdStartStop);
    calls();
  }
}

TEST(ZoomPump, RefusedLinkIsTriedAgainEvery40thTick) {
  ASSERT_TRUE(createProgramWindow(stick(0.5)));
  simulatorControl("fail-open");
  app.tickCount = 75;
  routeCommand(cmdStartStop);
  EXPECT_EQ(calls(), Calls{"Open!"});
  EXPECT_EQ(tickUntil(119), (std::map<int, Calls>{{80, {"Open!"}}}));
  simulatorControl("");
  EXPECT_EQ(tickUntil(120), (std::map<int, Calls>{{120, {"Open", "Define0", "Define1", "Write0=50", "Write1=50"}}}));
  EXPECT_EQ(windowText(app.statusBar), L"Connected to Flight Simulator");
}
