// The pump's arithmetic: raw axis position to percent, clamping, and the tick schedule.
#pragma once

#include <vector>

#include "core/spline.h"

// The range the axis is given at Start; a reading is divided by its top.
constexpr int rawAxisMax = 65535;

// Every 40th tick a lost link is reopened and an unchanged value is sent again.
constexpr int resendPeriod = 40;
// On every 20th tick a failed reading does not stop the pump.
constexpr int readingCheckPeriod = 20;

// Percent 0..100 of a raw reading; a reading outside 0..65535 (a driver that ignored the range) is clamped first.
int rawToPercent(int raw);

// The zoom value's range.
int clampPercent(int value);

// True on ticks whose count is a multiple of period.
bool isTickMultiple(int tickCount, int period);

// The next tick count; wraps instead of overflowing after years of running.
int nextTickCount(int tickCount);

// One reading on its way to the simulator: the axis percent after inversion, and the zoom value
// after the response curve (when enabled) and the clamp.
struct ZoomReading {
  int inputPercent = 0;
  int value = 0;
};
ZoomReading zoomForReading(int raw, bool inverted, bool curvesEnabled, const std::vector<CurveSegment>& spline,
                           int pointCount);
