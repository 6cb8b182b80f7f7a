// The settings file's text: its eight lines as written, and the tolerant reading of a line.
#pragma once

#include <string>
#include <vector>

struct ZoomSettings {
  std::wstring device;
  std::wstring axis;
  bool inverted = false;
  bool chaseCamera = true;
  bool cockpitCamera = true;
  bool curvesEnabled = false;
  std::vector<int> curveValues;
  bool autostart = false;
};
