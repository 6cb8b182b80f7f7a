// The settings file in the real local application-data folder: Save and the reader at start-up.
// The user's own settings folder is moved aside for each test and put back afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/app_state.h"
#include "input/device_list.h"
#include "settings/settings_file.h"
#include "win/virtual_controller_support.h"
#include "win/win_test_support.h"

namespace fs = std::filesystem;

namespace {
const std::string exampleWithoutDevice =
    "Device: \r\nAxis: Slider\r\nInverted: 1\r\nChaseCamera: 0\r\nCockpitCamera: 1\r\nCurvesEnabled: 1\r\n"
    "CurveVals: 0,12,30,52,75,100\r\nAutostart: 0";

std::string fileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void putBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

HWND makeComboBox(int id) {
  return CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, app.mainWindow,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void fillAxisList(const std::vector<std::wstring>& rows, int selected) {
  SendMessageW(app.axisList, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& row : rows)
    SendMessageW(app.axisList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  SendMessageW(app.axisList, CB_SETCURSEL, selected, 0);
}

// Removes whatever a test left at a path, read-only or not.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (app.mainWindow == nullptr) {
      createTestWindows();
      app.deviceList = makeComboBox(cmdDeviceList);
      app.axisList = makeComboBox(cmdAxisList);
    }
    folder = settingsFolderPath();
    ASSERT_FALSE(folder.empty());
    file = folder / L"Tarvelix.cfg";
    ASSERT_TRUE(moveSettingsAside());
    SetWindowTextW(app.statusBar, L"");
    fillAxisList({L"X Axis", L"Slider"}, 1);
    app.devices.clear();
    app.inverted = true;
    app.chaseCamera = false;
    app.cockpitCamera = true;
    app.curvesEnabled = true;
    app.curveValues = {0, 12, 30, 52, 75, 100};
    app.running = false;
  }
  void TearDown() override { EXPECT_TRUE(putSettingsBack()); }
  fs::path folder;
  fs::path file;
};
}  // namespace

TEST_F(SettingsFile, SaveMakesTheMissingFolderAndWritesTheChoicesSilently) {
  saveSettings();
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(fileBytes(file), exampleWithoutDevice);
  EXPECT_FALSE(fs::exists(folder / L"Tarvelix.cfg.tmp"));
  EXPECT_EQ(statusText(), L"");
}

TEST_F(SettingsFile, TwoSavesGiveIdenticalBytes) {
  saveSettings();
  const std::string first = fileBytes(file);
  saveSettings();
  EXPECT_EQ(fileBytes(file), first);
  EXPECT_EQ(first.size(), exampleWithoutDevice.size());
}

TEST_F(SettingsFile, AutostartIsWhetherThePumpRuns) {
  const std::pair<bool, std::string> cases[] = {
      {true, "Autostart: 1"}, {false, "Autostart: 0"}, {true, "Autostart: 1"}};
  for (const auto& [running, line] : cases) {
    app.running = running;
    saveSettings();
    const std::string bytes = fileBytes(file);
    EXPECT_EQ(bytes.substr(bytes.rfind("\r\n") + 2), line);
  }
}

TEST_F(SettingsFile, SavedFileReadsBackToTheSameValues) {
  fillAxisList({L"Z: Rotation \u00e9", L"Dial"}, 0);
  app.curveValues = {-3, 0, 2147483647, 50};
  saveSettings();
  app.curvesEnabled = false;
  app.curveValues = {9, 9};
  std::wstring device = L"preset", axis = L"preset";
  bool inverted = false, cockpit = false, chase = true, autostart = true;
  readSettings(device, axis, inverted, cockpit, chase, autostart);
  EXPECT_EQ(device, L"");
  EXPECT_EQ(axis, L"Z: Rotation \u00e9");
  EXPECT_TRUE(inverted);
  EXPECT_TRUE(cockpit);
  EXPECT_FALSE(chase);
  EXPECT_FALSE(autostart);
  EXPECT_TRUE(app.curvesEnabled);
  EXPECT_EQ(app.curveValues, (std::vector<int>{-3, 0, 2147483647, 50}));
}

TEST_F(SettingsFile, AxisNamesAreFetchedWholeAndWideCharactersBecomeQuestionMarks) {
  const std::pair<std::wstring, std::string> cases[] = {
      {std::wstring(300, L'W') + L"!", "Axis: " + std::string(300, 'W') + "!"},
      {L"\u0420\u0443\u043b\u044c \u00c4", "Axis: ???? \xc4"},
      {L"", "Axis: "},
  };
  for (const auto& [row, line] : cases) {
    fillAxisList({row}, 0);
    saveSettings();
    const std::string bytes = fileBytes(file);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2, line.size() + 2), line + "\r\n");
  }
  fillAxisList({L"X Axis"}, -1);
  saveSettings();
  EXPECT_NE(fileBytes(file).find("\r\nAxis: \r\n"), std::string::npos);
}

TEST_F(SettingsFile, ReadOnlyFileKeepsItsContentAndTheUserIsTold) {
  fs::create_directories(folder);
  putBytes(file, "Axis: old");
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  saveSettings();
  EXPECT_EQ(fileBytes(file), "Axis: old");
  EXPECT_EQ(statusText(), L"Settings could not be saved");
  EXPECT_FALSE(fs::exists(folder / L"Tarvelix.cfg.tmp"));
}

TEST_F(SettingsFile, FileInTheWayOfTheFolderIsLeftAloneAndTheUserIsTold) {
  putBytes(folder, "not a folder");
  saveSettings();
  EXPECT_EQ(statusText(), L"Settings could not be saved");
  EXPECT_TRUE(fs::is_regular_file(folder));
  EXPECT_EQ(fileBytes(folder), "not a folder");
}

