// The response curve, the pump's arithmetic and the curve editor's geometry, in worked figures.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <tuple>

#include "core/display_colours.h"
#include "core/display_texts.h"
#include "core/editor_geometry.h"
#include "core/spline.h"
#include "core/zoom_math.h"

namespace {
const std::vector<int> line = {0, 20, 40, 60, 80, 100}, dip = {0, 0, 0, 0, 0, 100};
const PixelRect area = {52, 56, 242, 156};  // the editor of the fallback layout

// The curve's percents at the given axis percents, separated by blanks.
std::string curveAt(const std::vector<int>& heights, std::initializer_list<int> percents) {
  std::string text;
  for (int p : percents) text += std::to_string(curvePercentAt(splineThroughHeights(heights), heights.size(), p)) + " ";
  return text;
}

std::string text(const PixelRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + " ";
}
}  // namespace

TEST(ResponseCurve, KnownCurvesGiveTheirPercents) {
  EXPECT_EQ(curveAt(dip, {10, 25, 50, 75, 90, 99, 100}), "0 0 1 -7 39 93 100 ");
  EXPECT_EQ(curveAt({0, 10, 30, 60, 80, 100}, {0, 10, 25, 50, 75, 90, 99, 100}), "0 4 13 45 75 89 98 100 ");
  // Knots spread over the whole 0..100 whatever the count: a line of seven or fifty points stays the line.
  EXPECT_EQ(curveAt({0, 10, 20, 30, 40, 50, 60}, {30, 90, 100}), "18 54 60 ");
  EXPECT_EQ(curveAt({0, 16, 33, 50, 66, 83, 100}, {10, 30, 50, 90, 100}), "9 29 50 89 100 ") << "within 1 of it";
  EXPECT_EQ(curveAt({0, 0, 0, 0, 0, 0, 100}, {96, 98, 100}), "69 84 100 ");
  EXPECT_EQ(curveAt(straightLineHeights(50), {1, 30, 77, 99, 100}), "0 29 76 98 100 ");
  EXPECT_EQ(curveAt({30, 70}, {0, 25, 50, 100}), "30 40 50 70 ");
  EXPECT_EQ(curveAt({40, 40, 40, 40, 40, 40}, {0, 77, 100}), "40 40 40 ");
  EXPECT_EQ(curveAt(line, {-30, 0, 33, 67, 100, 250}), "-30 0 33 67 100 250 ") << "outside 0..100 too";
  EXPECT_EQ(curvePercentAt({}, 6, 42), 42) << "no spline: the percent passes";
  EXPECT_TRUE(splineThroughHeights({50}).empty() && splineThroughHeights(std::vector<int>(102, 0)).empty());
  const std::pair<int, std::vector<int>> lines[] = {
      {6, line}, {7, {0, 16, 33, 50, 66, 83, 100}}, {2, {0, 100}}, {1, {}}};
  for (const auto& [count, heights] : lines) EXPECT_EQ(straightLineHeights(count), heights) << count;
  const std::vector<CurveSegment> spline = splineThroughHeights(line);
  EXPECT_TRUE(curveRowAt(spline, 6, 196, 100, 4) == 96 && curveRowAt(spline, 6, 376, 100, 372) == 4) << "inset by 4";
  EXPECT_TRUE(curveRowAt(spline, 6, 285, 150, 6, 6) == 144 && curveRowAt(spline, 6, 285, 150, 279, 6) == 6) << "by 6";
}

