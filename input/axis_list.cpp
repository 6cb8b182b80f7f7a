#include "input/axis_list.h"

#include <algorithm>
#include <vector>

#include "core/input_names.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
// The axes that the joystick format reads, each with the offset it is read at. The format places each object by
// its type, whatever its instance number, and leaves out further axes of a kind: those cannot be read.
void gatherAxes(IDirectInputDevice8W* device) {
  const HRESULT formatted = setJoystickFormat(device);
  // Still acquired from the last run: the format set then, this one, is in force.
  if (FAILED(formatted) && formatted != DIERR_ACQUIRED) {
    OutputDebugStringW(errorText(4, formatted).c_str());
    return;
  }
  for (const DWORD offset : axisOffsets) {
    DIDEVICEOBJECTINSTANCEW axis;
    const HRESULT result = readObjectAt(device, offset, axis);
    if (FAILED(result) && result != DIERR_OBJECTNOTFOUND) OutputDebugStringW(errorText(4, result).c_str());
    if (FAILED(result) || ((axis.dwType & DIDFT_ABSAXIS) == 0 && !IsEqualGUID(axis.guidType, GUID_Slider))) continue;
    axis.dwOfs = offset;  // a driver's own offset is that of its native format
    app.axes.push_back(axis);
  }
}

// The active device holds its own reference, so a refresh that lets go of the list cannot free it.
void holdActiveDevice(IDirectInputDevice8W* device) {
  if (device == app.activeDevice) return;
  device->AddRef();
  releaseObject(app.activeDevice);
  app.activeDevice = device;
}

void fillAxisList() {
  for (const DIDEVICEOBJECTINSTANCEW& axis : app.axes) {
    const std::wstring name(boundedName(axis.tszName));
    SendMessageW(app.axisList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}
}  // namespace

void selectDevice(HWND sender) {
  if (app.running) return;
  const LRESULT row = SendMessageW(sender, CB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<std::size_t>(row) >= app.devices.size()) return;
  holdActiveDevice(app.devices[static_cast<std::size_t>(row)]);
  app.lastAxisValue = 0;
  SendMessageW(app.axisList, CB_RESETCONTENT, 0, 0);
  app.axes.clear();
  gatherAxes(app.activeDevice);
  std::sort(app.axes.begin(), app.axes.end(),
            [](const DIDEVICEOBJECTINSTANCEW& left, const DIDEVICEOBJECTINSTANCEW& right) {
              return nameBefore(boundedName(left.tszName), boundedName(right.tszName));
            });
  fillAxisList();
  if (SendMessageW(app.axisList, CB_GETCOUNT, 0, 0) > 0) selectRow(app.axisList, 0, IDC_AXIS_LIST);
}

void selectAxis(HWND sender) {
  if (app.running) return;
  const LRESULT row = SendMessageW(sender, CB_GETCURSEL, 0, 0);
  app.axisIndex = row < 0 ? -1 : static_cast<int>(row);
  app.lastAxisValue = 0;
}
