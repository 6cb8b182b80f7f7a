// Reading the selected axis against the virtual controller: range, acquisition, state fields and failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "input/axis_reader.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "win/virtual_controller_support.h"

namespace {
class AxisReader : public ::testing::Test {
 protected:
  void SetUp() override {
    resetInput();
    ASSERT_NE(standInExport("VirtualControllerLiveObjects"), nullptr) << "dinput8.dll is not the virtual controller";
  }
};

const std::string stick = "device " + deviceGuid(0) + " Stick\n";

// A stick with one X axis at the given position, listed and selected.
void selectStickAt(const std::string& position, const std::string& extra = "") {
  writeScript(stick + "axis XAxis 0 " + position + " X\n" + extra);
  refreshDevices();
}

int rowOf(const std::wstring& name) {
  const std::vector<std::wstring> rows = comboRows(app.axisList);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row] == name) return static_cast<int>(row);
  }
  return -1;
}
}  // namespace

TEST_F(AxisReader, FirstReadAfterTheRangeIsSetAcquiresAndGivesAPosition) {
  selectStickAt("0.5");
  const long acquiresBefore = callCount("Acquire");
  setAxisRange();
  EXPECT_EQ(readAxis(), 32768);
  EXPECT_EQ(callCount("Acquire"), acquiresBefore + 1);
  EXPECT_EQ(readAxis(), 32768);
  EXPECT_EQ(callCount("Acquire"), acquiresBefore + 1);
}

TEST_F(AxisReader, RangeIsZeroTo65535WhateverTheDeviceHadBefore) {
  struct Case {
    std::string position;
    int value;
  };
  const Case cases[] = {{"0", 0}, {"1", 65535}, {"0.25", 16384}, {"0.75", 49151}};
  for (const Case& c : cases) {
    selectStickAt(c.position);
    // Another range first, as a driver might keep from an earlier program.
    setAxisRangeProperty(app.activeDevice, app.axes[0].dwType, -1000, 1000);
    setAxisRange();
    EXPECT_EQ(readAxis(), c.value) << c.position;
  }
}

TEST_F(AxisReader, InstanceNumberAloneChoosesTheStateField) {
  struct Case {
    std::string object;
    std::wstring name;
    int value;
  };
  const Case cases[] = {
      {"object XAxis 0x2 0 0.0 I0", L"I0", 0},
      {"object YAxis 0x2 1 0.1 I1", L"I1", 6554},
      {"object ZAxis 0x2 2 0.2 I2", L"I2", 13107},
      {"object RxAxis 0x2 3 0.3 I3", L"I3", 19661},
      {"object RyAxis 0x2 4 0.4 I4", L"I4", 26214},
      {"object RzAxis 0x2 5 0.6 I5", L"I5", 39321},
      {"object ZAxis 0x2 6 0.7 I6 not a slider", L"I6 not a slider", 45875},
      {"object Slider 0x2 7 0.9 I7", L"I7", 58982},
      {"object Slider 0x2 8 0.5 I8 third slider", L"I8 third slider", noAxisValue},
  };
  std::string script = stick;
  for (const Case& c : cases) script += c.object + "\n";
  writeScript(script);
  refreshDevices();
  for (const Case& c : cases) {
    chooseRow(app.axisList, rowOf(c.name));
    ASSERT_EQ(app.axisIndex, rowOf(c.name));
    setAxisRange();
    EXPECT_EQ(readAxis(), c.value) << c.object;
  }
}

TEST_F(AxisReader, UnpluggedDeviceReadsNoAxisValue) {
  selectStickAt("0.5");
  setAxisRange();
  ASSERT_EQ(readAxis(), 32768);
  writeScript(stick + "axis XAxis 0 0.5 X\nunplugged " + deviceGuid(0) + "\n");
  EXPECT_EQ(readAxis(), noAxisValue);
  EXPECT_EQ(readAxis(), noAxisValue);
  writeScript("");
  EXPECT_EQ(readAxis(), noAxisValue);
}

TEST_F(AxisReader, LostInputIsRetriedOnlyAFewTimes) {
  struct Case {
    std::string failure;
    long acquires;
    int value;
  };
  const Case cases[] = {
      {"fail Acquire 0x8007001E", 3, noAxisValue},    // never comes back: the read gives up
      {"fail Acquire 0x8007001E times 2", 3, 32768},  // back on the third try
      {"fail Acquire 0x8007001E times 1", 2, 32768},
  };
  for (const Case& c : cases) {
    selectStickAt("0.5", c.failure + "\n");
    setAxisRange();
    const long acquiresBefore = callCount("Acquire");
    EXPECT_EQ(readAxis(), c.value) << c.failure;
    EXPECT_EQ(callCount("Acquire") - acquiresBefore, c.acquires) << c.failure;
  }
}

TEST_F(AxisReader, AcquireResultDecidesAfterAFailedPoll) {
  struct Case {
    std::string acquireCode;
    int value;
  };
  // The device is acquired by a first read at 0.5; then Poll fails and the axis stands at 1.
  const Case cases[] = {
      {"0x80070057", noAxisValue},  // invalid parameter
      {"0x80070015", noAxisValue},  // not initialized
      {"0x80070005", 32768},        // another program has priority: the last position read
      {"0x80004005", 65535},        // anything else: the state is read
  };
  for (const Case& c : cases) {
    selectStickAt("0.5");
    setAxisRange();
    ASSERT_EQ(readAxis(), 32768);
    writeScript(stick + "axis XAxis 0 1 X\nfail Poll 0x8007000C\nfail Acquire " + c.acquireCode + "\n");
    EXPECT_EQ(readAxis(), c.value) << c.acquireCode;
  }
}

TEST_F(AxisReader, LastPositionStartsAgainWhenTheAxisChanges) {
  writeScript(stick + "axis XAxis 0 0.5 X\naxis YAxis 1 0.25 Y\n");
  refreshDevices();
  setAxisRange();
  ASSERT_EQ(readAxis(), 32768);
  chooseRow(app.axisList, 1);
  writeScript(stick + "axis XAxis 0 0.5 X\naxis YAxis 1 0.25 Y\nfail Poll 0x8007000C\nfail Acquire 0x80070005\n");
  EXPECT_EQ(readAxis(), 0);
}

TEST_F(AxisReader, FailedStateReadOrNoDeviceReadsNoAxisValue) {
  selectStickAt("0.5", "fail GetDeviceState 0x80004005\n");
  setAxisRange();
  EXPECT_EQ(readAxis(), noAxisValue);
  releaseControllers();
  EXPECT_EQ(readAxis(), noAxisValue);
  EXPECT_EQ(liveObjects(2), 0);
}
