// The settings file in the local application-data folder: Save from the program's window, its failures and
// its replacing of the file in one step, and the stored choices applied at start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/app_state.h"
#include "win/win_test_support.h"

namespace fs = std::filesystem;

namespace {
const std::string alphaGuid = "{3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}";
const std::string controllers = "device " + alphaGuid +
                                " Alpha Stick\naxis XAxis 0 0.5 X Axis\naxis Slider 6 0.7 Slider\n" +
                                deviceLine(2, "Bravo Pedals") + "axis RzAxis 5 0.5 Rudder\naxis Slider 6 0.2 Brake\n";
const wchar_t* const notSaved = L"Settings could not be saved";

std::string bytesOf(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void put(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

bool checked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void click(HWND checkBox) {
  SendMessageW(checkBox, BM_SETCHECK, checked(checkBox) ? BST_UNCHECKED : BST_CHECKED, 0);
  routeCommand(GetDlgCtrlID(checkBox));
}
}  // namespace

TEST(SaveSettings, WritesTheChoicesOfTheWindowAndTheSameBytesAgain) {
  ASSERT_TRUE(createProgramWindow(controllers));
  click(app.externalCheckBox);
  click(app.curvesCheckBox);
  app.curveValues = {0, 12, 30, 52, 75, 100};
  routeCommand(cmdStartStop);
  routeCommand(cmdSave);
  const std::string example = "Device: " + alphaGuid +
                              "\r\nAxis: Slider\r\nInverted: 0\r\nChaseCamera: 0\r\nCockpitCamera: 1\r\n"
                              "CurvesEnabled: 1\r\nCurveVals: 0,12,30,52,75,100\r\nAutostart: 1";
  EXPECT_EQ(bytesOf(settingsFilePath()), example);
  EXPECT_EQ(example.size(), 169u);
  routeCommand(cmdSave);
  EXPECT_EQ(bytesOf(settingsFilePath()), example);
  EXPECT_EQ(windowText(app.statusBar), L"Connected to Flight Simulator") << "a good Save says nothing";

  struct Case {
    int deviceRow, axisRow;
    std::string failure, start;  // of the file
  };
  const Case cases[] = {
      {1, 1, "", "Device: " + deviceGuid(2) + "\r\nAxis: Rudder\r\nInverted: 1\r\n"},
      {-1, -1, "", "Device: \r\nAxis: \r\nInverted: 1\r\n"},
      {0, 0, "fail GetDeviceInfo 0x80004005\n", "Device: \r\nAxis: Slider\r\nInverted: 1\r\n"},
  };
  routeCommand(cmdStartStop);
  click(app.invertCheckBox);
  for (const Case& c : cases) {
    useControllers(controllers + c.failure);
    chooseRow(app.deviceList, c.deviceRow);
    chooseRow(app.axisList, c.axisRow);
    routeCommand(cmdSave);
    const std::string bytes = bytesOf(settingsFilePath());
    EXPECT_EQ(bytes.substr(0, c.start.size()), c.start);
    EXPECT_EQ(bytes.substr(bytes.size() - 14), "\r\nAutostart: 0");
  }
}

TEST(SaveSettings, FailuresKeepTheOldFileAndSaySoAndTheFileIsReplacedInOneStep) {
  const fs::path file = settingsFilePath();
  const fs::path folder = file.parent_path();
  const fs::path temporary = file.string() + ".tmp";
  struct Case {
    const char* what;
    void (*prepare)(const fs::path& file);
    bool saved;
  };
  const Case cases[] = {
      {"read-only file", [](const fs::path& f) { SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY); }, false},
      {"a file where the folder goes",
       [](const fs::path& f) {
         fs::remove_all(f.parent_path());
         put(f.parent_path(), "Axis: old");
       },
       false},
      {"a folder where the file goes",
       [](const fs::path& f) {
         fs::remove(f);
         fs::create_directories(f / "inside");
       },
       false},
      // The new text goes in beside the old file first: where it cannot, the old file stays whole.
      {"a folder where the new text goes", [](const fs::path& f) { fs::create_directories(f.string() + ".tmp"); },
       false},
      {"a half-written file left over", [](const fs::path& f) { put(f.string() + ".tmp", "Device: half"); }, true},
      {"nothing in the way", [](const fs::path&) {}, true},
  };
  ASSERT_TRUE(createProgramWindow(controllers));
  for (const Case& c : cases) {
    removeSettings();
    put(file, "Axis: old");
    c.prepare(file);
    SetWindowTextW(app.statusBar, L"");
    routeCommand(cmdSave);
    EXPECT_EQ(windowText(app.statusBar), c.saved ? L"" : notSaved) << c.what;
    EXPECT_FALSE(fs::is_regular_file(temporary)) << c.what;
    // Saved: the file starts with the device; not saved: the old text stands wherever it was.
    const fs::path kept = fs::is_regular_file(folder) ? folder : file;
    EXPECT_EQ(bytesOf(kept).substr(0, 8), c.saved ? "Device: " : fs::is_regular_file(kept) ? "Axis: ol" : "") << c.what;
  }
}

TEST(StartupSettings, StoredChoicesComeBackFoundByExactText) {
  struct Case {
    std::string file;
    int deviceRow, axisRow;
    bool running, inverted, cockpit, chase, curves;
    std::vector<int> curve;
  };
  const std::string bravo = "Device: " + deviceGuid(2) + "\r\nAutostart: 1\r\nAxis: ";
  std::string guidInLowerCase = deviceGuid(2);
  for (char& c : guidInLowerCase) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string longList = "0";
  for (int i = 1; i < 102; ++i) longList.append(",").append(std::to_string(i));
  const std::vector<int> line = {0, 20, 40, 60, 80, 100};
  const Case cases[] = {
      {"", 0, 0, false, false, true, true, false, line},
      {bravo + "Rudder", 1, 1, true, false, true, true, false, line},
      {bravo + "Brake", 1, 0, true, false, true, true, false, line},
      {bravo + "rudder", 1, 0, false, false, true, true, false, line},
      {bravo + "Slider", 1, 0, false, false, true, true, false, line},  // an axis of the other device
      {"Device: " + guidInLowerCase + "\r\nAxis: Rudder\r\nAutostart: 1", 0, 0, false, false, true, true, false, line},
      {"Device: " + deviceGuid(9) + "\r\nAxis: Rudder\r\nAutostart: 1", 0, 0, false, false, true, true, false, line},
      {"Inverted: 1\nCockpitCamera: 0\nCurvesEnabled: 1\nCurveVals: 0,0,0,0,0,0,100",
       0,
       0,
       false,
       true,
       false,
       true,
       true,
       {0, 0, 0, 0, 0, 0, 100}},
      {"ChaseCamera: 0\r\nCurveVals: 50", 0, 0, false, false, true, false, false, line},
      {"CurveVals: " + longList, 0, 0, false, false, true, true, false, line},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(createProgramWindow(controllers, c.file));
    const std::string what = c.file.substr(0, 60);
    EXPECT_EQ(comboSelection(app.deviceList), c.deviceRow) << what;
    EXPECT_TRUE(comboSelection(app.axisList) == c.axisRow && app.axisIndex == c.axisRow) << what;
    EXPECT_EQ(app.running, c.running) << what;
    EXPECT_TRUE(checked(app.invertCheckBox) == c.inverted && app.inverted == c.inverted) << what;
    EXPECT_TRUE(checked(app.cockpitCheckBox) == c.cockpit && app.cockpitCamera == c.cockpit) << what;
    EXPECT_TRUE(checked(app.externalCheckBox) == c.chase && app.chaseCamera == c.chase) << what;
    EXPECT_TRUE(checked(app.curvesCheckBox) == c.curves && (IsWindowEnabled(app.resetButton) != FALSE) == c.curves);
    EXPECT_EQ(app.curveValues, c.curve) << what;
    EXPECT_EQ(app.curvePointCount, static_cast<int>(c.curve.size())) << what;
    EXPECT_EQ(app.curveSpline.size() + 1, c.curve.size()) << what;
    DestroyWindow(app.mainWindow);
  }
}