TEST_F(SettingsFile, FolderInThePlaceOfTheFileIsLeftAloneAndTheUserIsTold) {
  fs::create_directories(file / L"inside");
  saveSettings();
  EXPECT_EQ(statusText(), L"Settings could not be saved");
  EXPECT_TRUE(fs::is_directory(file / L"inside"));
  EXPECT_FALSE(fs::exists(folder / L"Tarvelix.cfg.tmp"));
}

TEST_F(SettingsFile, LeftoverTemporaryFileIsUsedUpBySave) {
  fs::create_directories(folder);
  putBytes(folder / L"Tarvelix.cfg.tmp", "Device: half writ");
  putBytes(file, "Axis: old");
  saveSettings();
  EXPECT_EQ(fileBytes(file), exampleWithoutDevice);
  EXPECT_FALSE(fs::exists(folder / L"Tarvelix.cfg.tmp"));
  EXPECT_EQ(statusText(), L"");
}

TEST_F(SettingsFile, MissingOrUnreadableFileLeavesEveryPreset) {
  for (const bool makeFolderInTheWay : {false, true}) {
    if (makeFolderInTheWay) fs::create_directories(file);
    std::wstring device = L"d", axis = L"a";
    bool inverted = true, cockpit = false, chase = false, autostart = true;
    app.curveValues = {4, 5, 6, 7, 8, 9, 10};
    app.curvesEnabled = true;
    readSettings(device, axis, inverted, cockpit, chase, autostart);
    EXPECT_EQ(device, L"d");
    EXPECT_EQ(axis, L"a");
    EXPECT_TRUE(inverted && autostart && app.curvesEnabled);
    EXPECT_FALSE(cockpit || chase);
    EXPECT_EQ(app.curveValues, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
  }
}

TEST_F(SettingsFile, ReaderTakesBytesAsLatin1AndLooksNoFurtherThanOneMebibyte) {
  fs::create_directories(folder);
  std::string big = "Axis: \xe9t\xe9\nCurveVals: 1,2\r\n";
  while (big.size() < settingsReadLimit - 4) big += "filler line\r\n";
  big += "Axis: cut in two\r\nAutostart: 0\r\n";
  putBytes(file, big);
  std::wstring device, axis;
  bool inverted = false, cockpit = true, chase = true, autostart = true;
  readSettings(device, axis, inverted, cockpit, chase, autostart);
  EXPECT_EQ(axis, L"\u00e9t\u00e9");
  EXPECT_EQ(app.curveValues, (std::vector<int>{1, 2}));
  EXPECT_TRUE(autostart);
}

namespace {
const char* const twoControllers =
    "device {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3} Alpha Stick\n"
    "axis Slider 6 1 Slider\n"
    "device {6F1D2B62-D5A0-11CF-BFC7-444553540000} Bravo Pedals\n"
    "axis RzAxis 5 0.25 Rudder\n";

// Lists the virtual controllers of the script and selects the row that shows the given name.
void listControllers(const std::string& script, const wchar_t* selectedName) {
  writeScript(script);
  refreshDevices();
  const LRESULT row =
      SendMessageW(app.deviceList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(selectedName));
  SendMessageW(app.deviceList, CB_SETCURSEL, row, 0);
}

std::string firstLine(const std::string& bytes) { return bytes.substr(0, bytes.find("\r\n")); }
}  // namespace

TEST_F(SettingsFile, SaveStoresTheSelectedRowsDeviceGuid) {
  const std::pair<const wchar_t*, std::string> cases[] = {
      {L"Bravo Pedals", "Device: {6F1D2B62-D5A0-11CF-BFC7-444553540000}"},
      {L"Alpha Stick", "Device: {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}"},
  };
  for (const auto& [name, line] : cases) {
    listControllers(twoControllers, name);
    ASSERT_EQ(app.devices.size(), 2u);
    saveSettings();
    EXPECT_EQ(firstLine(fileBytes(file)), line);
  }
  SendMessageW(app.deviceList, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  saveSettings();
  EXPECT_EQ(firstLine(fileBytes(file)), "Device: ");
}

TEST_F(SettingsFile, SaveWritesTheWorkedExampleByteForByte) {
  listControllers(twoControllers, L"Alpha Stick");
  fillAxisList({L"Rudder", L"Slider"}, 1);
  app.inverted = false;
  app.running = true;
  saveSettings();
  const std::string bytes = fileBytes(file);
  EXPECT_EQ(bytes,
            "Device: {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}\r\nAxis: Slider\r\nInverted: 0\r\nChaseCamera: 0\r\n"
            "CockpitCamera: 1\r\nCurvesEnabled: 1\r\nCurveVals: 0,12,30,52,75,100\r\nAutostart: 1");
  EXPECT_EQ(bytes.size(), 169u);
}

TEST_F(SettingsFile, DeviceThatCannotTellItsGuidIsSavedAsNoDevice) {
  listControllers(std::string(twoControllers) + "fail GetDeviceInfo 0x80004005\n", L"Alpha Stick");
  ASSERT_EQ(app.devices.size(), 2u);
  saveSettings();
  const std::string bytes = fileBytes(file);
  EXPECT_EQ(firstLine(bytes), "Device: ");
  EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2), exampleWithoutDevice.substr(exampleWithoutDevice.find("\r\n") + 2));
  EXPECT_EQ(statusText(), L"");
}
