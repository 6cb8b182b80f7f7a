// The zoom pump in the program's window: the virtual controller in front of it, the simulator stand-in
// behind it. Ticks are sent to the window by hand, so that the test counts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/zoom_pump.h"
#include "win/win_test_support.h"

namespace {
// The simulator stand-in's log and its requests ("fail-open", "fail-define 1", "fail-writes").
const std::string simulatorLog = std::to_string(GetCurrentProcessId()) + "-simulator.log";
const std::string simulatorRequests = std::to_string(GetCurrentProcessId()) + "-simulator-control.txt";

void simulatorControl(const std::string& requests) { std::ofstream(simulatorRequests) << requests; }

// The simulator's calls since the last look, "Open Define0 Write1=50 Close"; "!" marks a failed one.
std::string calls() {
  std::ifstream log(simulatorLog);
  std::string all, call;
  while (log >> call) all.append(all.empty() ? "" : " ").append(call);
  log.close();
  std::ofstream(simulatorLog, std::ios::trunc);
  return all;
}

// Where the program looks for SimConnect.dll: beside the test program.
const std::filesystem::path beside = [] {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).replace_filename(L"SimConnect.dll");
}();

std::string stick(double throttle, const std::string& extra = "") {
  return deviceLine(1, "Alpha Stick") + "axis Slider 6 " + std::to_string(throttle) + " Throttle\n" + extra +
         deviceLine(2, "Bravo Pedals") + "axis RzAxis 5 0.5 Rudder\n";
}

bool startWith(const std::string& controllers, const std::string& settings = "") {
  SetEnvironmentVariableA("TARVELIX_SIM_LOG", simulatorLog.c_str());
  SetEnvironmentVariableA("TARVELIX_SIM_CONTROL", simulatorRequests.c_str());
  simulatorControl("");
  calls();
  return createProgramWindow(controllers, settings);
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

// The Start button's caption, whether the choices are locked, the status bar.
std::wstring shown() {
  const bool locked =
      !IsWindowEnabled(app.deviceList) && !IsWindowEnabled(app.axisList) && !IsWindowEnabled(app.refreshButton);
  return windowText(app.startButton) + (locked ? L" locked " : L" ") + windowText(app.statusBar);
}
}  // namespace

TEST(ZoomPump, SendsOnChangeAndEvery40thTickToTheCamerasTicked) {
  // Until its first report after Acquire a device may read empty: inverted, that would flash 100.
  ASSERT_TRUE(startWith(stick(0.5, "fail GetDeviceState 0 times 1\n")));
  click(app.invertCheckBox);
  app.tickCount = 100;
  routeCommand(IDC_START_STOP);
  calls();
  const std::string both = "Write0=50 Write1=50";
  EXPECT_EQ(tickUntil(160), (std::map<int, std::string>{{101, "Answer"}, {102, both}, {120, both}, {160, both}}));
  useControllers(stick(0.25, "fail GetDeviceState 0 times 1\n"));
  app.activeDevice->Unacquire();  // as DirectInput may take it away: the next read acquires it again
  tick(), tick();
  EXPECT_EQ(calls(), "Write0=75 Write1=75") << "a change goes once the stick is acquired again";
  // A screen reader is told a moving zoom at most every fifth tick; where it settles, everyone at once.
  std::wstring named;
  for (BOOL reader : {FALSE, TRUE, FALSE}) {
    SystemParametersInfoW(SPI_SETSCREENREADER, reader, nullptr, SPIF_SENDCHANGE | SPIF_UPDATEINIFILE);
    for (double throttle : {0.3, 0.35, 0.4, 0.45, 0.5, 0.55, 0.4, 0.4}) {
      useControllers(stick(throttle));
      tick();
      named += windowText(app.levelBarView).substr(5, 2) + L" ";
    }
  }
  EXPECT_EQ(named, L"50 50 50 50 50 50 50 60 60 60 60 60 50 50 50 60 60 60 60 60 60 60 60 60 ");
  routeCommand(IDC_START_STOP);
  routeCommand(IDC_START_STOP);
  calls();
  EXPECT_EQ(tickUntil(200),
            (std::map<int, std::string>{{187, "Answer Write0=60 Write1=60"}, {200, "Write0=60 Write1=60"}}))
      << "the count runs on across Stop and Start";
  click(app.cockpitCheckBox);
  click(app.externalCheckBox);
  useControllers(stick(0.9));
  tick();
  EXPECT_EQ(calls(), "") << "no camera: nothing sent";
  click(app.cockpitCheckBox);
  tick();
  EXPECT_EQ(calls(), "Write0=10") << "a camera ticked while running gets the value at once";
}

