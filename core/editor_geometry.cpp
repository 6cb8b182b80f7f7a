#include "core/editor_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/spline.h"

int scalePixels(int pixels, int dpi) {
  const long long scaled = (static_cast<long long>(pixels) * dpi + 48) / 96;
  return static_cast<int>(std::clamp<long long>(scaled, 1, INT_MAX));
}

EditorScale editorScale(int dpi) { return {scalePixels(4, dpi), scalePixels(10, dpi), scalePixels(1, dpi)}; }

bool curveEditorUsable(int width, int height, int pointCount, int valueCount, const EditorScale& scale) {
  return pointCount >= minCurvePoints && pointCount <= maxCurvePoints && valueCount >= pointCount &&
         width > 2 * scale.inset && height > 2 * scale.inset;
}

// Heights of a hand-edited file may lie anywhere in the 32-bit range: the products are taken in 64 bits and
// the rows kept inside what an int holds.
static int toInt(long long value, int margin = 0) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN + margin, INT_MAX - margin));
}

int curveColumn(int numerator, int denominator, int width, const EditorScale& scale) {
  if (denominator == 0) return scale.inset;
  return toInt(scale.inset + (static_cast<long long>(numerator) * (width - 2 * scale.inset)) / denominator);
}

// The back-buffer row of a height's marker centre; the mouse and the value's tooltip take the same row.
static int centreRow(int height, int value, const EditorScale& scale) {
  const int inset = scale.inset;
  return toInt(height - ((static_cast<long long>(height - 2 * inset) * value) / 100 + inset), inset);
}

PixelRect markerRect(int index, int pointCount, int width, int height, int value, const EditorScale& scale) {
  const int inset = scale.inset;
  const int left = curveColumn(index, pointCount - 1, width, scale) - inset;
  const int row = centreRow(height, value, scale);
  return {left, row - inset, left + 2 * inset, row + inset};
}

int gridRow(int height, int k) { return (height / 4) * k; }

PointPosition pointClientPosition(const PixelRect& area, int index, int pointCount, int value,
                                  const EditorScale& scale) {
  const int height = area.bottom - area.top;
  return {area.left + curveColumn(index, pointCount - 1, area.right - area.left, scale),
          toInt(static_cast<long long>(area.top) + centreRow(height, value, scale))};
}

int controlPointAt(const PixelRect& area, const std::vector<int>& values, int pointCount, int x, int y,
                   const EditorScale& scale) {
  if (!curveEditorUsable(area.right - area.left, area.bottom - area.top, pointCount, static_cast<int>(values.size()),
                         scale))
    return -1;
  // Many points stand closer together than the radius: the nearest wins, so each marker can be taken.
  const long long radius = scale.hitRadius;
  int nearest = -1;
  long long nearestDistance = 0;
  for (int i = 0; i < pointCount; ++i) {
    const PointPosition point = pointClientPosition(area, i, pointCount, values[i], scale);
    const long long dx = std::llabs(static_cast<long long>(point.x) - x);
    const long long dy = std::llabs(static_cast<long long>(point.y) - y);
    if (dx >= radius || dy >= radius || (nearest >= 0 && dx * dx + dy * dy >= nearestDistance)) continue;
    nearest = i;
    nearestDistance = dx * dx + dy * dy;
  }
  return nearest;
}

// The marker rows, 92 at 100 %, hold fewer heights than 0..100: the lowest height drawn at or above the pointer's
// row, and the point's own height while the pointer stays on the row where it is drawn.
int dragHeight(const PixelRect& area, int y, int current, const EditorScale& scale) {
  const long long span = area.bottom - area.top - 2LL * scale.inset;
  if (span <= 0) return 0;
  const long long above = std::clamp(static_cast<long long>(area.bottom) - scale.inset - y, 0LL, span);
  const int height = static_cast<int>((above * 100 + span - 1) / span);
  const int rows = area.bottom - area.top;
  const bool sameRow =
      current >= 0 && current <= 100 && centreRow(rows, current, scale) == centreRow(rows, height, scale);
  return sameRow ? current : height;
}

int keyedPoint(int chosen, int step, int pointCount) {
  return pointCount < 1 ? 0 : std::clamp(chosen + step, 0, pointCount - 1);
}

int keyedHeight(int value, int step) { return std::clamp(std::clamp(value, 0, 100) + step, 0, 100); }

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
