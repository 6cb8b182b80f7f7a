// The settings file in the local application-data folder: Save from the program's window, its failures and
// its replacing of the file in one step, and the stored choices applied at start-up.
#include <gtest/gtest.h>

#include <thread>

#include "win/win_test_support.h"

namespace fs = std::filesystem;

namespace {
const std::string alphaGuid = "{3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}";
const std::string controllers = "device " + alphaGuid + " Alpha Stick\naxis XAxis 0 0.5 X Axis\n" +
                                "axis Slider 6 0.7 Slider\n" + deviceLine(2, "Bravo Pedals") +
                                "axis RzAxis 5 0.5 Rudder\naxis Slider 6 0.2 Brake\n";

// A virus scanner's hold on the file: open without sharing, let go by a thread of its own after a while.
std::thread holder;
template <DWORD milliseconds>
void holdFile(const fs::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  holder = std::thread([file] { Sleep(milliseconds), CloseHandle(file); });
}
}  // namespace

TEST(SaveSettings, WritesTheChoicesOfTheWindow) {
  ASSERT_TRUE(createProgramWindow(controllers));
  click(app.externalCheckBox);
  click(app.curvesCheckBox);
  app.curveValues = {0, 12, 30, 52, 75, 100};
  routeCommand(IDC_START_STOP);
  routeCommand(IDC_SAVE);
  const std::string example = "Device: " + alphaGuid +
                              "\r\nAxis: Slider\r\nInverted: 0\r\nChaseCamera: 0\r\nCockpitCamera: 1\r\n"
                              "CurvesEnabled: 1\r\nCurveVals: 0,12,30,52,75,100\r\nAutostart: 1";
  EXPECT_TRUE(bytesOf(settingsFilePath()) == example && example.size() == 169u);
  EXPECT_EQ(windowText(app.statusBar), L"Waiting for Flight Simulator to answer") << "a good Save says nothing";
  routeCommand(IDC_START_STOP);
  click(app.invertCheckBox);
  const std::tuple<int, int, std::string, std::string> choices[] = {
      {1, 1, "", "Device: " + deviceGuid(2) + "\r\nAxis: Rudder\r\nInverted: 1\r\n"},
      {-1, -1, "", "Device: \r\nAxis: \r\nInverted: 1\r\n"},
      {0, 0, "fail GetDeviceInfo 0x80004005\n", "Device: \r\nAxis: Slider\r\nInverted: 1\r\n"}};
  for (const auto& [deviceRow, axisRow, failure, start] : choices) {
    useControllers(controllers + failure);
    chooseRow(app.deviceList, deviceRow);
    chooseRow(app.axisList, axisRow);
    routeCommand(IDC_SAVE);
    const std::string bytes = bytesOf(settingsFilePath());
    EXPECT_EQ(bytes.substr(0, start.size()) + bytes.substr(bytes.size() - 14), start + "\r\nAutostart: 0");
  }
}

TEST(SaveSettings, FailuresKeepTheOldFileAndSaySoAndTheFileIsReplacedInOneStep) {
  const fs::path file = settingsFilePath(), folder = file.parent_path(), temporary = file.string() + ".tmp";
  const std::tuple<const char*, void (*)(const fs::path&), bool> cases[] = {
      {"read-only file", [](const fs::path& f) { SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY); }, false},
      {"a file where the folder goes",
       [](const fs::path& f) { fs::remove_all(f.parent_path()), put(f.parent_path(), "Axis: old"); }, false},
      // The new text goes in beside the old file first: where it cannot, the old file stays whole.
      {"a folder where the new text goes", [](const fs::path& f) { fs::create_directories(f.string() + ".tmp"); },
       false},
      {"a half-written file left over", [](const fs::path& f) { put(f.string() + ".tmp", "Device: half"); }, true},
      {"held for a moment", holdFile<500>, true},
      {"held for long", holdFile<3000>, false},
      {"nothing in the way", [](const fs::path&) {}, true}};
  ASSERT_TRUE(createProgramWindow(controllers));
  for (const auto& [what, prepare, saved] : cases) {
    removeSettings();
    put(file, "Axis: old");
    prepare(file);
    routeCommand(IDC_SAVE);  // after a failed one too: a good Save takes its text back
    if (holder.joinable()) holder.join();
    EXPECT_EQ(windowText(app.statusBar), saved ? L"" : L"Settings could not be saved") << what;
    EXPECT_FALSE(fs::is_regular_file(temporary)) << what;
    // Saved: the file starts with the device; not saved: the old text stands wherever it was.
    const fs::path kept = fs::is_regular_file(folder) ? folder : file;
    EXPECT_EQ(bytesOf(kept).substr(0, 8), saved ? "Device: " : "Axis: ol") << what;
  }
}

