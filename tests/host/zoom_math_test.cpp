// The pump's arithmetic: raw readings to zoom values, and the tick schedule.
#include <gtest/gtest.h>

#include <climits>

#include "sim/zoom_math.h"

TEST(ZoomMath, RawReadingsBecomePercents) {
  const std::pair<int, int> cases[] = {
      {0, 0},  {655, 0},    {656, 1},     {32767, 49},  {32768, 50},        {65535, 100},
      {-1, 0}, {-70000, 0}, {65536, 100}, {INT_MIN, 0}, {INT_MAX - 1, 100},
  };
  for (const auto& [raw, percent] : cases) EXPECT_EQ(rawToPercent(raw), percent) << "raw " << raw;
}

TEST(ZoomMath, InversionCurveAndClampShapeTheValue) {
  const std::vector<int> dip = {0, 0, 0, 0, 0, 100};
  const std::vector<CurveSegment> dipSpline = splineThroughHeights(dip);
  const std::vector<CurveSegment> steep = splineThroughHeights({0, 60, 100, 100, 100, 100});
  struct Case {
    int raw;
    bool inverted;
    bool curves;
    const std::vector<CurveSegment>* spline;
    int input;
    int value;
  };
  const Case cases[] = {
      {0, false, false, &dipSpline, 0, 0},
      {65535, false, false, &dipSpline, 100, 100},
      {0, true, false, &dipSpline, 100, 100},
      {65535, true, false, &dipSpline, 0, 0},
      {32768, true, false, &dipSpline, 50, 50},
      {49152, false, true, &dipSpline, 75, 0},  // the curve gives -7 here: clamped to 0
      {16384, true, true, &dipSpline, 75, 0},   // inverted first, then the curve
      {58982, false, true, &dipSpline, 90, 39},
      {19661, false, true, &steep, 30, 84},
      {26214, false, true, &steep, 40, 100},  // overshoot above 100 is clamped
  };
  for (const Case& c : cases) {
    const ZoomReading reading = zoomForReading(c.raw, c.inverted, c.curves, *c.spline, 6);
    EXPECT_EQ(reading.inputPercent, c.input) << "raw " << c.raw;
    EXPECT_EQ(reading.value, c.value) << "raw " << c.raw << " inverted " << c.inverted << " curves " << c.curves;
  }
}

TEST(ZoomMath, TickSchedule) {
  EXPECT_TRUE(isTickMultiple(40, resendPeriod));
  EXPECT_TRUE(isTickMultiple(80, resendPeriod));
  EXPECT_FALSE(isTickMultiple(20, resendPeriod));
  EXPECT_TRUE(isTickMultiple(20, readingCheckPeriod));
  EXPECT_FALSE(isTickMultiple(39, readingCheckPeriod));
  EXPECT_EQ(nextTickCount(41), 42);
  EXPECT_EQ(nextTickCount(INT_MAX), INT_MIN);  // wraps, never overflows
}
