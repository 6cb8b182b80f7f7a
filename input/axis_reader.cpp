#include "input/axis_reader.h"

#include <cstring>

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

// The position at the offset where the joystick format put the axis.
int positionAt(const DIJOYSTATE2& state, DWORD offset) {
  if (offset > sizeof state - sizeof(LONG)) return noAxisValue;
  LONG value = 0;
  std::memcpy(&value, reinterpret_cast<const BYTE*>(&state) + offset, sizeof value);
  return value;
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
  IDirectInputDevice8W* device = app.activeDevice;
  setJoystickFormat(device);
  HRESULT acquired = DI_NOEFFECT;
  if (FAILED(pollDevice(device))) {
    acquired = reacquire(device);
    if (acquired == DIERR_INVALIDPARAM || acquired == DIERR_NOTINITIALIZED) return noAxisValue;
    // Another program holds the device for now: keep the pump going on the last known position.
    if (acquired == DIERR_OTHERAPPHASPRIO) return app.lastAxisValue;
  }
  DIJOYSTATE2 state = {};
  if (FAILED(readJoystickState(device, state))) return noAxisValue;
  if (acquired == DI_OK) return justAcquiredValue;
  app.lastAxisValue = positionAt(state, axis.dwOfs);
  return app.lastAxisValue;
}
