// The stored settings applied at start-up, through the real main window and its commands.
#include <gtest/gtest.h>

#include "win/virtual_controller_support.h"

#include <commctrl.h>

#include <filesystem>

#include "app/main_window.h"
#include "app/startup_settings.h"
#include "settings/settings_file.h"
#include "sim/zoom_pump.h"

namespace fs = std::filesystem;

namespace {
const std::string alpha = deviceGuid(1);
const std::string bravo = deviceGuid(2);

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool checked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class StartupSettings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::error_code error;
    folder = settingsFolderPath();
    moveSettingsAside();
    fs::create_directories(folder, error);
    writeScript("device " + bravo + " Bravo Pedals\naxis RzAxis 5 0.5 Rudder\naxis Slider 6 0.2 Brake\n" + "device " +
                alpha + " Alpha Stick\naxis XAxis 0 0.5 X Axis\naxis Slider 6 0.7 Throttle\n");
    createProgramWindow();
  }
  static void TearDownTestSuite() { putSettingsBack(); }
  void TearDown() override {
    if (app.running) stopPump();
  }
  // Writes the settings file and applies it as a new start would.
  static void startWith(const std::string& text) {
    writeFile((folder / "Tarvelix.cfg").string(), text);
    app.curveValues = straightLineHeights(6);
    app.curvePointCount = 6;
    app.curvesEnabled = false;
    applyStartupSettings();
  }
  static fs::path folder;
};
fs::path StartupSettings::folder;
}  // namespace

TEST_F(StartupSettings, FirstLaunchShowsTheDefaults) {
  ASSERT_NE(app.mainWindow, nullptr);
  EXPECT_TRUE(checked(app.cockpitCheckBox));
  EXPECT_TRUE(checked(app.externalCheckBox));
  EXPECT_FALSE(checked(app.invertCheckBox));
  EXPECT_FALSE(checked(app.curvesCheckBox));
  EXPECT_FALSE(IsWindowEnabled(app.resetButton));
  EXPECT_EQ(app.curveValues, straightLineHeights(6));
  EXPECT_EQ(comboSelection(app.deviceList), 0);
  EXPECT_EQ(comboRows(app.deviceList), (std::vector<std::wstring>{L"Alpha Stick", L"Bravo Pedals"}));
  EXPECT_EQ(comboRows(app.axisList), (std::vector<std::wstring>{L"Throttle", L"X Axis"}));
  EXPECT_EQ(app.axisIndex, 0);
  EXPECT_FALSE(app.running);
}

TEST_F(StartupSettings, StoredDeviceAndAxisAreFoundByExactText) {
  struct Case {
    std::string device;
    std::string axis;
    int deviceRow;
    int axisRow;
    bool starts;
  };
  const Case cases[] = {
      {bravo, "Brake", 1, 0, true},
      {bravo, "Rudder", 1, 1, true},
      {lowerCase(bravo), "Rudder", 0, 0, false},  // the GUID text differs in case only
      {bravo, "rudder", 1, 0, false},             // so does the axis name
      {bravo, "Throttle", 1, 0, false},           // an axis of another device
      {"", "Throttle", 0, 0, false},
      {deviceGuid(9), "X Axis", 0, 0, false},  // unplugged since
  };
  for (const Case& c : cases) {
    std::string text = "Device: ";
    text.append(c.device).append("\r\nAxis: ").append(c.axis).append("\r\nAutostart: 1");
    startWith(text);
    EXPECT_EQ(comboSelection(app.deviceList), c.deviceRow) << c.device << " " << c.axis;
    EXPECT_EQ(comboSelection(app.axisList), c.axisRow) << c.device << " " << c.axis;
    EXPECT_EQ(app.axisIndex, c.axisRow) << c.device << " " << c.axis;
    EXPECT_EQ(app.running, c.starts) << c.device << " " << c.axis;
    if (app.running) stopPump();
  }
}

TEST_F(StartupSettings, SwitchesReachTheCheckBoxesAndTheState) {
  startWith("Inverted: 1\nCockpitCamera: 0\nChaseCamera: 1\nCurvesEnabled: 1");
  EXPECT_TRUE(checked(app.invertCheckBox) && app.inverted);
  EXPECT_FALSE(checked(app.cockpitCheckBox) || app.cockpitCamera);
  EXPECT_TRUE(checked(app.externalCheckBox) && app.chaseCamera);
  EXPECT_TRUE(checked(app.curvesCheckBox) && app.curvesEnabled);
  EXPECT_TRUE(IsWindowEnabled(app.resetButton));
  startWith("Inverted: 0\nCockpitCamera: 1\nChaseCamera: 0\nCurvesEnabled: 0");
  EXPECT_FALSE(checked(app.invertCheckBox) || app.inverted);
  EXPECT_FALSE(checked(app.externalCheckBox) || app.chaseCamera);
  EXPECT_FALSE(IsWindowEnabled(app.resetButton));
}

TEST_F(StartupSettings, StoredCurvesTheEditorCannotUseGiveTheDefaultLine) {
  std::string longList = "0";
  for (int i = 1; i < 102; ++i) longList.append(",").append(std::to_string(i % 100));
  const std::pair<std::string, std::vector<int>> cases[] = {
      {"CurveVals: 0,0,0,0,0,0,100", {0, 0, 0, 0, 0, 0, 100}},
      {"CurveVals: 10,90", {10, 90}},
      {"CurveVals: 50", straightLineHeights(6)},
      {"CurveVals: ", straightLineHeights(6)},
      {"CurveVals: " + longList, straightLineHeights(6)},
  };
  for (const auto& [line, heights] : cases) {
    startWith(line);
    EXPECT_EQ(app.curveValues, heights) << line.substr(0, 40);
    EXPECT_EQ(app.curvePointCount, static_cast<int>(heights.size())) << line.substr(0, 40);
    EXPECT_EQ(app.curveSpline.size(), heights.size() - 1) << line.substr(0, 40);
  }
}
