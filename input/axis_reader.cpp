#include "input/axis_reader.h"

#include "core/axis_slot.h"
#include "input/direct_input.h"
#include "state/app_state.h"

namespace {
// A device that keeps reporting lost input must not hold the timer tick forever.
constexpr int acquireTries = 3;

bool axisSelected() { return app.axisIndex >= 0 && static_cast<std::size_t>(app.axisIndex) < app.axes.size(); }

HRESULT reacquire(IDirectInputDevice8W* device) {
  setBackgroundCooperation(device, app.mainWindow);
  HRESULT result = acquireDevice(device);
  for (int tries = 1; result == DIERR_INPUTLOST && tries < acquireTries; ++tries) result = acquireDevice(device);
  return result;
}

LONG slotValue(const DIJOYSTATE2& state, int slot) {
  const LONG values[axisSlotCount] = {state.lX,  state.lY,  state.lZ,           state.lRx,
                                      state.lRy, state.lRz, state.rglSlider[0], state.rglSlider[1]};
  return values[slot];
}
}  // namespace

void setAxisRange() {
  if (app.activeDevice == nullptr || !axisSelected()) return;
  const DIDEVICEOBJECTINSTANCEW axis = app.axes[static_cast<std::size_t>(app.axisIndex)];
  setAxisRangeProperty(app.activeDevice, axis.dwType, 0, 65535);
}

int readAxis() {
  if (app.activeDevice == nullptr || !axisSelected()) return noAxisValue;
  const DIDEVICEOBJECTINSTANCEW axis = app.axes[static_cast<std::size_t>(app.axisIndex)];
  const int slot = axisSlot(axis.dwType);
  IDirectInputDevice8W* device = app.activeDevice;
  setJoystickFormat(device);
  if (FAILED(pollDevice(device))) {
    const HRESULT acquired = reacquire(device);
    if (acquired == DIERR_INVALIDPARAM || acquired == DIERR_NOTINITIALIZED) return noAxisValue;
    // Another program holds the device for now: keep the pump going on the last known position.
    if (acquired == DIERR_OTHERAPPHASPRIO) return slot < 0 ? noAxisValue : app.lastAxisValue;
  }
  DIJOYSTATE2 state = {};
  if (FAILED(readJoystickState(device, state))) return noAxisValue;
  if (slot < 0) return noAxisValue;
  app.lastAxisValue = slotValue(state, slot);
  return app.lastAxisValue;
}