TEST(ZoomMath, RawReadingsBecomeInvertedCurvedClampedPercents) {
  std::string percents;
  for (int raw : {0, 655, 656, 32767, 32768, 65535, -70000, 65536, INT_MIN, INT_MAX - 1}) {
    percents += std::to_string(rawToPercent(raw)) + " ";
  }
  EXPECT_EQ(percents, "0 0 1 49 50 100 0 100 0 100 ");
  const std::tuple<int, bool, bool, std::vector<int>, int, int> cases[] = {
      {0, true, false, dip, 100, 100},   {65535, true, false, dip, 0, 0},
      {49152, false, true, dip, 75, 0},  // the curve gives -7: clamped
      {16384, true, true, dip, 75, 0},   // inverted first, then the curve
      {58982, false, true, dip, 90, 39}, {29491, false, true, {0, 60, 100, 100, 100, 100}, 45, 100}};  // overshoot
  for (const auto& [raw, inverted, curves, heights, input, value] : cases) {
    const ZoomReading reading = zoomForReading(raw, inverted, curves, splineThroughHeights(heights), 6);
    EXPECT_TRUE(reading.inputPercent == input && reading.value == value) << raw << " " << inverted << curves;
  }
  EXPECT_EQ(nextTickCount(INT_MAX), INT_MIN) << "the count wraps instead of overflowing";
  // Hand-edited heights near the 32-bit limits: the curve overshoots past them at 28 %, the right way.
  const std::vector<int> up = {0, 2000000000, 2000000000, 2000000000, 2000000000, 2000000000};
  const std::vector<int> down = {0, -2000000000, -2000000000, -2000000000, -2000000000, -2000000000};
  EXPECT_EQ(zoomForReading(18350, false, true, splineThroughHeights(up), 6).value, 100);
  EXPECT_EQ(zoomForReading(18350, false, true, splineThroughHeights(down), 6).value, 0);
}

TEST(EditorGeometry, MarkersPointsHitsDragsAndColumnRuns) {
  EXPECT_EQ(text(markerRect(0, 6, 190, 100, 0)) + text(markerRect(5, 6, 190, 100, 100)) +
                text(markerRect(3, 6, 190, 100, 60)) + text(markerRect(1, 6, 190, 100, 50)) +
                text(markerRect(1, 2, 50, 100, 25)) + text(markerRect(6, 7, 190, 100, 100)) +
                text(markerRect(40, 50, 190, 100, 81)),
            "0,92,8,100 182,0,190,8 109,37,117,45 36,46,44,54 42,69,50,77 182,0,190,8 148,18,156,26 ");
  // At 150 % and 200 %: the inset, half a marker, is 6 and 8 pixels, and the hit radius 15 and 20.
  const EditorScale at150 = editorScale(144), at200 = editorScale(192), at125 = editorScale(120);
  EXPECT_EQ(text(markerRect(0, 6, 285, 150, 0, at150)) + text(markerRect(5, 6, 285, 150, 100, at150)) +
                text(markerRect(5, 6, 380, 200, 100, at200)),
            "0,138,12,150 273,0,285,12 364,0,380,16 ");
  EXPECT_TRUE(at125.inset == 5 && at125.hitRadius == 13 && scalePixels(100, 120) == 125 && scalePixels(1, 48) == 1);
  EXPECT_TRUE(editorScale(96).lineWidth == 1 && at125.lineWidth == 1 && at150.lineWidth == 2 && at200.lineWidth == 2);
  const PixelRect wide = {126, 135, 411, 285};
  EXPECT_TRUE(controlPointAt(wide, line, 6, 140, 271, at150) == 0 &&
              controlPointAt(wide, line, 6, 147, 285, at150) == -1);
  EXPECT_TRUE(gridRow(100, 1) == 25 && gridRow(100, 3) == 75 && gridRow(90, 2) == 44);
  std::string results;
  // Point 0 of the line drawn centred on (56, 152), point 1 on (92, 134), point 5 on (238, 60).
  const std::pair<int, int> positions[] = {{56, 152}, {65, 152}, {66, 152}, {47, 152}, {46, 152}, {56, 143}, {56, 142},
                                           {56, 161}, {56, 162}, {65, 143}, {99, 127}, {247, 65}, {248, 56}, {147, 96}};
  for (const auto& [x, y] : positions) results += std::to_string(controlPointAt(area, line, 6, x, y)) + " ";
  EXPECT_EQ(results, "0 0 -1 0 -1 0 -1 0 -1 0 1 5 -1 -1 ") << "less than 10 pixels away on both axes";
  EXPECT_EQ(controlPointAt({0, 0, 20, 100}, std::vector<int>(6, 50), 6, 12, 50), 3) << "overlaps: the nearest";
  // Fifty points stand 3.7 pixels apart: each is taken on its own marker, the last at the top-right corner.
  const std::vector<int> fifty = straightLineHeights(50);
  results.clear();
  for (const auto& [x, y] : {std::pair{56, 156}, {204, 78}, {205, 77}, {238, 56}, {248, 56}})
    results += std::to_string(controlPointAt(area, fifty, 50, x, y)) + " ";
  EXPECT_EQ(results, "0 40 40 49 -1 ");
  EXPECT_EQ(controlPointAt(area, {0, INT_MAX, INT_MIN, INT_MAX, INT_MIN, 0}, 6, 128, 10), -1) << "far off, no overflow";
  const PixelRect high = markerRect(1, 6, 190, 100, INT_MAX), low = markerRect(2, 6, 190, 100, INT_MIN);
  EXPECT_TRUE(high.top < high.bottom && high.bottom < 0 && 100 < low.top && low.top < low.bottom);
  EXPECT_TRUE(controlPointAt(area, line, 7, 52, 156) == -1 && controlPointAt({52, 56, 60, 156}, line, 6, 52, 156) == -1)
      << "more points than heights, an editor too narrow: nothing to hit";
  // Dragged on the markers' rows: 100 from the top marker's row up, 0 from the bottom one's down; one pixel below the
  // centre of a marker at 90 (row 70 here, 155 at 150 %) 89 or 90; a point kept while on its own row.
  results.clear();
  const std::tuple<PixelRect, int, int, EditorScale> drags[] = {
      {area, -30, 0, {}},     {area, 61, 0, {}},      {area, 70, 90, {}},    {area, 71, 90, {}},
      {area, 141, 13, {}},    {area, 141, 50, {}},    {area, 151, 0, {}},    {area, 400, 50, {}},
      {wide, 155, 90, at150}, {wide, 156, 90, at150}, {wide, 140, 0, at150}, {{0, 5, 10, 5}, 3, 50, {}}};
  for (const auto& [rect, y, current, scale] : drags)
    results += std::to_string(dragHeight(rect, y, current, scale)) + " ";
  EXPECT_EQ(results, "100 99 90 89 13 12 2 0 90 90 100 0 ");
  results.clear();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::tuple<double, double, double> runs[] = {{10, 12, 15},      {15, 12, 10},       {96, 96, 95},
                                                     {98, 99.5, 101},   {99, 99.9, 99.95},  {1, -0.8, -2},
                                                     {0.5, -0.5, -0.9}, {1e12, 1e12, 1e12}, {nan, 5, 5}};
  for (const auto& [previous, row, next] : runs) {
    const ColumnRun run = curveColumnRun(previous, row, next, 100);
    results += run.drawn ? std::to_string(run.low) + "-" + std::to_string(run.high) + " " : "none ";
  }
  // A run that would reach row 100 of a 100-row buffer, or row -1, is not drawn.
  EXPECT_EQ(results, "11-13 11-13 95-96 none 99-99 none 0-0 none none ");
}

