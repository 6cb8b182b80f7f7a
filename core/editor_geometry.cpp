#include "core/editor_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/spline.h"

bool curveEditorUsable(int width, int height, int pointCount, int valueCount) {
  return pointCount >= minCurvePoints && pointCount <= maxCurvePoints && valueCount >= pointCount && width > 8 &&
         height > 8;
}

// Heights of a hand-edited file may lie anywhere in the 32-bit range: the products are taken in 64 bits and
// the rows kept inside what an int holds.
static int toInt(long long value, int margin = 0) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN + margin, INT_MAX - margin));
}

PixelRect markerRect(int index, int pointCount, int width, int height, int value) {
  const int left = (index * (width - 8)) / (pointCount - 1);
  const int centreRow = toInt(height - ((static_cast<long long>(height - 8) * value) / 100 + 4), 4);
  return {left, centreRow - 4, left + 8, centreRow + 4};
}

int gridRow(int height, int k) { return (height / 4) * k; }

PointPosition pointClientPosition(const PixelRect& area, int index, int pointCount, int value) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  return {area.left + index * (width / (pointCount - 1)),
          toInt(area.bottom - (static_cast<long long>(height) * value) / 100)};
}

int controlPointAt(const PixelRect& area, const std::vector<int>& values, int pointCount, int x, int y) {
  if (!curveEditorUsable(area.right - area.left, area.bottom - area.top, pointCount, static_cast<int>(values.size())))
    return -1;
  for (int i = 0; i < pointCount; ++i) {
    const PointPosition point = pointClientPosition(area, i, pointCount, values[i]);
    if (std::llabs(static_cast<long long>(point.x) - x) < 10 && std::llabs(static_cast<long long>(point.y) - y) < 10)
      return i;
  }
  return -1;
}

int dragHeight(const PixelRect& area, int y) {
  const int height = area.bottom - area.top;
  if (height <= 0) return 0;
  const int clamped = std::max(std::min(y, area.bottom), area.top);
  return static_cast<int>((static_cast<long long>(area.bottom - clamped) * 100) / height);
}

// True when a midpoint row truncates to a row of the buffer; also keeps wild rows from the conversion.
static bool insideBuffer(double row, int height) { return row > -1.0 && row < height; }

ColumnRun curveColumnRun(double previousRow, double row, double nextRow, int height) {
  const double first = (row - previousRow) * 0.5 + previousRow;
  const double second = (nextRow - row) * 0.5 + row;
  if (!insideBuffer(first, height) || !insideBuffer(second, height)) return {};
  const int y1 = static_cast<int>(first);
  const int y2 = static_cast<int>(second);
  return {true, std::min(y1, y2), std::max(y1, y2)};
}
