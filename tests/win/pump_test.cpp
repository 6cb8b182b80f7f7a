// The zoom pump in the program's window: the virtual controller in front of it, the simulator stand-in
// behind it. Ticks are sent to the window by hand, so that the test counts them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>

#include "app/app_state.h"
#include "win/win_test_support.h"

namespace {
// The simulator stand-in's call log and its requests ("fail-open", "fail-define 1", "fail-writes").
const std::string simulatorLog = std::to_string(GetCurrentProcessId()) + "-simulator.log";
const std::string simulatorRequests = std::to_string(GetCurrentProcessId()) + "-simulator-control.txt";

void simulatorControl(const std::string& requests) { std::ofstream(simulatorRequests) << requests; }

// The calls the stand-in received since the last look, with handle numbers left out.
std::vector<std::string> simulatorCalls() {
  std::vector<std::string> calls;
  std::ifstream log(simulatorLog);
  for (std::string line; std::getline(log, line);)
    calls.push_back(std::regex_replace(line, std::regex(" handle=\\d+"), ""));
  log.close();
  std::ofstream(simulatorLog, std::ios::trunc);
  return calls;
}

bool startWith(const std::string& controllers) {
  SetEnvironmentVariableA("TARVELIX_SIM_LOG", simulatorLog.c_str());
  SetEnvironmentVariableA("TARVELIX_SIM_CONTROL", simulatorRequests.c_str());
  simulatorControl("");
  simulatorCalls();
  return createProgramWindow(controllers);
}

std::string stick(double throttle, const std::string& extra = "") {
  return deviceLine(1, "Alpha Stick") + "axis Slider 6 " + std::to_string(throttle) + " Throttle\n" + extra +
         deviceLine(2, "Bravo Pedals") + "axis RzAxis 5 0.5 Rudder\n";
}

// The stand-in's calls in short, "Open Define0 Write1=50 Close"; "!" marks a failed one.
std::string calls() {
  const std::map<std::string, std::string> names = {
      {"Open", "Open"}, {"AddToDataDefinition", "Define"}, {"SetDataOnSimObject", "Write"}, {"Close", "Close"}};
  const std::regex call("SimConnect_(\\w+)(?: define=(\\d))?(?:.* value=(\\d+))?.* -> (-?\\d+)");
  std::string shortened;
  for (const std::string& line : simulatorCalls()) {
    std::smatch m;
    std::regex_match(line, m, call);
    shortened.append(shortened.empty() ? "" : " ").append(names.at(m[1])).append(m[2].str());
    shortened.append(m[3].matched ? "=" : "").append(m[3].str()).append(m[4] == "0" ? "" : "!");
  }
  return shortened;
}

void tick() { SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0); }

// Ticks until tickCount is the given one; the calls of every tick that made any, by tick count.
std::map<int, std::string> tickUntil(int last) {
  std::map<int, std::string> made;
  while (app.tickCount < last) {
    tick();
    if (std::string c = calls(); !c.empty()) made[app.tickCount] = c;
  }
  return made;
}
}  // namespace

TEST(ZoomPump, StartLocksTheChoiceAndOpensTheLinkStopUndoesIt) {
  ASSERT_TRUE(startWith(deviceLine(1, "Buttons") + "object Button 0x4 0 0 Trigger\n"));
  routeCommand(cmdStartStop);
  EXPECT_TRUE(!app.running && calls().empty()) << "no axis to read: nothing starts";
  ASSERT_TRUE(startWith(stick(0.5)));
  routeCommand(cmdStartStop);
  EXPECT_TRUE(app.running && windowText(app.startButton) == L"Stop");
  for (HWND locked : {app.deviceList, app.axisList, app.refreshButton}) EXPECT_FALSE(IsWindowEnabled(locked));
  EXPECT_EQ(windowText(app.statusBar), L"Connected to Flight Simulator");
  const std::string add = "SimConnect_AddToDataDefinition define=";
  EXPECT_EQ(simulatorCalls(),
            (std::vector<std::string>{
                "SimConnect_Open name=\"Tarvelix Helper\" window=0000000000000000 userEvent=0 "
                "event=0000000000000000 config=0 -> 0",
                add + "0 datum=\"COCKPIT CAMERA ZOOM\" units=\"percentage\" type=1 epsilon=0 datumId=4294967295 -> 0",
                add + "1 datum=\"CHASE CAMERA ZOOM\" units=\"percentage\" type=1 epsilon=0 datumId=4294967295 -> 0"}));
  tick();
  EXPECT_EQ(simulatorCalls().front(),
            "SimConnect_SetDataOnSimObject define=0 object=0 flags=0 count=0 size=4 value=50 -> 0");
  routeCommand(cmdStartStop);
  EXPECT_TRUE(!app.running && windowText(app.startButton) == L"Start" && app.outputPercent == 0);
  for (HWND unlocked : {app.deviceList, app.axisList, app.refreshButton}) EXPECT_TRUE(IsWindowEnabled(unlocked));
  EXPECT_TRUE(windowText(app.statusBar).empty() && app.simHandle == nullptr);
  EXPECT_EQ(calls(), "Close");
}

