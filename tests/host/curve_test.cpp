// The response curve, the pump's arithmetic and the curve editor's geometry, in worked figures.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <tuple>

#include "curve/editor_geometry.h"
#include "curve/spline.h"
#include "sim/zoom_math.h"

namespace {
int curveAt(const std::vector<int>& heights, int percent) {
  return curvePercentAt(splineThroughHeights(heights), static_cast<int>(heights.size()), percent);
}

const std::vector<int> line = {0, 20, 40, 60, 80, 100};
const std::vector<int> dip = {0, 0, 0, 0, 0, 100};
const PixelRect area = {52, 56, 242, 156};  // the editor of the fallback layout

bool same(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

TEST(ResponseCurve, KnownCurvesGiveTheirPercents) {
  const std::pair<std::vector<int>, std::vector<std::pair<int, int>>> cases[] = {
      {dip, {{10, 0}, {25, 0}, {50, 1}, {75, -7}, {90, 39}, {99, 93}, {100, 100}}},
      {{0, 10, 30, 60, 80, 100}, {{0, 0}, {10, 4}, {25, 13}, {50, 45}, {75, 75}, {90, 89}, {99, 98}, {100, 100}}},
      {{0, 0, 0, 0, 0, 0, 100}, {{96, 100}, {98, 115}, {100, 131}}},  // seven points: the knots end at 96
      {{30, 70}, {{0, 30}, {25, 40}, {50, 50}, {100, 70}}},
      {{40, 40, 40, 40, 40, 40}, {{0, 40}, {77, 40}, {100, 40}}},
      {line, {{-30, -30}, {0, 0}, {33, 33}, {67, 67}, {100, 100}, {250, 250}}},  // outside 0..100 too
  };
  for (const auto& [heights, percents] : cases) {
    for (const auto& [percent, expected] : percents) {
      EXPECT_EQ(curveAt(heights, percent), expected) << percent << "% of " << heights.size() << " points";
    }
  }
  EXPECT_EQ(curvePercentAt({}, 6, 42), 42) << "no spline: the percent passes";
  EXPECT_TRUE(splineThroughHeights({50}).empty() && splineThroughHeights(std::vector<int>(102, 0)).empty());
}

TEST(ResponseCurve, StraightLinesAndEditorRows) {
  const std::pair<int, std::vector<int>> lines[] = {
      {6, line}, {7, {0, 16, 33, 50, 66, 83, 100}}, {2, {0, 100}}, {1, {}}};
  for (const auto& [count, heights] : lines) EXPECT_EQ(straightLineHeights(count), heights) << count;
  const std::vector<CurveSegment> spline = splineThroughHeights(line);
  const std::tuple<int, double, double> rows[] = {{196, 4, 96}, {196, 192, 4}, {196, 98, 50}, {376, 372, 4}};
  for (const auto& [width, column, row] : rows) EXPECT_DOUBLE_EQ(curveRowAt(spline, 6, width, 100, column), row);
}

TEST(ZoomMath, RawReadingsBecomeInvertedCurvedClampedPercents) {
  const std::pair<int, int> percents[] = {{0, 0},       {655, 0},    {656, 1},     {32767, 49},  {32768, 50},
                                          {65535, 100}, {-70000, 0}, {65536, 100}, {INT_MIN, 0}, {INT_MAX - 1, 100}};
  for (const auto& [raw, percent] : percents) EXPECT_EQ(rawToPercent(raw), percent) << raw;
  struct Case {
    int raw;
    bool inverted, curves;
    std::vector<int> heights;
    int input, value;
  };
  const Case cases[] = {
      {0, true, false, dip, 100, 100},
      {65535, true, false, dip, 0, 0},
      {49152, false, true, dip, 75, 0},  // the curve gives -7: clamped
      {16384, true, true, dip, 75, 0},   // inverted first, then the curve
      {58982, false, true, dip, 90, 39},
      {26214, false, true, {0, 60, 100, 100, 100, 100}, 40, 100},  // an overshoot is clamped
  };
  for (const Case& c : cases) {
    const ZoomReading reading = zoomForReading(c.raw, c.inverted, c.curves, splineThroughHeights(c.heights), 6);
    EXPECT_EQ(reading.inputPercent, c.input) << c.raw;
    EXPECT_EQ(reading.value, c.value) << c.raw << " inverted " << c.inverted << " curves " << c.curves;
  }
  EXPECT_EQ(nextTickCount(INT_MAX), INT_MIN) << "the count wraps instead of overflowing";
}

TEST(EditorGeometry, MarkersAndMousePositionsOfThePoints) {
  const std::tuple<int, int, int, int, PixelRect> markers[] = {
      {0, 6, 190, 0, {0, 92, 8, 100}},   {5, 6, 190, 100, {182, 0, 190, 8}}, {3, 6, 190, 60, {109, 37, 117, 45}},
      {1, 6, 190, 50, {36, 46, 44, 54}}, {1, 2, 50, 25, {42, 69, 50, 77}},   {6, 7, 190, 100, {182, 0, 190, 8}},
  };
  for (const auto& [index, count, width, value, rect] : markers) {
    EXPECT_TRUE(same(markerRect(index, count, width, 100, value), rect)) << "point " << index << " of " << count;
  }
  EXPECT_TRUE(gridRow(100, 1) == 25 && gridRow(100, 3) == 75 && gridRow(90, 2) == 44);
  const std::tuple<int, int, int, int, int> points[] = {
      {0, 6, 0, 52, 156}, {2, 6, 33, 128, 123}, {5, 6, 100, 242, 56}, {6, 7, 100, 238, 56}};
  for (const auto& [index, count, value, x, y] : points) {
    const PointPosition p = pointClientPosition(area, index, count, value);
    EXPECT_TRUE(p.x == x && p.y == y) << "point " << index << " of " << count;
  }
}

TEST(EditorGeometry, HitTestNeedsLessThanTenPixelsOnBothAxes) {
  const std::tuple<int, int, int> hits[] = {{52, 156, 0}, {61, 156, 0},  {62, 156, -1}, {43, 156, 0},  {42, 156, -1},
                                            {52, 147, 0}, {52, 146, -1}, {52, 165, 0},  {52, 166, -1}, {61, 147, 0},
                                            {99, 127, 1}, {251, 65, 5},  {252, 56, -1}, {147, 96, -1}};
  for (const auto& [x, y, point] : hits) EXPECT_EQ(controlPointAt(area, line, 6, x, y), point) << x << ", " << y;
  EXPECT_EQ(controlPointAt({0, 0, 20, 100}, std::vector<int>(6, 50), 6, 12, 50), 1) << "overlaps: the lowest index";
  const std::tuple<PixelRect, std::vector<int>, int> unusable[] = {{area, {50}, 1},
                                                                   {area, line, 7},
                                                                   {area, std::vector<int>(102, 0), 102},
                                                                   {{52, 56, 60, 156}, line, 6},
                                                                   {{52, 56, 242, 64}, line, 6}};
  for (const auto& [rect, values, count] : unusable) {
    EXPECT_EQ(controlPointAt(rect, values, count, rect.left, rect.bottom), -1) << count;
  }
}

TEST(EditorGeometry, DraggedHeightsAndColumnRuns) {
  const std::tuple<PixelRect, int, int> drags[] = {{area, -30, 100},         {area, 56, 100},      {area, 57, 99},
                                                   {area, 106, 50},          {area, 155, 1},       {area, 400, 0},
                                                   {{0, 0, 10, 30}, 20, 33}, {{0, 5, 10, 5}, 3, 0}};
  for (const auto& [rect, y, height] : drags) EXPECT_EQ(dragHeight(rect, y), height) << y;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Run {
    double previous, row, next;
    bool drawn;
    int low, high;
  };
  const Run runs[] = {
      {10, 12, 15, true, 11, 13},      {15, 12, 10, true, 11, 13},      {96, 96, 95, true, 95, 96},
      {98, 99.5, 101, false, 0, 0},                                 // reaches row 100 of a 100-row buffer
      {99, 99.9, 99.95, true, 99, 99}, {1, -0.8, -2, false, 0, 0},  // reaches row -1
      {0.5, -0.5, -0.9, true, 0, 0},   {1e12, 1e12, 1e12, false, 0, 0}, {nan, 5, 5, false, 0, 0},
  };
  for (const Run& r : runs) {
    const ColumnRun run = curveColumnRun(r.previous, r.row, r.next, 100);
    EXPECT_TRUE(run.drawn == r.drawn && (!r.drawn || (run.low == r.low && run.high == r.high)))
        << r.previous << " " << r.row << " " << r.next;
  }
}