// Keys choose a point and move it by 1 or 10 within 0..100; the names and colours say and show where it stands.
TEST(EditorGeometry, KeysNamesAndColours) {
  std::string moved;
  for (const auto& [value, step] : {std::pair{40, 1}, {0, -1}, {0, -10}, {100, 1}, {100, 10}, {95, 10}, {5, -10},
                                    {100, -10}, {0, 10}, {-7, 1}, {250, -1}, {INT_MAX, 10}, {INT_MIN, -10}})
    moved += std::to_string(keyedHeight(value, step)) + " ";
  EXPECT_EQ(moved, "41 0 0 100 100 100 0 90 10 1 99 100 0 ");
  EXPECT_TRUE(keyedPoint(0, -1, 6) == 0 && keyedPoint(0, 1, 6) == 1 && keyedPoint(5, 1, 6) == 5 &&
              keyedPoint(9, 0, 6) == 5 && keyedPoint(-3, 0, 6) == 0 && keyedPoint(0, 1, 0) == 0);
  EXPECT_EQ(curveEditorName(2, 6, 52) + L"|" + levelBarName(37) + L"|" + percentText(0),
            L"Response curve, point 3 of 6, 52 %|Zoom 37 %|0 %");
  // High contrast paints with five system colours told apart by their numbers; otherwise the fixed ones.
  const SystemColours system = {1, 2, 3, 4, 5};
  std::string colours;
  for (bool highContrast : {true, false}) {
    const DisplayColours c = displayColours(highContrast, system);
    for (Colour colour : {c.field, c.disabledField, c.grid, c.curve, c.marker, c.levelFrame, c.level})
      colours += std::to_string(colour) + " ";
  }
  EXPECT_EQ(colours, "1 5 3 2 4 2 4 16777215 12632256 16744576 0 36608 8421504 65280 ");
}