TEST(ZoomPump, SendsOnChangeAndEvery40thTickOfTheRunningCount) {
  ASSERT_TRUE(startWith(stick(0.5)));
  app.tickCount = 100;
  routeCommand(cmdStartStop);
  calls();
  const std::string both = "Write0=50 Write1=50";
  EXPECT_EQ(tickUntil(160), (std::map<int, std::string>{{101, both}, {120, both}, {160, both}}));
  useControllers(stick(0.25));
  tick();
  EXPECT_EQ(calls(), "Write0=25 Write1=25") << "a change goes at once";
  routeCommand(cmdStartStop);
  routeCommand(cmdStartStop);
  calls();
  EXPECT_EQ(tickUntil(200), (std::map<int, std::string>{{162, "Write0=25 Write1=25"}, {200, "Write0=25 Write1=25"}}))
      << "the count runs on across Stop and Start";
  routeCommand(cmdStartStop);
  simulatorControl("fail-open");
  routeCommand(cmdStartStop);
  EXPECT_EQ(calls(), "Close Open!");
  EXPECT_EQ(tickUntil(279), (std::map<int, std::string>{{240, "Open!"}})) << "a refused link is tried every 40th tick";
  simulatorControl("");
  EXPECT_EQ(tickUntil(280), (std::map<int, std::string>{{280, "Open Define0 Define1 Write0=25 Write1=25"}}));
  EXPECT_EQ(windowText(app.statusBar), L"Connected to Flight Simulator");
}

TEST(ZoomPump, LostControllerStopsThePumpExceptOnA20thTick) {
  ASSERT_TRUE(startWith(stick(0.5)));
  app.tickCount = 17;
  routeCommand(cmdStartStop);
  tick();  // 18
  calls();
  useControllers(stick(0.9, "fail Poll 0x80070005\nfail Acquire 0x80070005\n"));
  tick();  // 19: another program has the device; the last position stands
  EXPECT_TRUE(app.running && app.outputPercent == 50);
  useControllers(stick(0.5, "fail GetDeviceState 0x80004005\n"));
  tick();  // 20: a failed reading is let go by
  EXPECT_TRUE(app.running && app.outputPercent == 50 && calls().empty());
  useControllers(stick(0.5, "unplugged " + deviceGuid(1) + "\n"));
  tick();  // 21
  EXPECT_TRUE(!app.running && app.outputPercent == 0 && windowText(app.startButton) == L"Start");
  EXPECT_TRUE(calls() == "Close" && windowText(app.statusBar).empty());
  EXPECT_EQ(rowsOf(app.deviceList) + rowsOf(app.axisList), L"[Bravo Pedals][Rudder]") << "the list is enumerated again";
}

TEST(ZoomPump, SimulatorFailuresAreShownAndTheCamerasChooseTheWrites) {
  struct Case {
    std::string requests;
    bool cockpit, chase;
    std::string calls;  // at Start and at the first tick
    bool linked;
  };
  const Case cases[] = {{"", true, true, "Open Define0 Define1 Write0=50 Write1=50", true},
                        {"", true, false, "Open Define0 Define1 Write0=50", true},
                        {"", false, true, "Open Define0 Define1 Write1=50", true},
                        {"", false, false, "Open Define0 Define1", true},
                        {"fail-open", true, true, "Open!", false},
                        {"fail-define 0", true, true, "Open Define0! Write0=50 Write1=50", true},
                        {"fail-define 1", true, true, "Open Define0 Define1! Write0=50 Write1=50", true},
                        {"fail-writes", true, true, "Open Define0 Define1 Write0=50! Close", false},
                        {"fail-writes", false, true, "Open Define0 Define1 Write1=50! Close", false}};
  ASSERT_TRUE(startWith(stick(0.5)));
  for (const Case& c : cases) {
    simulatorControl(c.requests);
    app.cockpitCamera = c.cockpit;
    app.chaseCamera = c.chase;
    routeCommand(cmdStartStop);
    tick();
    EXPECT_EQ(calls(), c.calls) << c.requests << c.cockpit << c.chase;
    EXPECT_EQ(app.simHandle != nullptr, c.linked) << c.requests;
    const bool connected = c.requests.empty();
    EXPECT_EQ(windowText(app.statusBar),
              connected ? L"Connected to Flight Simulator" : L"No connection to Flight Simulator");
    EXPECT_TRUE(app.running && app.outputPercent == 50) << "the pump goes on whatever the link does";
    routeCommand(cmdStartStop);
    calls();
  }
}
