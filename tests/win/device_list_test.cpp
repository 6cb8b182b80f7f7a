// The device list against the virtual controller: order, admission, debugger texts and releases.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "win/virtual_controller_support.h"

namespace {
class DeviceList : public ::testing::Test {
 protected:
  void SetUp() override {
    resetInput();
    ASSERT_NE(standInExport("VirtualControllerLiveObjects"), nullptr) << "dinput8.dll is not the virtual controller";
  }
};

std::wstring utf16(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return wide;
}

// One device line per name, numbered in the order given, each with one axis.
std::string devicesScript(const std::vector<std::string>& names) {
  std::string script;
  for (std::size_t i = 0; i < names.size(); ++i) {
    script += "device " + deviceGuid(static_cast<int>(i)) + " " + names[i] + "\n";
    script += "axis XAxis 0 0.5 X of " + names[i] + "\n";
  }
  return script;
}

// The number the script gave a device object (its GUID's first field), or -1.
int deviceNumber(IDirectInputDevice8W* device) {
  GUID guid = {};
  if (device == nullptr || FAILED(readInstanceGuid(device, guid))) return -1;
  return static_cast<int>(guid.Data1 - 0x6F1D2B60u);
}

std::vector<std::wstring> admittedTexts(const std::vector<std::string>& names) {
  std::vector<std::wstring> texts;
  for (const std::string& name : names) texts.push_back(L"device: " + utf16(name));
  return texts;
}
}  // namespace

TEST_F(DeviceList, ListsNamesInCodeUnitOrderWhateverTheReportOrder) {
  const std::vector<std::vector<std::string>> reportOrders = {
      {"Zed", "alpha", "\xC3\x89mile", "Alpha", "Alpha 2"},
      {"Alpha 2", "Alpha", "\xC3\x89mile", "alpha", "Zed"},
      {"alpha", "Alpha 2", "Zed", "Alpha", "\xC3\x89mile"},
  };
  const std::vector<std::wstring> sorted = {L"Alpha", L"Alpha 2", L"Zed", L"alpha", L"\u00C9mile"};
  for (const std::vector<std::string>& order : reportOrders) {
    debugTexts().clear();
    writeScript(devicesScript(order));
    refreshDevices();
    EXPECT_EQ(comboRows(app.deviceList), sorted);
    EXPECT_EQ(debugTexts(), admittedTexts(order));
    ASSERT_EQ(app.devices.size(), sorted.size());
    for (std::size_t row = 0; row < sorted.size(); ++row) {
      const int number = deviceNumber(app.devices[row]);
      ASSERT_GE(number, 0);
      EXPECT_EQ(utf16(order[static_cast<std::size_t>(number)]), sorted[row]) << "row " << row;
    }
  }
}

TEST_F(DeviceList, RefreshSelectsFirstRowAndChainsTheAxisSelection) {
  writeScript(devicesScript({"Bravo", "Alpha"}) + "axis Slider 6 0 Another of Alpha\n");
  refreshDevices();
  chooseRow(app.deviceList, 0);
  chooseRow(app.axisList, 1);
  chooseRow(app.deviceList, 1);
  ASSERT_EQ(deviceNumber(app.activeDevice), 0);
  refreshDevices();
  EXPECT_EQ(comboSelection(app.deviceList), 0);
  EXPECT_EQ(app.activeDevice, app.devices[0]);
  EXPECT_EQ(deviceNumber(app.activeDevice), 1);
  EXPECT_EQ(comboRows(app.axisList), (std::vector<std::wstring>{L"Another of Alpha", L"X of Alpha"}));
  EXPECT_EQ(comboSelection(app.axisList), 0);
  EXPECT_EQ(app.axisIndex, 0);
}

TEST_F(DeviceList, TwoDevicesWithOneNameAreBothListed) {
  writeScript(devicesScript({"Twin Stick", "Solo", "Twin Stick"}));
  refreshDevices();
  EXPECT_EQ(comboRows(app.deviceList), (std::vector<std::wstring>{L"Solo", L"Twin Stick", L"Twin Stick"}));
  ASSERT_EQ(app.devices.size(), 3u);
  std::vector<int> twins = {deviceNumber(app.devices[1]), deviceNumber(app.devices[2])};
  std::sort(twins.begin(), twins.end());
  EXPECT_EQ(twins, (std::vector<int>{0, 2}));
}

TEST_F(DeviceList, DevicesThatCannotBeNamedOrCreatedAreLeftOut) {
  struct Case {
    std::string failure;
    std::vector<std::wstring> texts;
  };
  const Case cases[] = {
      {"fail GetProperty 0x80070057 " + deviceGuid(1),
       {L"device: Charlie", L"Error at 3: -2147024809", L"device: Alpha"}},
      {"fail GetProperty 0x80004005 " + deviceGuid(1),
       {L"device: Charlie", L"Error at 3: -2147467259", L"device: Alpha"}},
      {"fail CreateDevice 0x80040154 " + deviceGuid(1), {L"device: Charlie", L"device: Alpha"}},
  };
  for (const Case& c : cases) {
    debugTexts().clear();
    writeScript(devicesScript({"Charlie", "Bravo", "Alpha"}) + c.failure + "\n");
    refreshDevices();
    EXPECT_EQ(comboRows(app.deviceList), (std::vector<std::wstring>{L"Alpha", L"Charlie"})) << c.failure;
    EXPECT_EQ(debugTexts(), c.texts) << c.failure;
    // The skipped device object is let go at once: only the two listed ones remain.
    EXPECT_EQ(liveObjects(1), 2) << c.failure;
  }
}

