#include "core/layout.h"

int mainWindowWidth(int fontHeight) { return 30 * fontHeight; }

int mainWindowHeight(int fontHeight) { return 25 * fontHeight; }

// The sizes that everything else is built from.
static void computeQuantities(MainLayout& layout) {
  const int h = layout.fontHeight;
  layout.labelWidth = 4 * h;
  layout.margin = (10 * h) / 16;
  layout.rowHeight = (8 * h) / 5;
  layout.rowGap = static_cast<int>(layout.margin * 1.5);
  layout.middleLeft = layout.labelWidth + 2 * layout.margin;
  layout.comboWidth = layout.clientWidth - layout.middleLeft - 2 * layout.margin - layout.labelWidth;
  layout.rightLeft = layout.clientWidth - layout.labelWidth - layout.margin;
  layout.labelOffset = (layout.rowHeight - h) / 2;
  layout.halfMargin = layout.margin / 2;
}

// The curve editor is 100 pixels high at 96 DPI, whatever the font; the level bar sits one gap below it.
static void computeAreas(MainLayout& layout, int dpi) {
  const int m = layout.margin;
  const int r = layout.rowHeight;
  const int g = layout.rowGap;
  const int left = layout.middleLeft;
  const int right = layout.clientWidth - layout.middleLeft;
  const int curveTop = m + 2 * r + 2 * g;
  layout.curveArea = {left, curveTop, right, curveTop + scalePixels(100, dpi)};
  const int barTop = layout.curveArea.bottom + g;
  layout.levelBar = {left, barTop, right, barTop + r};
  layout.secondRowTop = m + r + g;
  layout.curveRowTop = m + 2 * (r + g);
  layout.cameraRowTop = barTop + r + g;
}

static void computeControls(MainLayout& layout) {
  const int h = layout.fontHeight;
  const int m = layout.margin;
  const int r = layout.rowHeight;
  const int g = layout.rowGap;
  const int l = layout.labelWidth;
  const int x = layout.middleLeft;
  const int rx = layout.rightLeft;
  const int lo = layout.labelOffset;
  const int b = layout.clientBottom;
  const int m2 = layout.halfMargin;
  const int y2 = layout.secondRowTop;
  const int y3 = layout.curveRowTop;
  const int y5 = layout.cameraRowTop;
  ControlBox* c = layout.controls;
  c[slotDeviceLabel] = {m, m + lo, l, r};
  c[slotDeviceList] = {x, m, layout.comboWidth, 9 * h};
  c[slotRefreshButton] = {rx, m, l, r};
  c[slotAxisLabel] = {m, y2 + lo, l, r};
  c[slotAxisList] = {x, y2, layout.comboWidth, 9 * h};
  c[slotInvertCheckBox] = {rx, y2, l, r};
  c[slotCurvesLabel] = {m, y3 + lo, l, r};
  const PixelRect& curve = layout.curveArea;
  const PixelRect& level = layout.levelBar;
  c[slotCurveEditor] = {curve.left, curve.top, curve.right - curve.left, curve.bottom - curve.top};
  c[slotCurvesCheckBox] = {rx, y3, l, r};
  c[slotResetButton] = {rx, y3 + r + g, l, r};
  c[slotLevelBar] = {level.left, level.top, level.right - level.left, level.bottom - level.top};
  c[slotStartButton] = {rx, level.top, l, r};
  c[slotCameraLabel] = {m, y5 + lo, l, r};
  c[slotCockpitCheckBox] = {x, y5, l, r};
  c[slotExternalCheckBox] = {x + l + m, y5, static_cast<int>(l * 1.1), r};
  c[slotSaveButton] = {x + layout.comboWidth - l, b - 2 * m2 - 3 * r, l, r};
  c[slotAboutButton] = {rx, b - 2 * m2 - 3 * r, l, r};
  c[slotExitButton] = {rx, b - m2 - 2 * r, l, r};
}

MainLayout computeMainLayout(int fontHeight, int clientWidth, int clientBottom, int dpi) {
  MainLayout layout;
  layout.fontHeight = fontHeight;
  layout.clientWidth = clientWidth;
  layout.clientBottom = clientBottom;
  computeQuantities(layout);
  computeAreas(layout, dpi);
  computeControls(layout);
  return layout;
}
