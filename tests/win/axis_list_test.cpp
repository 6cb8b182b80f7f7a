// The axis list against the virtual controller: which objects are axes, their order, the chained selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "input/axis_list.h"
#include "input/device_list.h"
#include "win/virtual_controller_support.h"

namespace {
class AxisList : public ::testing::Test {
 protected:
  void SetUp() override {
    resetInput();
    ASSERT_NE(standInExport("VirtualControllerLiveObjects"), nullptr) << "dinput8.dll is not the virtual controller";
  }
};

std::vector<std::wstring> axisNames() {
  std::vector<std::wstring> names;
  for (const DIDEVICEOBJECTINSTANCEW& axis : app.axes) names.push_back(axis.tszName);
  return names;
}

const std::vector<std::string> joystickObjects = {
    "axis XAxis 0 0.5 X Axis",  "button 0 Trigger", "axis YAxis 1 0.5 Y Axis",  "pov 0 Hat",
    "axis RzAxis 5 0.5 Rudder", "button 1 Thumb",   "axis Slider 6 0 Throttle", "axis Slider 7 0.2 Dial",
};
}  // namespace

TEST_F(AxisList, JoystickListsExactlyItsFiveAxesInNameOrder) {
  const std::vector<std::vector<int>> reportOrders = {
      {0, 1, 2, 3, 4, 5, 6, 7}, {7, 6, 5, 4, 3, 2, 1, 0}, {3, 6, 0, 5, 2, 7, 1, 4}};
  const std::vector<std::wstring> sorted = {L"Dial", L"Rudder", L"Throttle", L"X Axis", L"Y Axis"};
  for (const std::vector<int>& order : reportOrders) {
    std::string script = "device " + deviceGuid(0) + " Stick\n";
    for (int index : order) script += joystickObjects[static_cast<std::size_t>(index)] + "\n";
    writeScript(script);
    refreshDevices();
    EXPECT_EQ(comboRows(app.axisList), sorted);
    EXPECT_EQ(axisNames(), sorted);
    EXPECT_EQ(comboSelection(app.axisList), 0);
    EXPECT_EQ(app.axisIndex, 0);
  }
  EXPECT_TRUE(debugTexts().size() == 3u && debugTexts()[0] == L"device: Stick");
}

TEST_F(AxisList, AbsoluteAxesAndSlidersAreAdmittedNothingElse) {
  struct Case {
    std::string object;
    bool admitted;
  };
  const Case cases[] = {
      {"object XAxis 0x2 0 0 Absolute X", true},       {"object Unknown 0x2 9 0 Absolute of no kind", true},
      {"object Slider 0x1 6 0 Relative slider", true}, {"object Slider 0x4 3 0 Slider-typed button", true},
      {"object XAxis 0x1 0 0 Relative X", false},      {"object Button 0x4 0 0 Push button", false},
      {"object Button 0x8 1 0 Toggle button", false},  {"object POV 0x10 0 0 Hat", false},
  };
  for (const Case& c : cases) {
    writeScript("device " + deviceGuid(0) + " Pad\n" + c.object + "\n");
    refreshDevices();
    EXPECT_EQ(comboRows(app.axisList).size(), c.admitted ? 1u : 0u) << c.object;
    EXPECT_EQ(app.axes.size(), c.admitted ? 1u : 0u) << c.object;
  }
}

TEST_F(AxisList, FailedObjectEnumerationListsTheAxesGatheredBefore) {
  writeScript("device " + deviceGuid(0) +
              " Pad\naxis YAxis 1 0 Yoke\nbutton 0 B\naxis XAxis 0 0 Aileron\naxis ZAxis 2 0 Zoom\n"
              "fail EnumObjects 0x80070057 after 3\n");
  refreshDevices();
  EXPECT_EQ(comboRows(app.axisList), (std::vector<std::wstring>{L"Aileron", L"Yoke"}));
  EXPECT_EQ(debugTexts(), (std::vector<std::wstring>{L"device: Pad", L"Error at 4: -2147024809"}));
  EXPECT_EQ(app.axisIndex, 0);
}

