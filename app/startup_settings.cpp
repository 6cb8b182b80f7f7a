#include "app/startup_settings.h"

#include <string>

#include "app/app_state.h"
#include "app/combo_rows.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "input/direct_input.h"
#include "settings/settings_file.h"
#include "sim/zoom_pump.h"

// A stored list the spline and the editor cannot use gives way to the default straight line.
static void adoptStoredCurve() {
  const int count = static_cast<int>(app.curveValues.size());
  if (count >= minCurvePoints && count <= maxCurvePoints) {
    app.curvePointCount = count;
    return;
  }
  app.curvePointCount = 6;
  app.curveValues = straightLineHeights(app.curvePointCount);
}

static void setCheck(HWND checkBox, bool checked) {
  SendMessageW(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

static int findStoredDevice(const std::wstring& device) {
  if (device.empty()) return -1;
  for (size_t i = 0; i < app.devices.size(); ++i) {
    if (instanceGuidText(app.devices[i]) == device) return static_cast<int>(i);
  }
  return -1;
}

static int findStoredAxis(const std::wstring& axis) {
  const int rows = static_cast<int>(SendMessageW(app.axisList, CB_GETCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    if (comboRowText(app.axisList, row) == axis) return row;
  }
  return -1;
}

static void selectRow(HWND comboBox, int row, int commandId) {
  SendMessageW(comboBox, CB_SETCURSEL, row, 0);
  SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(commandId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(comboBox));
}

void applyStartupSettings() {
  std::wstring device, axis;
  bool inverted = false, cockpit = true, chase = true, autostart = false;
  readSettings(device, axis, inverted, cockpit, chase, autostart);
  adoptStoredCurve();
  SendMessageW(app.refreshButton, BM_CLICK, 0, 0);
  setCheck(app.invertCheckBox, inverted);
  setCheck(app.curvesCheckBox, app.curvesEnabled);
  setCheck(app.cockpitCheckBox, cockpit);
  setCheck(app.externalCheckBox, chase);
  EnableWindow(app.resetButton, app.curvesEnabled);
  app.inverted = inverted;
  app.chaseCamera = chase;
  app.cockpitCamera = cockpit;
  rebuildCurveSpline();
  drawCurveEditor();

  const int deviceRow = findStoredDevice(device);
  if (deviceRow < 0) return;
  selectRow(app.deviceList, deviceRow, cmdDeviceList);
  const int axisRow = findStoredAxis(axis);
  if (axisRow < 0) return;
  selectRow(app.axisList, axisRow, cmdAxisList);
  if (autostart) startPump();
}
