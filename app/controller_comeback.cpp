#include "app/controller_comeback.h"

#include <utility>

#include "app/combo_rows.h"
#include "app/zoom_pump.h"
#include "core/input_names.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "state/app_state.h"

namespace {
constexpr unsigned firstLookDelayMs = 500;
constexpr unsigned lookPeriodMs = 1000;
// The first look, then one a second for 10 s after the last device message.
constexpr int looksPerMessage = 11;
// A controller that a look started and that fails again within 2 s waits for a device message: one that is listed
// but cannot be read would otherwise be started again every half second.
constexpr unsigned settleTicks = 40;

// Notes the active device and axis; false when they cannot be told.
bool noteLostController() {
  const LRESULT row = SendMessageW(app.deviceList, CB_GETCURSEL, 0, 0);
  const bool axisChosen = app.axisIndex >= 0 && static_cast<std::size_t>(app.axisIndex) < app.axes.size();
  if (row < 0 || !axisChosen || app.activeDevice == nullptr) return false;
  app.lostDevice = instanceGuidText(app.activeDevice);
  if (app.lostDevice.empty()) return false;
  app.lostProduct = productGuidText(app.activeDevice);
  app.lostDeviceName = comboRowText(app.deviceList, static_cast<int>(row));
  app.lostAxis = boundedName(app.axes[static_cast<std::size_t>(app.axisIndex)].tszName);
  return true;
}

void await() {
  app.awaitingController = true;
  showStatus(awaitedStatus().c_str());
}

void stopLooking() {
  app.looksLeft = 0;
  KillTimer(app.mainWindow, comebackTimerId);
}

// The awaited controller's row: its own instance, or else, as after a move to another USB port (which gives a
// controller without a serial number a new instance), the one device of the same product and name. Two such
// devices are never guessed between.
int awaitedDeviceRow() {
  const int row = deviceRowWithInstance(app.lostDevice);
  if (row >= 0 || app.lostProduct.empty()) return row;
  int found = -1;
  for (std::size_t i = 0; i < app.devices.size(); ++i) {
    const int candidate = static_cast<int>(i);
    if (productGuidText(app.devices[i]) != app.lostProduct ||
        comboRowText(app.deviceList, candidate) != app.lostDeviceName)
      continue;
    if (found >= 0) return -1;
    found = candidate;
  }
  return found;
}
}  // namespace

void controllerLost() {
  const bool noted = noteLostController();
  const bool failedAgain =
      std::exchange(app.startedByLook, false) &&
      static_cast<unsigned>(app.tickCount) - static_cast<unsigned>(app.lookStartTick) < settleTicks;
  stopPump();
  refreshDevices();
  if (!noted) return;
  await();
  // It may be back already, or never have gone: Windows sent its device messages while the pump ran, or none.
  if (!failedAgain) deviceNodesChanged();
}

void awaitSavedController(const std::wstring& device, const std::wstring& axis) {
  app.lostDevice = device;
  app.lostProduct.clear();
  app.lostDeviceName.clear();
  app.lostAxis = axis;
  await();
}

// The saved controller's name is not stored.
std::wstring awaitedStatus() {
  return app.lostDeviceName.empty() ? L"Waiting for the saved controller"
                                    : L"Waiting for " + app.lostDeviceName + L" to come back";
}

void deviceNodesChanged() {
  if (!app.awaitingController || app.running) return;
  app.looksLeft = looksPerMessage;
  SetTimer(app.mainWindow, comebackTimerId, firstLookDelayMs, nullptr);
}

void lookForAwaitedController() {
  if (!app.awaitingController || app.running || app.looksLeft <= 0) {
    stopLooking();
    return;
  }
  // A refill would close the list under the user's pointer: the look waits until it is closed.
  if (listDroppedDown()) {
    SetTimer(app.mainWindow, comebackTimerId, firstLookDelayMs, nullptr);
    return;
  }
  --app.looksLeft;
  refreshDevices();
  const int deviceRow = awaitedDeviceRow();
  if (deviceRow < 0) {  // still away, or another device came
    if (app.looksLeft == 0) stopLooking();
    if (app.looksLeft > 0) SetTimer(app.mainWindow, comebackTimerId, lookPeriodMs, nullptr);
    return;
  }
  stopLooking();
  app.awaitingController = false;
  selectRow(app.deviceList, deviceRow, IDC_DEVICE_LIST);
  const int axisRow = comboRowWithText(app.axisList, app.lostAxis);
  if (axisRow < 0) {
    showStatus(L"");  // back without that axis: chosen, but not started
    return;
  }
  selectRow(app.axisList, axisRow, IDC_AXIS_LIST);
  startPump();
  app.startedByLook = app.running;
  app.lookStartTick = app.tickCount;
}

void forgetLostController() {
  stopLooking();
  app.startedByLook = false;
  if (!std::exchange(app.awaitingController, false)) return;
  showStatus(L"");
}
