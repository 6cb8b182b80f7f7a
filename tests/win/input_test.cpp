// The controllers behind the program's window: the device and axis lists, their order, failures and
// releases, and the reading of the selected axis, against the virtual controller.
#include <gtest/gtest.h>

#include <algorithm>

#include "input/axis_reader.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "win/win_test_support.h"

namespace {
const std::string joystick =
    "axis XAxis 0 0.5 X Axis\nobject Button 0x4 0 0 Trigger\naxis YAxis 1 0.5 Y Axis\nobject POV 0x10 0 0 Hat\n"
    "axis RzAxis 5 0.5 Rudder\naxis Slider 6 0 Throttle\naxis Slider 7 0.2 Dial\nobject XAxis 0x1 10 0 Relative X\n"
    "object Slider 0x1 9 0 Relative slider\nobject Slider 0x4 3 0 Slider-typed button\nobject Button 0x8 1 0 Toggle\n"
    "object Unknown 0x2 11 0 Absolute of no kind\n";
const std::string threeDevices = deviceLine(3, "Charlie") + "axis XAxis 0 0 C\n" + deviceLine(2, "Bravo") +
                                 "axis XAxis 0 0 B\n" + deviceLine(1, "Alpha") + joystick;
// Absolute axes and sliders of any kind are admitted, nothing else.
const std::wstring alphaAxes =
    L"[Absolute of no kind]|Dial|Relative slider|Rudder|Slider-typed button|Throttle|X Axis|Y Axis";

void refreshWith(const std::string& script) {
  useControllers(script);
  debugTexts();
  routeCommand(IDC_REFRESH);
}
}  // namespace

TEST(InputLists, RowsStandInCodeUnitOrderEachForItsDeviceAndFailuresListWhatWasGathered) {
  const std::string bravo = deviceGuid(2).insert(0, 1, ' '), fail = threeDevices + "fail ";
  const std::tuple<std::string, std::wstring, std::wstring, std::wstring> cases[] = {
      {deviceLine(1, "Twin") + deviceLine(2, "alpha") + deviceLine(3, "Twin") + deviceLine(4, "Alpha") + joystick,
       L"[Alpha]|Twin|Twin|alpha", alphaAxes, L"device: Twin|device: alpha|device: Twin|device: Alpha"},
      // Names end with their buffers.
      {deviceLine(1, std::string(300, 'N')) + "axis XAxis 0 0 " + std::string(280, 'x'),
       L"[" + std::wstring(260, L'N') + L"]", L"[" + std::wstring(260, L'x') + L"]",
       L"device: " + std::wstring(260, L'N')},
      {fail + "GetProperty 0x80070057" + bravo, L"[Alpha]|Charlie", alphaAxes,
       L"device: Charlie|Error at 3: -2147024809|device: Alpha"},
      {fail + "CreateDevice 0x80040154" + bravo, L"[Alpha]|Charlie", alphaAxes, L"device: Charlie|device: Alpha"},
      {fail + "EnumDevices 0x80004005 after 2", L"[Charlie]|Bravo", L"[C]",
       L"device: Charlie|device: Bravo|Error at 1: -2147467259"},
      {fail + "EnumObjects 0x80070057 after 3", L"[Alpha]|Bravo|Charlie", L"[X Axis]|Y Axis",
       L"device: Charlie|device: Bravo|device: Alpha|Error at 4: -2147024809"},
      {fail + "DirectInput8Create 0x80070057", L"", L"[C]", L"Error at 1: -2147024809"},
      {fail + "DirectInput8Create 0x1", L"", L"[C]", L"Error at 1: 1"}};
  ASSERT_TRUE(createProgramWindow(""));
  for (const auto& [script, devices, axes, texts] : cases) {
    refreshWith(threeDevices);
    chooseRow(app.deviceList, 2);
    refreshWith(script + "\n");
    EXPECT_EQ(rowsOf(app.deviceList), devices) << script;
    EXPECT_EQ(rowsOf(app.axisList), axes) << script;
    EXPECT_EQ(debugTexts(), texts) << script;
    // Only listed devices live, and without a list only the one still chosen, with its DirectInput object.
    EXPECT_EQ(liveObjects(1), devices.empty() ? 1 : std::count(devices.begin(), devices.end(), L'|') + 1) << script;
    EXPECT_EQ(liveObjects(0), 1) << script;
  }
}

TEST(AxisReader, ReadsTheFieldOfItsInstanceAcquiringAsNeeded) {
  const std::string stuck = "axis XAxis 0 1 X\nfail Poll 0x8007000C\nfail Acquire ";
  // The device's objects at a first reading and, if any, at a second one; the last reading.
  const std::tuple<std::string, std::string, int> readings[] = {
      {"axis XAxis 0 0 X", "", 0},
      {"axis XAxis 0 1 X", "", 65535},
      {"axis XAxis 0 0.25 X", "", 16384},
      {"object ZAxis 0x01000002 6 0.7 Sixth, not a slider, with a flag", "", 45875},
      {"object Slider 0x2 7 0.2 Seventh, the second slider", "", 13107},
      {"object Slider 0x2 8 0.5 Third slider", "", noAxisValue},
      {"object Slider 0x2 256 0.5 Bit 16 is in the instance", "", noAxisValue},
      {"axis XAxis 0 0.5 X\nfail GetDeviceState 0x80004005", "", noAxisValue},
      {"axis XAxis 0 0.5 X\nfail Acquire 0x8007001E times 2", "", 32768},  // lost input: back on the third try
      {"axis XAxis 0 0.5 X\nfail Acquire 0x8007001E times 3", "", noAxisValue},
      {"axis XAxis 0 0.5 X", "unplugged", noAxisValue},
      {"axis XAxis 0 0.5 X", stuck + "0x80070057", noAxisValue},
      {"axis XAxis 0 0.5 X", stuck + "0x80070015", noAxisValue},
      {"axis XAxis 0 0.5 X", stuck + "0x80070005", 32768},  // another program has priority: the last position
      {"axis XAxis 0 0.5 X", stuck + "0x80004005", 65535}};
  ASSERT_TRUE(createProgramWindow(""));
  for (const auto& [objects, later, expected] : readings) {
    refreshWith(deviceLine(1, "Stick") + objects + "\n");
    setAxisRangeProperty(app.activeDevice, app.axes[0].dwType, -1000, 1000);  // a range left by another program
    setAxisRange();
    int value = readAxis();
    if (!later.empty()) useControllers(later == "unplugged" ? "" : deviceLine(1, "Stick") + later + "\n");
    if (!later.empty()) value = readAxis();
    EXPECT_EQ(value, expected) << objects << " / " << later;
  }
  const std::string twoAxes = deviceLine(1, "Stick") + "axis XAxis 0 0.5 X\naxis YAxis 1 0.25 Y\n" +
                              deviceLine(2, "Trigger") + "object Button 0x4 0 0 Only a button\n";
  refreshWith(twoAxes);
  setAxisRange();
  ASSERT_EQ(readAxis(), 32768);
  chooseRow(app.axisList, 1);
  useControllers(twoAxes + "fail Poll 0x8007000C\nfail Acquire 0x80070005\n");
  EXPECT_EQ(readAxis(), 0) << "the last position belongs to the axis it was read from";
  chooseRow(app.deviceList, 1);
  EXPECT_TRUE(rowsOf(app.axisList).empty() && app.axes.empty() && app.axisIndex == 1) << "no axes: the index stays";
}