TEST_F(AxisList, DeviceWithoutAxesEmptiesTheListAndKeepsTheAxisIndex) {
  writeScript("device " + deviceGuid(0) + " Alpha\naxis XAxis 0 0 X\naxis YAxis 1 0 Y\naxis ZAxis 2 0 Z\n" + "device " +
              deviceGuid(1) + " Bravo\nbutton 0 Only a button\n");
  refreshDevices();
  chooseRow(app.axisList, 2);
  ASSERT_EQ(app.axisIndex, 2);
  chooseRow(app.deviceList, 1);
  EXPECT_TRUE(comboRows(app.axisList).empty());
  EXPECT_TRUE(app.axes.empty());
  EXPECT_EQ(comboSelection(app.axisList), CB_ERR);
  EXPECT_EQ(app.axisIndex, 2);
}

TEST_F(AxisList, SelectingTheSameDeviceAgainSelectsItsFirstAxisAgain) {
  writeScript("device " + deviceGuid(0) + " Alpha\naxis XAxis 0 0 X\naxis YAxis 1 0 Y\naxis YAxis 1 0 Y\n");
  refreshDevices();
  EXPECT_EQ(comboRows(app.axisList), (std::vector<std::wstring>{L"X", L"Y", L"Y"}));
  chooseRow(app.axisList, 2);
  ASSERT_EQ(app.axisIndex, 2);
  // Any notification of the device list, here a focus change, rebuilds the axis list.
  SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(cmdDeviceList, CBN_SETFOCUS),
               reinterpret_cast<LPARAM>(app.deviceList));
  EXPECT_EQ(comboRows(app.axisList), (std::vector<std::wstring>{L"X", L"Y", L"Y"}));
  EXPECT_EQ(comboSelection(app.axisList), 0);
  EXPECT_EQ(app.axisIndex, 0);
}

TEST_F(AxisList, AxisIndexFollowsTheSelectionOrMinusOne) {
  writeScript("device " + deviceGuid(0) + " Alpha\naxis XAxis 0 0 X\naxis YAxis 1 0 Y\n");
  refreshDevices();
  const int rows[] = {1, 0, -1};
  for (int row : rows) {
    chooseRow(app.axisList, row);
    EXPECT_EQ(app.axisIndex, row);
  }
}

TEST_F(AxisList, NoSelectionInTheDeviceListChangesNothing) {
  writeScript("device " + deviceGuid(0) + " Alpha\naxis XAxis 0 0 X\ndevice " + deviceGuid(1) + " Bravo\n");
  refreshDevices();
  IDirectInputDevice8W* chosen = app.activeDevice;
  chooseRow(app.deviceList, -1);
  EXPECT_EQ(app.activeDevice, chosen);
  EXPECT_EQ(comboRows(app.axisList), std::vector<std::wstring>{L"X"});
}

TEST_F(AxisList, WhileRunningNeitherSelectionHasAnyEffect) {
  writeScript("device " + deviceGuid(0) + " Alpha\naxis XAxis 0 0 X\naxis YAxis 1 0 Y\ndevice " + deviceGuid(1) +
              " Bravo\naxis ZAxis 2 0 Z\n");
  refreshDevices();
  chooseRow(app.axisList, 1);
  IDirectInputDevice8W* chosen = app.activeDevice;
  app.running = true;
  SendMessageW(app.deviceList, CB_SETCURSEL, 1, 0);
  selectDevice(app.deviceList);
  SendMessageW(app.axisList, CB_SETCURSEL, 0, 0);
  selectAxis(app.axisList);
  app.running = false;
  EXPECT_EQ(app.activeDevice, chosen);
  EXPECT_EQ(comboRows(app.axisList), (std::vector<std::wstring>{L"X", L"Y"}));
  EXPECT_EQ(app.axisIndex, 1);
}
