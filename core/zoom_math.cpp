#include "core/zoom_math.h"

#include <algorithm>

int rawToPercent(int raw) { return (std::clamp(raw, 0, rawAxisMax) * 100) / rawAxisMax; }

int clampPercent(int value) { return std::max(std::min(value, 100), 0); }

bool isTickMultiple(int tickCount, int period) { return tickCount % period == 0; }

int nextTickCount(int tickCount) { return static_cast<int>(static_cast<unsigned>(tickCount) + 1u); }

ZoomReading zoomForReading(int raw, bool inverted, bool curvesEnabled, const std::vector<CurveSegment>& spline,
                           int pointCount) {
  ZoomReading reading;
  reading.inputPercent = inverted ? 100 - rawToPercent(raw) : rawToPercent(raw);
  const int curved = curvesEnabled ? curvePercentAt(spline, pointCount, reading.inputPercent) : reading.inputPercent;
  reading.value = clampPercent(curved);
  return reading;
}
