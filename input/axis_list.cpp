#include "input/axis_list.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/input_names.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
BOOL CALLBACK admitAxis(LPCDIDEVICEOBJECTINSTANCEW object, LPVOID context) {
  if ((object->dwType & DIDFT_ABSAXIS) == 0 && !IsEqualGUID(object->guidType, GUID_Slider)) return DIENUM_CONTINUE;
  // Copy no more than the driver says it filled; the rest stays zero.
  DIDEVICEOBJECTINSTANCEW copy = {};
  std::memcpy(&copy, object, std::min<std::size_t>(object->dwSize, sizeof copy));
  copy.dwSize = sizeof copy;
  static_cast<std::vector<DIDEVICEOBJECTINSTANCEW>*>(context)->push_back(copy);
  return DIENUM_CONTINUE;
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
  const HRESULT result = enumerateObjects(app.activeDevice, admitAxis, &app.axes);
  if (FAILED(result)) OutputDebugStringW(errorText(4, result).c_str());
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