TEST(ZoomPump, ListensToTheSimulatorItsAnswerItsExitABrokenPipeAndRefusedVariables) {
  ASSERT_TRUE(startWith(stick(0.5)));
  app.tickCount = 100;
  simulatorControl("answer-never");
  routeCommand(IDC_START_STOP);
  const std::wstring on = L"Connected to Flight Simulator", off = L"No connection to Flight Simulator";
  const std::wstring refused = L"Flight Simulator refused ";
  // The simulator's requests and the throttle from a tick on, the tick ticked to, the calls of those ticks, the
  // status after them.
  const std::tuple<std::string, double, int, std::string, std::wstring> steps[] = {
      {"answer-never", 0.6, 103, "Open Define0 Define1", L"Waiting for Flight Simulator to answer"},  // no write
      {"", 0.6, 104, "Answer Write0=60 Write1=60", on},  // then the zoom of the moment
      {"refuse-data 1", 0.7, 105, "Write0=70 Write1=70", on},
      {"refuse-data 1", 0.8, 107, "Exception20 Write0=80 Write1=80 Exception20", refused + L"CHASE CAMERA ZOOM"},
      {"quit", 0.8, 108, "Quit Close", off},
      {"quit", 0.8, 120, "Open!", off},  // tried again every 40th tick
      {"refuse-name 0", 0.9, 160, "Open Define0 Define1 Answer Exception7 Write1=90", refused + L"COCKPIT CAMERA ZOOM"},
      {"crash", 0.6, 161, "Dispatch! Close", off}};  // the writes would still be taken
  for (const auto& [requests, throttle, last, expected, status] : steps) {
    simulatorControl(requests);
    useControllers(stick(throttle));
    std::string made;
    for (const auto& [tick, c] : tickUntil(last)) made.append(made.empty() ? "" : " ").append(c);
    EXPECT_EQ(made, expected) << "to tick " << last;
    EXPECT_EQ(statusText(), status) << "at tick " << last;
  }
}

