#include "app/controller_comeback.h"

#include <utility>

#include "app/combo_rows.h"
#include "app/zoom_pump.h"
#include "core/input_names.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

bool noteLostController() {
  const LRESULT row = SendMessageW(app.deviceList, CB_GETCURSEL, 0, 0);
  const bool axisChosen = app.axisIndex >= 0 && static_cast<std::size_t>(app.axisIndex) < app.axes.size();
  if (row < 0 || !axisChosen || app.activeDevice == nullptr) return false;
  app.lostDevice = instanceGuidText(app.activeDevice);
  if (app.lostDevice.empty()) return false;
  app.lostDeviceName = comboRowText(app.deviceList, static_cast<int>(row));
  app.lostAxis = boundedName(app.axes[static_cast<std::size_t>(app.axisIndex)].tszName);
  return true;
}

void awaitLostController() {
  app.awaitingController = true;
  showStatus((L"Waiting for " + app.lostDeviceName + L" to come back").c_str());
}

void controllerMayBeBack() {
  if (!app.awaitingController || app.running) return;
  refreshDevices();
  const int deviceRow = deviceRowWithInstance(app.lostDevice);
  if (deviceRow < 0) return;  // still away, or another device came
  app.awaitingController = false;
  selectRow(app.deviceList, deviceRow, IDC_DEVICE_LIST);
  const int axisRow = comboRowWithText(app.axisList, app.lostAxis);
  if (axisRow < 0) {
    showStatus(L"");  // back without that axis: chosen, but not started
    return;
  }
  selectRow(app.axisList, axisRow, IDC_AXIS_LIST);
  startPump();
}

void forgetLostController() {
  if (!std::exchange(app.awaitingController, false)) return;
  showStatus(L"");
}
