#include "app/settings_commands.h"

#include <string>

#include "app/combo_rows.h"
#include "app/controller_comeback.h"
#include "app/zoom_pump.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "sim/sim_link.h"
#include "state/app_state.h"

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

static constexpr const wchar_t* saveFailedText = L"Settings could not be saved";

static void setCheck(HWND checkBox, bool checked) {
  SendMessageW(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The selected device's instance GUID as text; empty when no device is selected or it cannot tell.
static std::wstring selectedDeviceText() {
  const LRESULT row = SendMessageW(app.deviceList, CB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<std::size_t>(row) >= app.devices.size() || app.devices[row] == nullptr) return {};
  return instanceGuidText(app.devices[row]);
}

// The text of the selected axis row, however long it is.
static std::wstring selectedAxisText() {
  const LRESULT row = SendMessageW(app.axisList, CB_GETCURSEL, 0, 0);
  return row < 0 ? std::wstring() : comboRowText(app.axisList, static_cast<int>(row));
}

void applyStartupSettings() {
  // Every value keeps its preset unless the file holds its key; the curve as window creation left it.
  const ZoomSettings stored = readSettings({L"", L"", false, true, true, app.curvesEnabled, app.curveValues, false});
  app.curvesEnabled = stored.curvesEnabled;
  app.curveValues = stored.curveValues;
  adoptStoredCurve();
  SendMessageW(app.refreshButton, BM_CLICK, 0, 0);
  setCheck(app.invertCheckBox, stored.inverted);
  setCheck(app.curvesCheckBox, app.curvesEnabled);
  setCheck(app.cockpitCheckBox, stored.cockpitCamera);
  setCheck(app.externalCheckBox, stored.chaseCamera);
  EnableWindow(app.resetButton, app.curvesEnabled);
  app.inverted = stored.inverted;
  app.chaseCamera = stored.chaseCamera;
  app.cockpitCamera = stored.cockpitCamera;
  rebuildCurveSpline();
  drawCurveEditor();

  const int deviceRow = deviceRowWithInstance(stored.device);
  if (deviceRow < 0) {
    // Perhaps switched on after the launch: awaited as a lost controller is.
    if (stored.autostart && !stored.device.empty()) awaitSavedController(stored.device, stored.axis);
    return;
  }
  selectRow(app.deviceList, deviceRow, IDC_DEVICE_LIST);
  const int axisRow = comboRowWithText(app.axisList, stored.axis);
  if (axisRow < 0) return;
  selectRow(app.axisList, axisRow, IDC_AXIS_LIST);
  if (stored.autostart) startPump();
}

void saveSettings() {
  ZoomSettings settings = {selectedDeviceText(), selectedAxisText(), app.inverted,    app.chaseCamera,
                           app.cockpitCamera,    app.curvesEnabled,  app.curveValues, app.running};
  // While a controller is awaited, the lists show whatever the refresh chose: the awaited one is the choice,
  // and it was running (or about to) when it went.
  if (app.awaitingController) {
    settings.device = app.lostDevice;
    settings.axis = app.lostAxis;
    settings.autostart = true;
  }
  if (!writeSettings(settings)) {
    showStatus(saveFailedText);
    return;
  }
  // A good Save takes back the failure of the one before.
  if (statusText() != saveFailedText) return;
  showStatus(app.awaitingController ? awaitedStatus().c_str() : app.simHandle != nullptr ? connectedText : L"");
}