TEST(ZoomPump, StartOpensTheLinkWhateverItAnswersAndStopUndoesAll) {
  ASSERT_TRUE(startWith(deviceLine(1, "Buttons") + "object Button 0x4 0 0 Trigger\n"));
  routeCommand(IDC_START_STOP);
  EXPECT_TRUE(!app.running && calls().empty() && shown() == L"Start This controller has no axis") << "says why";
  useControllers("");
  routeCommand(IDC_REFRESH);
  routeCommand(IDC_START_STOP);
  EXPECT_EQ(shown(), L"Start No game controller: plug one in and press Refresh");
  routeCommand(IDC_REFRESH);
  EXPECT_EQ(shown(), L"Start ") << "Refresh takes back what the Start said";
  // The stand-in waits in the current folder, not beside the program, until a row puts it there.
  const std::filesystem::path standIn = L"SimConnect.dll", other = beside.parent_path() / L"dinput8.dll";
  const struct PutBack {  // whatever a row left, and what an interrupted run left
    ~PutBack() {
      while (HMODULE loaded = GetModuleHandleW(beside.c_str())) FreeLibrary(loaded);
      MoveFileExW(L"SimConnect.dll", beside.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
  } putBack;
  ASSERT_TRUE(beside.parent_path() != std::filesystem::current_path() &&
              MoveFileExW(beside.c_str(), standIn.c_str(), MOVEFILE_REPLACE_EXISTING));
  const std::wstring on = L"Connected to Flight Simulator", off = L"No connection to Flight Simulator";
  const std::tuple<std::string, bool, bool, std::filesystem::path, std::string, bool, std::wstring> cases[] = {
      // requests, cameras, a file copied to SimConnect.dll beside the program after Start (then ticked to the
      // 40th tick; the empty control file is no DLL), the calls at Start and the ticks, whether the link stays,
      // the status
      {"", true, true, {}, "", false, L"SimConnect.dll not found next to Tarvelix.exe"},
      {"", true, true, simulatorRequests, "", false, L"SimConnect.dll next to Tarvelix.exe cannot be used"},
      {"", true, true, other, "", false, L"SimConnect.dll next to Tarvelix.exe cannot be used"},
      {"", true, true, standIn, "Open Define0 Define1 Answer Write0=50 Write1=50", true, on},
      {"fail-open", true, true, {}, "Open!", false, off},
      {"fail-define 0", true, true, {}, "Open Define0! Answer Write0=50 Write1=50", true, off},
      {"fail-define 1", true, true, {}, "Open Define0 Define1! Answer Write0=50 Write1=50", true, off},
      {"fail-writes", true, true, {}, "Open Define0 Define1 Answer Write0=50! Close", false, off},
      {"fail-writes", false, true, {}, "Open Define0 Define1 Answer Write1=50! Close", false, off}};
  ASSERT_TRUE(startWith(stick(0.5)));
  for (const auto& [requests, cockpit, chase, later, expected, linked, status] : cases) {
    simulatorControl(requests);
    app.cockpitCamera = cockpit;
    app.chaseCamera = chase;
    routeCommand(IDC_START_STOP);
    EXPECT_TRUE(later.empty() || CopyFileW(later.c_str(), beside.c_str(), FALSE)) << "an unusable DLL is freed";
    tick(), tick();  // the very first acquires the stick
    while (!later.empty() && app.tickCount % 40 != 0) tick();
    EXPECT_EQ(calls(), expected) << requests << cockpit << chase << later;
    EXPECT_EQ(shown(), L"Stop locked " + status);
    EXPECT_TRUE(app.running && app.outputPercent == 50) << "the pump goes on whatever the link does";
    routeCommand(IDC_START_STOP);
    EXPECT_TRUE(!app.running && app.outputPercent == 0 && app.simHandle == nullptr && shown() == L"Start ")
        << "Stop unlocks, empties the level and the status bar";
    EXPECT_EQ(calls(), linked ? "Close" : "");
  }
}

TEST(ZoomPump, ALostControllerIsAwaitedAndResumesOnTheSameAxis) {
  const std::string pedals = deviceLine(2, "Bravo Pedals") + "axis RzAxis 5 0.5 Rudder\n";
  // The stick on another USB port: a new instance of the same product, under the same name.
  const auto moved = [](int port) {
    return deviceLine(port, "Alpha Stick") + "product " + deviceGuid(1) + "\naxis Slider 6 0.25 Throttle\n";
  };
  const std::wstring lost = L"Waiting for Alpha Stick to come back", on = L"Waiting for Flight Simulator to answer";
  const std::wstring resumed = L"[Alpha Stick]|Bravo Pedals [Throttle] running";
  // What comes back; whether it was saved with Autostart but not on at the launch, rather than lost while running;
  // the looks before it is listed (-1: listed again before the pump noticed); whether the user refreshes after the
  // device message; the devices then; the choice and the status after the look.
  const std::tuple<const char*, bool, int, bool, std::string, std::wstring, std::wstring> cases[] = {
      {"back before the pump noticed", false, -1, false, stick(0.25), resumed, on},
      {"listed only at the third look", false, 2, false, stick(0.25), resumed, on},
      {"on another port", false, 0, false, moved(5) + pedals, resumed, on},
      {"two like it on other ports", false, 0, false, moved(5) + moved(6) + pedals,
       L"[Alpha Stick]|Alpha Stick|Bravo Pedals [Throttle]", lost},
      {"another device", false, 0, false, deviceLine(3, "Charlie") + pedals, L"[Bravo Pedals]|Charlie [Rudder]", lost},
      {"the stick without its axis", false, 0, false, deviceLine(1, "Alpha Stick") + "axis XAxis 0 0.5 X\n" + pedals,
       L"[Alpha Stick]|Bravo Pedals [X]", L""},
      {"the user's Refresh", false, 0, true, stick(0.25), L"[Alpha Stick]|Bravo Pedals [Throttle]", L""},
      {"the saved stick switched on late", true, 1, false, stick(0.25), resumed, on}};
  for (const auto& [what, saved, absentLooks, userRefreshes, back, choice, status] : cases) {
    const std::wstring waiting = saved ? L"Waiting for the saved controller" : lost;
    if (saved) {
      ASSERT_TRUE(startWith(pedals, "Device: " + deviceGuid(1) + "\r\nAxis: Throttle\r\nAutostart: 1"));
    } else {
      ASSERT_TRUE(startWith(stick(0.5)));
      app.tickCount = 17;
      routeCommand(IDC_START_STOP);
      tick(), tick();  // 18 acquires the stick, 19 reads it
      useControllers(stick(0.5, "fail GetDeviceState 0x80004005\n"));
      tick();  // 20: a failed reading is let go by on every 20th tick
      EXPECT_TRUE(app.running && app.outputPercent == 50);
      // The stick is unplugged, or its old object fails once while it is listed, and no device message follows.
      useControllers(absentLooks < 0 ? back + "fail GetDeviceState 0x80004005 times 1\n" : pedals);
      tick();
    }
    const std::wstring listed = absentLooks < 0 ? L"[Alpha Stick]|Bravo Pedals" : L"[Bravo Pedals]";
    EXPECT_TRUE(app.outputPercent == 0 && rowsOf(app.deviceList) == listed && shown() == L"Start " + waiting)
        << what << ": stopped, unlocked, the list enumerated again and the stick awaited";
    click(app.externalCheckBox);
    routeCommand(IDC_SAVE);
    EXPECT_EQ(bytesOf(settingsFilePath()),
              "Device: " + deviceGuid(1) +
                  "\r\nAxis: Throttle\r\nInverted: 0\r\nChaseCamera: 0\r\nCockpitCamera: 1\r\n"
                  "CurvesEnabled: 0\r\nCurveVals: 0,20,40,60,80,100\r\nAutostart: 1")
        << what << ": Save keeps the awaited stick, its axis and Autostart";
    click(app.externalCheckBox);
    EXPECT_EQ(windowText(app.statusBar), waiting) << what << ": the wait goes on";
    debugTexts();
    if (saved) SendMessageW(app.mainWindow, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);  // one lost needs none
    EXPECT_EQ(debugTexts(), L"") << "nothing is enumerated within the broadcast";
    for (int look = 0; look < absentLooks; ++look) SendMessageW(app.mainWindow, WM_TIMER, IDT_COMEBACK, 0);
    useControllers(back);
    debugTexts();
    SendMessageW(app.deviceList, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(app.mainWindow, WM_TIMER, IDT_COMEBACK, 0);
    EXPECT_EQ(debugTexts(), L"") << what << ": a look waits while the user has the list open";
    SendMessageW(app.deviceList, CB_SHOWDROPDOWN, FALSE, 0);
    if (userRefreshes) routeCommand(IDC_REFRESH, 1);
    if (saved) ShowWindow(app.mainWindow, SW_MINIMIZE), SetFocus(nullptr);  // as from the Startup folder: no focus
    SendMessageW(app.mainWindow, WM_TIMER, IDT_COMEBACK, 0);
    if (saved) ShowWindow(app.mainWindow, SW_RESTORE);
    EXPECT_TRUE(!saved || GetFocus() == app.startButton) << "restored, the focus is on Stop, not on a locked list";
    EXPECT_EQ(rowsOf(app.deviceList) + L" " + rowsOf(app.axisList) + (app.running ? L" running" : L""), choice) << what;
    EXPECT_EQ(windowText(app.statusBar), status) << what;
    calls();
    tick(), tick();  // the first acquires the stick
    EXPECT_EQ(calls(), app.running ? "Answer Write0=25 Write1=25" : "") << what << ": sends again";
    if (!app.running) continue;
    useControllers(back + "fail GetDeviceState 0x80004005\n"), tick();
    EXPECT_TRUE(app.looksLeft == 0 && shown() == L"Start " + lost) << what << ": failing again at once, it waits";
  }
}
