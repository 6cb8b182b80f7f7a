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

// What Start would use: nothing while a list shows no row.
static bool rowShown(HWND list) { return SendMessageW(list, CB_GETCURSEL, 0, 0) >= 0; }

// The instance GUID of the device in use as text; empty when there is none or it cannot tell.
static std::wstring deviceInUseText() {
  return activeDeviceRow() < 0 || !rowShown(app.deviceList) ? std::wstring() : instanceGuidText(app.activeDevice);
}

// The text of the axis row in use, however long it is; empty when there is none.
static std::wstring axisInUseText() {
  return app.axisIndex < 0 || !rowShown(app.axisList) ? std::wstring() : comboRowText(app.axisList, app.axisIndex);
}

void applyStartupSettings() {
  // Every value keeps its preset unless the file holds its key; the curve as window creation left it.
  const ZoomSettings stored = readSettings({L"", L"", false, true, true, app.curvesEnabled, app.curveValues, false});
  app.curvesEnabled = stored.curvesEnabled;
  app.curveValues = stored.curveValues;
  adoptStoredCurve();
  // Called, not clicked: a click sets the focus, which would activate the window before it is shown, and a launch
  // minimized from the Startup folder would take the activation from the program in front.
  refreshDevices();
  setCheck(app.invertCheckBox, stored.inverted);
  setCheck(app.curvesCheckBox, app.curvesEnabled);
  setCheck(app.cockpitCheckBox, stored.cockpitCamera);
  setCheck(app.externalCheckBox, stored.chaseCamera);
  EnableWindow(app.resetButton, app.curvesEnabled);
  EnableWindow(app.curveEditor, app.curvesEnabled);
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
  ZoomSettings settings = {deviceInUseText(), axisInUseText(),   app.inverted,    app.chaseCamera,
                           app.cockpitCamera, app.curvesEnabled, app.curveValues, app.running};
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
  showStatus(app.awaitingController     ? awaitedStatus().c_str()
             : app.simHandle != nullptr ? simLinkStatus(app.simLink)
                                        : L"");
}
