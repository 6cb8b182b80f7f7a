// The controllers behind the program's window: the device and axis lists, their order, failures and
// releases, and the reading of the selected axis, against the virtual controller.
#include <gtest/gtest.h>

#include <algorithm>

#include "input/axis_reader.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "win/win_test_support.h"

namespace {
// Instance numbers are DirectInput's own: the format places axes by kind, the first two sliders in the slider
// slots, and leaves out further axes of a kind.
const std::string joystick =
    "axis XAxis 0 0.5 X Axis\nobject Button 0x4 0 0 Trigger\naxis Slider 1 0.2 Dial\nobject POV 0x10 0 0 Hat\n"
    "axis ZAxis 2 0.3 Z\naxis ZAxis 3 0.9 Second Z\naxis Slider 4 0.4 Throttle\naxis RxAxis 8 0.6 Rx\n"
    "object RyAxis 0x1 5 0 Relative Ry\nobject Slider 0x1 9 0 Relative slider\nobject Slider 0x4 3 0 Slider button\n"
    "object Button 0x8 1 0 Toggle\nobject Unknown 0x2 11 0 Absolute of no kind\n";
const std::string threeDevices = deviceLine(3, "Charlie") + "axis XAxis 0 0 C\n" + deviceLine(2, "Bravo") +
                                 "axis XAxis 0 0 B\n" + deviceLine(1, "Alpha") + joystick;
// Absolute axes and sliders that the format reads, nothing else.
const std::wstring alphaAxes = L"[Dial]|Rx|Throttle|X Axis|Z";

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
      {fail + "GetObjectInfo 0x80070057 times 1", L"[Alpha]|Bravo|Charlie", L"[Dial]|Rx|Throttle|Z",
       L"device: Charlie|device: Bravo|device: Alpha|Error at 4: -2147024809"},
      {fail + "SetDataFormat 0x80070057", L"[Alpha]|Bravo|Charlie", L"",
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

TEST(AxisReader, ReadsEachAxisWhereTheFormatPutItOnceAcquired) {
  const std::string stuck = "axis XAxis 0 1 X\nfail Poll 0x8007000C\nfail Acquire ";
  // The device's objects and, if any, its objects at a third reading; the first and the last reading.
  const std::tuple<std::string, std::string, int, int> readings[] = {
      {"axis XAxis 0 0 X", "", justAcquiredValue, 0},
      {"axis XAxis 0 1 X", "", justAcquiredValue, 65535},
      {"axis XAxis 0 0.5 X\nfail GetDeviceState 0x80004005", "", noAxisValue, noAxisValue},
      {"axis XAxis 0 0.5 X\nfail Acquire 0x8007001E times 2", "", justAcquiredValue, 32768},  // input lost twice
      {"axis XAxis 0 0.5 X\nfail Acquire 0x8007001E times 3", "", noAxisValue, justAcquiredValue},
      {"axis XAxis 0 0.5 X", "unplugged", justAcquiredValue, noAxisValue},
      {"axis XAxis 0 0.5 X", stuck + "0x80070057", justAcquiredValue, noAxisValue},
      {"axis XAxis 0 0.5 X", stuck + "0x80070015", justAcquiredValue, noAxisValue},
      {"axis XAxis 0 0.5 X", stuck + "0x80070005", justAcquiredValue, 32768},  // another program's: the last one
      {"axis XAxis 0 0.5 X", stuck + "0x80004005", justAcquiredValue, 65535}};
  ASSERT_TRUE(createProgramWindow(""));
  for (const auto& [objects, later, first, last] : readings) {
    refreshWith(deviceLine(1, "Stick") + objects + "\n");
    setAxisRangeProperty(app.activeDevice, app.axes[0].dwType, -1000, 1000);  // a range left by another program
    setAxisRange();
    EXPECT_EQ(readAxis(), first) << objects << " / " << later;
    int value = readAxis();
    if (!later.empty()) useControllers(later == "unplugged" ? "" : deviceLine(1, "Stick") + later + "\n");
    if (!later.empty()) value = readAxis();
    EXPECT_EQ(value, last) << objects << " / " << later;
  }
  const std::string twoDevices = deviceLine(1, "Alpha") + joystick + deviceLine(2, "Pad") + "object Button 0x4 0 0 B\n";
  refreshWith(twoDevices);
  readAxis();
  std::wstring read;
  for (int row = 0; row < 5; ++row) {
    chooseRow(app.axisList, row);
    read += std::wstring(app.axes[static_cast<std::size_t>(row)].tszName) + L"=" + std::to_wstring(readAxis()) + L" ";
  }
  EXPECT_EQ(read, L"Dial=13107 Rx=39321 Throttle=26214 X Axis=32768 Z=19661 ") << "each offered axis, its own position";
  chooseRow(app.axisList, 1);
  useControllers(twoDevices + "fail Poll 0x8007000C\nfail Acquire 0x80070005\n");
  EXPECT_EQ(readAxis(), 0) << "the last position belongs to the axis it was read from";
  chooseRow(app.deviceList, 1);
  EXPECT_TRUE(rowsOf(app.axisList).empty() && app.axes.empty() && app.axisIndex == 1) << "no axes: the index stays";
}