TEST(StartupSettings, StoredChoicesComeBackFoundByExactText) {
  const std::string bravo = "Device: " + deviceGuid(2) + "\r\nAutostart: 1\r\nAxis: ";
  std::string guidInLowerCase = deviceGuid(2), longList = "0";
  for (char& c : guidInLowerCase) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int i = 1; i < 102; ++i) longList.append(",").append(std::to_string(i));
  const std::wstring first = L"[Alpha Stick]|Bravo Pedals [Slider]|X Axis ", line = L" 0 20 40 60 80 100";
  const std::pair<std::string, std::wstring> cases[] = {
      {"", first + L"0110 0 0110" + line},
      {bravo + "Rudder", L"Alpha Stick|[Bravo Pedals] Brake|[Rudder] running 0110 0 0110" + line},
      {bravo + "rudder", L"Alpha Stick|[Bravo Pedals] [Brake]|Rudder 0110 0 0110" + line},
      {bravo + "Slider", L"Alpha Stick|[Bravo Pedals] [Brake]|Rudder 0110 0 0110" + line},  // the other device's
      {"Device: " + guidInLowerCase + "\r\nAxis: Rudder\r\nAutostart: 1", first + L"0110 0 0110" + line},
      {"Inverted: 1\nCockpitCamera: 0\nCurvesEnabled: 1\nCurveVals: 0,0,0,0,0,0,100",
       first + L"1011 1 1011 0 0 0 0 0 0 100"},
      {"ChaseCamera: 0\r\nCurveVals: 50", first + L"0100 0 0100" + line},
      {"CurveVals: 0,100", first + L"0110 0 0110 0 100"},
      {"CurveVals: " + longList, first + L"0110 0 0110" + line}};
  for (const auto& [file, expected] : cases) {
    ASSERT_TRUE(createProgramWindow(controllers, file));
    // The lists, whether it runs, the check boxes Invert, Cockpit, External and Enable, whether Reset can be
    // pressed, the same four switches in the state record, and the curve.
    std::wstring state = rowsOf(app.deviceList) + L" " + rowsOf(app.axisList) + (app.running ? L" running " : L" ");
    for (HWND box : {app.invertCheckBox, app.cockpitCheckBox, app.externalCheckBox, app.curvesCheckBox})
      state += checked(box) ? L'1' : L'0';
    state += IsWindowEnabled(app.resetButton) ? L" 1 " : L" 0 ";
    for (bool flag : {app.inverted, app.cockpitCamera, app.chaseCamera, app.curvesEnabled}) state += flag ? L'1' : L'0';
    for (int value : app.curveValues) state += L" " + std::to_wstring(value);
    EXPECT_EQ(state, expected) << file.substr(0, 60);
    EXPECT_TRUE(app.curvePointCount == static_cast<int>(app.curveValues.size()) &&
                app.curveSpline.size() + 1 == app.curveValues.size());
    EXPECT_EQ(app.axisIndex, SendMessageW(app.axisList, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(GetFocus(), app.running ? app.startButton : app.deviceList) << "a first Space changes no choice";
  }
  SetActiveWindow(CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0));
  ASSERT_TRUE(createProgramWindow(controllers, bravo + "Rudder", SW_SHOWMINNOACTIVE));
  EXPECT_TRUE(app.running && IsIconic(app.mainWindow) && GetActiveWindow() != app.mainWindow)
      << "started minimized from the Startup folder, it leaves the activation where it was";
}