TEST_F(DeviceList, FailedEnumerationListsTheDevicesReportedBeforeUnsorted) {
  writeScript(devicesScript({"Zulu", "Mike", "Alpha"}) + "fail EnumDevices 0x80004005 after 2\n");
  refreshDevices();
  EXPECT_EQ(comboRows(app.deviceList), (std::vector<std::wstring>{L"Zulu", L"Mike"}));
  EXPECT_EQ(debugTexts(), (std::vector<std::wstring>{L"device: Zulu", L"device: Mike", L"Error at 1: -2147467259"}));
  EXPECT_EQ(comboSelection(app.deviceList), 0);
  EXPECT_EQ(deviceNumber(app.activeDevice), 0);
}

TEST_F(DeviceList, FailedCreationOfDirectInputListsNothing) {
  struct Case {
    std::string code;
    std::wstring text;
  };
  const Case cases[] = {{"0x80070057", L"Error at 1: -2147024809"}, {"0x1", L"Error at 1: 1"}};
  for (const Case& c : cases) {
    writeScript(devicesScript({"Alpha"}));
    refreshDevices();
    ASSERT_EQ(comboRows(app.deviceList).size(), 1u);
    debugTexts().clear();
    writeScript(devicesScript({"Alpha"}) + "fail DirectInput8Create " + c.code + "\n");
    refreshDevices();
    EXPECT_TRUE(comboRows(app.deviceList).empty());
    EXPECT_EQ(comboSelection(app.deviceList), CB_ERR);
    EXPECT_EQ(debugTexts(), std::vector<std::wstring>{c.text});
    EXPECT_EQ(app.directInput, nullptr);
    // Only the object the active device still holds is alive; a success code's object was let go.
    EXPECT_EQ(liveObjects(0), 1) << c.code;
  }
}

TEST_F(DeviceList, NoControllerLeavesTheAxisListAndActiveDeviceAsTheyWere) {
  writeScript(devicesScript({"Alpha"}) + "axis YAxis 1 0.5 Y\n");
  refreshDevices();
  chooseRow(app.axisList, 1);
  IDirectInputDevice8W* chosen = app.activeDevice;
  const std::vector<std::wstring> axisRows = comboRows(app.axisList);
  writeScript("");
  refreshDevices();
  EXPECT_TRUE(comboRows(app.deviceList).empty());
  EXPECT_EQ(comboSelection(app.deviceList), CB_ERR);
  EXPECT_TRUE(app.devices.empty());
  EXPECT_EQ(comboRows(app.axisList), axisRows);
  EXPECT_EQ(app.axisIndex, 1);
  EXPECT_EQ(app.activeDevice, chosen);
  // Exit unacquires the active device: it must still be a live object.
  EXPECT_EQ(liveObjects(1), 1);
  unacquireDevice(app.activeDevice);
  EXPECT_EQ(liveObjects(2), 0);
}

TEST_F(DeviceList, RefreshReleasesWhatItReplaces) {
  writeScript(devicesScript({"Alpha", "Bravo", "Charlie"}));
  for (int i = 0; i < 3; ++i) refreshDevices();
  EXPECT_EQ(liveObjects(0), 1);
  EXPECT_EQ(liveObjects(1), 3);
  writeScript("");
  refreshDevices();
  // The old active device and the DirectInput object behind it stay; the new, empty one is the other.
  EXPECT_EQ(liveObjects(0), 2);
  EXPECT_EQ(liveObjects(1), 1);
  writeScript(devicesScript({"Delta", "Echo"}));
  refreshDevices();
  EXPECT_EQ(liveObjects(0), 1);
  EXPECT_EQ(liveObjects(1), 2);
  releaseControllers();
  EXPECT_EQ(liveObjects(0), 0);
  EXPECT_EQ(liveObjects(1), 0);
  EXPECT_EQ(liveObjects(2), 0);
}

TEST_F(DeviceList, OverlongNamesStopAtTheEndOfTheirBuffers) {
  const std::string longName(300, 'N');
  writeScript("device " + deviceGuid(0) + " " + longName + "\naxis XAxis 0 0.5 " + std::string(280, 'x') + "\n");
  refreshDevices();
  EXPECT_EQ(comboRows(app.deviceList), std::vector<std::wstring>{std::wstring(260, L'N')});
  EXPECT_EQ(debugTexts(), std::vector<std::wstring>{L"device: " + std::wstring(260, L'N')});
  EXPECT_EQ(comboRows(app.axisList), std::vector<std::wstring>{std::wstring(260, L'x')});
}

TEST_F(DeviceList, ThousandRefreshesKeepHandlesAndMemoryFlat) {
  writeScript(devicesScript({"Alpha", "Bravo", "Charlie"}) + "button 0 Trigger\npov 0 Hat\n");
  for (int i = 0; i < 10; ++i) refreshDevices();
  debugTexts().clear();
  debugTexts().shrink_to_fit();
  const long handlesBefore = handleCount();
  const long long bytesBefore = privateBytes();
  for (int round = 1; round <= 2; ++round) {
    for (int i = 0; i < 1000; ++i) {
      refreshDevices();
      debugTexts().clear();  // the test's own record of the texts must not count as growth
    }
    std::printf("after %d refreshes: %ld handles, %lld private bytes (after 10: %ld, %lld)\n", 10 + 1000 * round,
                handleCount(), privateBytes(), handlesBefore, bytesBefore);
  }
  const long handlesAfter = handleCount();
  const long long bytesAfter = privateBytes();
  ASSERT_GT(handlesBefore, 0);
  ASSERT_GT(bytesBefore, 0);
  EXPECT_LE(handlesAfter, handlesBefore + 2);
  EXPECT_LE(bytesAfter, bytesBefore + 256 * 1024);
  EXPECT_EQ(liveObjects(1), 3);
  EXPECT_EQ(comboRows(app.deviceList).size(), 3u);
}
