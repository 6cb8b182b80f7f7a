#include "app/controller_comeback.h"

#include <string>
#include <utility>

#include "app/combo_rows.h"
#include "app/zoom_pump.h"
#include "core/input_names.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
void showStatus(const std::wstring& text) {
  SendMessageW(app.statusBar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int rowOfLostDevice() {
  for (std::size_t row = 0; row < app.devices.size(); ++row) {
    GUID instance = {};
    if (SUCCEEDED(readInstanceGuid(app.devices[row], instance)) && instance == app.lostDevice)
      return static_cast<int>(row);
  }
  return -1;
}

int rowOfLostAxis() {
  const int rows = static_cast<int>(SendMessageW(app.axisList, CB_GETCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    if (comboRowText(app.axisList, row) == app.lostAxis) return row;
  }
  return -1;
}
}  // namespace

bool noteLostController() {
  const LRESULT row = SendMessageW(app.deviceList, CB_GETCURSEL, 0, 0);
  const bool axisChosen = app.axisIndex >= 0 && static_cast<std::size_t>(app.axisIndex) < app.axes.size();
  if (row < 0 || !axisChosen || app.activeDevice == nullptr) return false;
  if (FAILED(readInstanceGuid(app.activeDevice, app.lostDevice))) return false;
  app.lostDeviceName = comboRowText(app.deviceList, static_cast<int>(row));
  app.lostAxis = boundedName(app.axes[static_cast<std::size_t>(app.axisIndex)].tszName);
  return true;
}

void awaitLostController() {
  app.awaitingController = true;
  showStatus(L"Waiting for " + app.lostDeviceName + L" to come back");
}

void controllerMayBeBack() {
  if (!app.awaitingController || app.running) return;
  refreshDevices();
  const int deviceRow = rowOfLostDevice();
  if (deviceRow < 0) return;  // still away, or another device came
  app.awaitingController = false;
  selectRow(app.deviceList, deviceRow, IDC_DEVICE_LIST);
  const int axisRow = rowOfLostAxis();
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
