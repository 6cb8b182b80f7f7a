// The curve editor's two point mappings, its hit test, the dragged height and the curve's column runs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "curve/editor_geometry.h"

namespace {
// The editor of the fallback layout: 190 x 100 at (52, 56).
const PixelRect area = {52, 56, 242, 156};
const std::vector<int> line = {0, 20, 40, 60, 80, 100};
}  // namespace

TEST(EditorGeometry, MarkersAreInsetByFourPixels) {
  struct Case {
    int index, pointCount, width, value;
    PixelRect marker;
  };
  const Case cases[] = {
      {0, 6, 190, 0, {0, 92, 8, 100}},      // centre column 4, row H - 4
      {5, 6, 190, 100, {182, 0, 190, 8}},   // centre column W - 4, row 4
      {3, 6, 190, 60, {109, 37, 117, 45}},  // (3 * 182) / 5 = 109; centre row 100 - (55 + 4) = 41
      {1, 6, 190, 50, {36, 46, 44, 54}},    // 92 * 50 / 100 = 46
      {1, 2, 50, 25, {42, 69, 50, 77}},     // two points: the second at the right inset
      {6, 7, 190, 100, {182, 0, 190, 8}},   // seven points end at the right inset too
  };
  for (const Case& c : cases) {
    const PixelRect marker = markerRect(c.index, c.pointCount, c.width, 100, c.value);
    EXPECT_EQ(marker.left, c.marker.left) << "point " << c.index << " of " << c.pointCount;
    EXPECT_EQ(marker.top, c.marker.top) << "point " << c.index << " of " << c.pointCount;
    EXPECT_EQ(marker.right, c.marker.right) << "point " << c.index << " of " << c.pointCount;
    EXPECT_EQ(marker.bottom, c.marker.bottom) << "point " << c.index << " of " << c.pointCount;
  }
  EXPECT_EQ(gridRow(100, 1), 25);
  EXPECT_EQ(gridRow(100, 3), 75);
  EXPECT_EQ(gridRow(90, 2), 44);
}

TEST(EditorGeometry, MouseSeesPointsOnTheFullRectangle) {
  struct Case {
    int index, value, x, y;
  };
  const Case cases[] = {{0, 0, 52, 156}, {1, 20, 90, 136}, {5, 100, 242, 56}, {2, 33, 128, 123}};
  for (const Case& c : cases) {
    const PointPosition point = pointClientPosition(area, c.index, 6, c.value);
    EXPECT_EQ(point.x, c.x) << "point " << c.index;
    EXPECT_EQ(point.y, c.y) << "point " << c.index;
  }
  // 7 points: step 190 / 6 = 31, so the last point stands short of the right edge.
  EXPECT_EQ(pointClientPosition(area, 6, 7, 100).x, 52 + 186);
}

TEST(EditorGeometry, HitTestNeedsLessThanTenPixelsOnBothAxes) {
  struct Case {
    int x, y, expected;
  };
  const Case cases[] = {
      {52, 156, 0}, {61, 156, 0},  {62, 156, -1}, {43, 156, 0},  {42, 156, -1}, {52, 147, 0}, {52, 146, -1},
      {52, 165, 0}, {52, 166, -1}, {61, 147, 0},  {61, 146, -1}, {90, 136, 1},  {99, 127, 1}, {242, 56, 5},
      {251, 65, 5}, {252, 56, -1}, {242, 46, -1}, {71, 146, -1}, {147, 96, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(controlPointAt(area, line, 6, c.x, c.y), c.expected) << "at " << c.x << ", " << c.y;
  }
}

TEST(EditorGeometry, OverlappingPointsGiveTheLowestIndex) {
  const PixelRect narrow = {0, 0, 20, 100};  // points 4 pixels apart
  const std::vector<int> flat = {50, 50, 50, 50, 50, 50};
  EXPECT_EQ(controlPointAt(narrow, flat, 6, 8, 50), 0);
  EXPECT_EQ(controlPointAt(narrow, flat, 6, 12, 50), 1);
  EXPECT_EQ(controlPointAt(narrow, flat, 6, 20, 50), 3);
}

TEST(EditorGeometry, UnusableCurvesAreNeverHit) {
  struct Case {
    PixelRect rect;
    std::vector<int> values;
    int pointCount;
  };
  const Case cases[] = {
      {area, {50}, 1},
      {area, {}, 0},
      {area, line, 7},                        // heights run short
      {area, std::vector<int>(102, 0), 102},  // more points than percents
      {{52, 56, 60, 156}, line, 6},           // 8 pixels wide
      {{52, 56, 242, 64}, line, 6},           // 8 pixels high
      {{52, 56, 52, 156}, line, 6},           // empty
  };
  for (const Case& c : cases) {
    EXPECT_EQ(controlPointAt(c.rect, c.values, c.pointCount, c.rect.left, c.rect.bottom), -1)
        << c.pointCount << " points in " << c.rect.right - c.rect.left << " x " << c.rect.bottom - c.rect.top;
  }
  EXPECT_TRUE(curveEditorUsable(9, 9, 2, 2));
  EXPECT_TRUE(curveEditorUsable(190, 100, 101, 101));
}

TEST(EditorGeometry, DraggedHeightIsTheDistanceFromTheBottomClamped) {
  struct Case {
    PixelRect rect;
    int y, height;
  };
  const Case cases[] = {
      {area, -30, 100},         {area, 0, 100},           {area, 56, 100},          {area, 57, 99},
      {area, 106, 50},          {area, 155, 1},           {area, 156, 0},           {area, 400, 0},
      {{0, 0, 10, 50}, 25, 50}, {{0, 0, 10, 50}, 10, 80}, {{0, 0, 10, 30}, 20, 33}, {{0, 5, 10, 5}, 3, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dragHeight(c.rect, c.y), c.height) << "y " << c.y << " in " << c.rect.top << ".." << c.rect.bottom;
  }
}

TEST(EditorGeometry, ColumnRunsJoinMidpointsAndLeaveGapsAtTheEdges) {
  struct Case {
    double previous, row, next;
    bool drawn;
    int low, high;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {10.0, 12.0, 15.0, true, 11, 13},  {15.0, 12.0, 10.0, true, 11, 13}, {50.0, 50.0, 50.0, true, 50, 50},
      {96.0, 96.0, 95.0, true, 95, 96},  {98.0, 99.5, 101.0, false, 0, 0},  // reaches row 100 of a 100-row buffer
      {99.0, 99.9, 99.95, true, 99, 99}, {1.0, -0.8, -2.0, false, 0, 0},    // reaches row -1
      {0.5, -0.5, -0.9, true, 0, 0},                                        // -0.7 truncates to row 0
      {1e12, 1e12, 1e12, false, 0, 0},   {-1e12, 5.0, 5.0, false, 0, 0},   {nan, 5.0, 5.0, false, 0, 0},
  };
  for (const Case& c : cases) {
    const ColumnRun run = curveColumnRun(c.previous, c.row, c.next, 100);
    EXPECT_EQ(run.drawn, c.drawn) << c.previous << " " << c.row << " " << c.next;
    if (!c.drawn || !run.drawn) continue;
    EXPECT_EQ(run.low, c.low) << c.previous << " " << c.row << " " << c.next;
    EXPECT_EQ(run.high, c.high) << c.previous << " " << c.row << " " << c.next;
  }
}
