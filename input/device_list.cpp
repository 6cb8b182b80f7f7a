#include "input/device_list.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/input_names.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
// A controller admitted during enumeration, with the name it was admitted under.
struct NamedDevice {
  IDirectInputDevice8W* device = nullptr;
  std::wstring name;
};

BOOL CALLBACK admitDevice(LPCDIDEVICEINSTANCEW instance, LPVOID context) {
  auto& admitted = *static_cast<std::vector<NamedDevice>*>(context);
  IDirectInputDevice8W* device = nullptr;
  if (FAILED(createDevice(app.directInput, instance->guidInstance, &device)) || device == nullptr) {
    return DIENUM_CONTINUE;
  }
  std::wstring name;
  const HRESULT result = readInstanceName(device, name);
  if (FAILED(result)) {
    OutputDebugStringW(errorText(3, result).c_str());
    releaseObject(device);
    return DIENUM_CONTINUE;
  }
  OutputDebugStringW(deviceText(name).c_str());
  admitted.push_back({device, std::move(name)});
  return DIENUM_CONTINUE;
}

// Drops the objects of the previous refresh; the active device keeps its own reference.
void releaseListedDevices() {
  for (IDirectInputDevice8W*& device : app.devices) releaseObject(device);
  app.devices.clear();
  releaseObject(app.directInput);
}

// Creates the DirectInput object and admits the attached controllers; true when both succeeded.
bool enumerateAttached(std::vector<NamedDevice>& admitted) {
  HRESULT result = createDirectInput(&app.directInput);
  if (result != DI_OK) {
    OutputDebugStringW(errorText(1, result).c_str());
    return false;
  }
  result = enumerateControllers(app.directInput, admitDevice, &admitted);
  if (result != DI_OK) {
    OutputDebugStringW(errorText(1, result).c_str());
    return false;
  }
  return true;
}

// Rows and devices stay one to one: a device whose row cannot be added is let go.
void fillDeviceList(std::vector<NamedDevice>& admitted) {
  SendMessageW(app.deviceList, CB_RESETCONTENT, 0, 0);
  for (NamedDevice& entry : admitted) {
    std::wstring name;
    if (FAILED(readInstanceName(entry.device, name))) name = entry.name;
    const LRESULT row = SendMessageW(app.deviceList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (row < 0) {
      releaseObject(entry.device);
      continue;
    }
    app.devices.push_back(entry.device);
  }
}
}  // namespace

void refreshDevices() {
  releaseListedDevices();
  std::vector<NamedDevice> admitted;
  if (enumerateAttached(admitted)) {
    // Names are read once per device, so the order is consistent even if a driver renames one mid-sort.
    std::sort(admitted.begin(), admitted.end(),
              [](const NamedDevice& left, const NamedDevice& right) { return nameBefore(left.name, right.name); });
  }
  fillDeviceList(admitted);
  if (SendMessageW(app.deviceList, CB_GETCOUNT, 0, 0) > 0) selectRow(app.deviceList, 0, IDC_DEVICE_LIST);
}

// In reverse order of their making: the active device, the listed ones, then the DirectInput object.
void releaseControllers() {
  releaseObject(app.activeDevice);
  releaseListedDevices();
}

int deviceRowWithInstance(const std::wstring& instanceText) {
  if (instanceText.empty()) return -1;
  for (std::size_t row = 0; row < app.devices.size(); ++row) {
    if (instanceGuidText(app.devices[row]) == instanceText) return static_cast<int>(row);
  }
  return -1;
}

int activeDeviceRow() {
  const auto found = std::find(app.devices.begin(), app.devices.end(), app.activeDevice);
  return app.activeDevice == nullptr || found == app.devices.end() ? -1 : static_cast<int>(found - app.devices.begin());
}
