// The response curve's numbers: the natural spline and both evaluators.
#include <gtest/gtest.h>

#include "curve/spline.h"

namespace {
struct CurveCase {
  std::vector<int> heights;
  std::vector<std::pair<int, int>> percentToCurve;
};

int curveAt(const std::vector<int>& heights, int percent) {
  return curvePercentAt(splineThroughHeights(heights), static_cast<int>(heights.size()), percent);
}
}  // namespace

TEST(ResponseCurve, KnownCurvesGiveTheirPercents) {
  const CurveCase cases[] = {
      {{0, 0, 0, 0, 0, 100}, {{10, 0}, {25, 0}, {50, 1}, {75, -7}, {90, 39}, {99, 93}, {100, 100}}},
      {{0, 10, 30, 60, 80, 100}, {{0, 0}, {10, 4}, {25, 13}, {50, 45}, {75, 75}, {90, 89}, {99, 98}, {100, 100}}},
      {{0, 0, 0, 0, 0, 0, 100}, {{96, 100}, {98, 115}, {100, 131}}},
      {{30, 70}, {{0, 30}, {25, 40}, {50, 50}, {100, 70}}},
      {{40, 40, 40, 40, 40, 40}, {{0, 40}, {33, 40}, {77, 40}, {100, 40}}},
  };
  for (const CurveCase& c : cases) {
    for (const auto& [percent, expected] : c.percentToCurve) {
      EXPECT_EQ(curveAt(c.heights, percent), expected)
          << "percent " << percent << " of " << c.heights.size() << " points, last height " << c.heights.back();
    }
  }
}

TEST(ResponseCurve, DefaultLineIsTheIdentityEverywhere) {
  const std::vector<int> line = straightLineHeights(6);
  EXPECT_EQ(line, (std::vector<int>{0, 20, 40, 60, 80, 100}));
  for (int percent = 0; percent <= 100; ++percent) EXPECT_EQ(curveAt(line, percent), percent);
  for (const CurveSegment& segment : splineThroughHeights(line)) {
    EXPECT_DOUBLE_EQ(segment.a, segment.x);
    EXPECT_DOUBLE_EQ(segment.b, 1.0);
    EXPECT_DOUBLE_EQ(segment.c, 0.0);
    EXPECT_DOUBLE_EQ(segment.d, 0.0);
  }
}

TEST(ResponseCurve, SplineHasNaturalEndsAndPassesThroughItsKnots) {
  const std::vector<double> xs = {0, 20, 40, 60, 80, 100};
  const std::vector<double> ys = {0, 12, 30, 52, 75, 100};
  const std::vector<CurveSegment> spline = buildNaturalSpline(xs, ys);
  ASSERT_EQ(spline.size(), 5u);
  EXPECT_DOUBLE_EQ(spline.front().c, 0.0);
  for (std::size_t i = 0; i < spline.size(); ++i) {
    EXPECT_DOUBLE_EQ(spline[i].x, xs[i]);
    EXPECT_NEAR(evaluateSegment(spline[i], xs[i + 1]), ys[i + 1], 1e-9) << "segment " << i;
  }
  const CurveSegment& last = spline.back();
  EXPECT_NEAR(last.c + 3 * last.d * 20, 0.0, 1e-12);  // second derivative 0 at the last knot
  EXPECT_TRUE(buildNaturalSpline({5}, {1}).empty());
  EXPECT_EQ(buildNaturalSpline({0, 100}, {10, 90}).size(), 1u);
}

TEST(ResponseCurve, SevenStepResetIsNotTheIdentity) {
  EXPECT_EQ(straightLineHeights(7), (std::vector<int>{0, 16, 33, 50, 66, 83, 100}));
  EXPECT_EQ(straightLineHeights(2), (std::vector<int>{0, 100}));
  EXPECT_EQ(straightLineHeights(101).back(), 100);
}

TEST(ResponseCurve, OutOfRangeInputsStayInsideTheSpline) {
  const std::vector<int> dip = {0, 0, 0, 0, 0, 100};
  const std::vector<CurveSegment> spline = splineThroughHeights(dip);
  EXPECT_EQ(curvePercentAt(spline, 6, -30), static_cast<int>(evaluateSegment(spline[0], -30)));
  EXPECT_EQ(curvePercentAt(spline, 6, 250), static_cast<int>(evaluateSegment(spline[4], 250)));
  EXPECT_EQ(curvePercentAt({}, 6, 42), 42);  // no spline yet: the curve passes the percent through
  EXPECT_TRUE(splineThroughHeights({50}).empty());
  EXPECT_TRUE(splineThroughHeights(std::vector<int>(102, 0)).empty());
}

TEST(CurveRows, EndColumnsSitFourPixelsInside) {
  const std::vector<CurveSegment> line = splineThroughHeights(straightLineHeights(6));
  struct Case {
    int width;
    double column;
    double row;
  };
  const Case cases[] = {
      {196, 4, 96}, {196, 192, 4}, {196, 98, 50}, {376, 4, 96}, {376, 372, 4},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(curveRowAt(line, 6, c.width, 100, c.column), c.row) << "width " << c.width << " col " << c.column;
  }
  // A column left of the curve uses the first segment rather than reading before the spline.
  EXPECT_DOUBLE_EQ(curveRowAt(line, 6, 196, 100, 0), 96 - (-400.0 / 188) * 92 / 100);
}
