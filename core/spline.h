// Natural cubic spline through the control points, and its evaluation in percent and in pixels.
// Pure arithmetic in doubles, in a fixed order of operations so that every platform agrees.
#pragma once

#include <vector>

// One piece of the spline: a + b*t + c*t^2 + d*t^3 with t = p - x.
struct CurveSegment {
  double a = 0;
  double b = 0;
  double c = 0;
  double d = 0;
  double x = 0;
};

// Segments through the knots (xs strictly increasing, same length as ys); m knots give m - 1.
std::vector<CurveSegment> buildNaturalSpline(const std::vector<double>& xs, const std::vector<double>& ys);

// The percent at which knot i of count lies: 100 * i / (count - 1), spread over the whole 0..100.
double knotAbscissa(int index, int count);

// Knots at knotAbscissa(i, n) with the given heights. Needs 2..101 heights.
std::vector<CurveSegment> splineThroughHeights(const std::vector<int>& heights);

// The value of one segment at abscissa p.
double evaluateSegment(const CurveSegment& segment, double p);

// Curve percent for an integer axis percent, truncated, not clamped.
int curvePercentAt(const std::vector<CurveSegment>& spline, int pointCount, int percent);

// Pixel row of the editor's back buffer (width x height, the curve kept inset from every side) for a pixel
// column, not clamped.
double curveRowAt(const std::vector<CurveSegment>& spline, int pointCount, int width, int height, double column,
                  int inset = 4);

// The default straight line: point i at (i * 100) / (count - 1).
std::vector<int> straightLineHeights(int pointCount);

// A point count that the spline and the editor can work with.
constexpr int minCurvePoints = 2;
constexpr int maxCurvePoints = 101;
