#include "core/spline.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

std::vector<CurveSegment> buildNaturalSpline(const std::vector<double>& xs, const std::vector<double>& ys) {
  if (xs.size() < 2 || ys.size() != xs.size()) return {};
  const std::size_t n = xs.size() - 1;
  std::vector<double> a(ys), h(n), alpha(n), l(n + 1), mu(n + 1), z(n + 1), c(n + 1), b(n), d(n);
  for (std::size_t i = 0; i < n; ++i) h[i] = xs[i + 1] - xs[i];
  alpha[0] = 0;
  for (std::size_t i = 1; i < n; ++i) {
    alpha[i] = ((a[i + 1] - a[i]) * 3) / h[i] - ((a[i] - a[i - 1]) * 3) / h[i - 1];
  }
  l[0] = 1;
  mu[0] = 0;
  z[0] = 0;
  for (std::size_t i = 1; i < n; ++i) {
    l[i] = 2 * (xs[i + 1] - xs[i - 1]) - h[i - 1] * mu[i - 1];
    mu[i] = h[i] / l[i];
    z[i] = (alpha[i] - z[i - 1] * h[i - 1]) / l[i];
  }
  l[n] = 1;
  z[n] = 0;
  c[n] = 0;
  for (std::size_t j = n; j-- > 0;) {
    c[j] = z[j] - mu[j] * c[j + 1];
    b[j] = (a[j + 1] - a[j]) / h[j] - ((2 * c[j] + c[j + 1]) * h[j]) / 3;
    d[j] = ((c[j + 1] - c[j]) / 3) / h[j];
  }
  std::vector<CurveSegment> segments(n);
  for (std::size_t i = 0; i < n; ++i) segments[i] = {a[i], b[i], c[i], d[i], xs[i]};
  return segments;
}

// Where 100 is a multiple of count - 1, the quotient is exact and these are whole percents.
double knotAbscissa(int index, int count) { return (100.0 * index) / (count - 1); }

std::vector<CurveSegment> splineThroughHeights(const std::vector<int>& heights) {
  const int count = static_cast<int>(heights.size());
  if (count < minCurvePoints || count > maxCurvePoints) return {};
  std::vector<double> xs(heights.size()), ys(heights.size());
  for (int i = 0; i < count; ++i) {
    xs[i] = knotAbscissa(i, count);
    ys[i] = static_cast<double>(heights[i]);
  }
  return buildNaturalSpline(xs, ys);
}

double evaluateSegment(const CurveSegment& segment, double p) {
  const double t = p - segment.x;
  return ((segment.d * std::pow(t, 3.0) + segment.c * std::pow(t, 2.0)) + segment.b * t) + segment.a;
}

// The segment index for a knot quotient, kept inside the spline whatever the input.
static std::size_t segmentIndex(double quotient, std::size_t segmentCount) {
  if (!(quotient > 0)) return 0;
  if (quotient >= static_cast<double>(segmentCount - 1)) return segmentCount - 1;
  return static_cast<std::size_t>(quotient);
}

int curvePercentAt(const std::vector<CurveSegment>& spline, int pointCount, int percent) {
  if (spline.empty() || pointCount < minCurvePoints || pointCount > maxCurvePoints) return percent;
  // The knot at or left of the percent, in whole numbers: percent / (100 / (n - 1)) without the rounded step.
  const long long k = std::min((static_cast<long long>(percent) * (pointCount - 1)) / 100, 0LL + pointCount - 2);
  const CurveSegment& segment = spline[segmentIndex(static_cast<double>(k), spline.size())];
  // Hand-edited heights near the 32-bit limits overshoot past them; the pump clamps to 0..100 afterwards.
  const double value = evaluateSegment(segment, static_cast<double>(percent));
  if (!(value == value)) return 0;
  return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

double curveRowAt(const std::vector<CurveSegment>& spline, int pointCount, int width, int height, double column,
                  int inset) {
  if (spline.empty() || pointCount < minCurvePoints || pointCount > maxCurvePoints || width <= 2 * inset) return 0;
  const double p = ((column - inset) * 100) / (width - 2 * inset);
  double k = std::floor(p / knotAbscissa(1, pointCount));
  if (k > pointCount - 2) k = pointCount - 2;
  const double v = evaluateSegment(spline[segmentIndex(k, spline.size())], p);
  return (height - 2 * inset + inset) - (v * (height - 2 * inset)) / 100;
}

std::vector<int> straightLineHeights(int pointCount) {
  std::vector<int> heights;
  if (pointCount < minCurvePoints) return heights;
  heights.reserve(static_cast<std::size_t>(pointCount));
  for (int i = 0; i < pointCount; ++i) heights.push_back((i * 100) / (pointCount - 1));
  return heights;
}
