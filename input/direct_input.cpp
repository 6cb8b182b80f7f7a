#include "input/direct_input.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>

#include "core/input_names.h"

// The record layouts DirectInput 8 expects; a wrong header would make every call fail quietly.
static_assert(sizeof(DIPROPHEADER) == 16);
static_assert(sizeof(DIPROPSTRING) == 536);
static_assert(sizeof(DIPROPRANGE) == 24);
static_assert(sizeof(DIDEVICEINSTANCEW) == 1100);
static_assert(sizeof(DIJOYSTATE2) == 272);
static_assert(sizeof(DIDEVICEOBJECTINSTANCEW) == 576);
static_assert(DIRECTINPUT_VERSION == 0x0800);

HRESULT createDirectInput(IDirectInput8W** directInput) {
  void* object = nullptr;
  HRESULT result =
      DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W, &object, nullptr);
  *directInput = static_cast<IDirectInput8W*>(object);
  if (result == DI_OK) return result;
  // A success code other than DI_OK still counts as failure; do not keep what it gave.
  if (SUCCEEDED(result)) releaseObject(*directInput);
  *directInput = nullptr;
  return result;
}

HRESULT enumerateControllers(IDirectInput8W* directInput, LPDIENUMDEVICESCALLBACKW callback, void* context) {
  return directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, callback, context, DIEDFL_ATTACHEDONLY);
}

HRESULT createDevice(IDirectInput8W* directInput, const GUID& instance, IDirectInputDevice8W** device) {
  *device = nullptr;
  HRESULT result = directInput->CreateDevice(instance, device, nullptr);
  if (FAILED(result)) *device = nullptr;
  return result;
}

HRESULT readInstanceName(IDirectInputDevice8W* device, std::wstring& name) {
  DIPROPSTRING property = {};
  property.diph.dwSize = sizeof property;
  property.diph.dwHeaderSize = sizeof property.diph;
  property.diph.dwObj = 0;
  property.diph.dwHow = DIPH_DEVICE;
  HRESULT result = device->GetProperty(DIPROP_INSTANCENAME, &property.diph);
  if (FAILED(result)) return result;
  name = boundedName(property.wsz, std::size(property.wsz));
  return result;
}

HRESULT readDeviceInfo(IDirectInputDevice8W* device, DIDEVICEINSTANCEW& info) {
  info = {};
  info.dwSize = sizeof info;
  return device->GetDeviceInfo(&info);
}

static std::wstring guidText(const GUID& guid) {
  wchar_t text[64] = {};
  if (StringFromGUID2(guid, text, 64) == 0) return {};
  return text;
}

std::wstring instanceGuidText(IDirectInputDevice8W* device) {
  DIDEVICEINSTANCEW info;
  return FAILED(readDeviceInfo(device, info)) ? std::wstring() : guidText(info.guidInstance);
}

std::wstring productGuidText(IDirectInputDevice8W* device) {
  DIDEVICEINSTANCEW info;
  return FAILED(readDeviceInfo(device, info)) ? std::wstring() : guidText(info.guidProduct);
}

HRESULT readObjectAt(IDirectInputDevice8W* device, DWORD offset, DIDEVICEOBJECTINSTANCEW& object) {
  object = {};
  object.dwSize = sizeof object;
  return device->GetObjectInfo(&object, offset, DIPH_BYOFFSET);
}

HRESULT setAxisRangeProperty(IDirectInputDevice8W* device, DWORD objectType, LONG minimum, LONG maximum) {
  DIPROPRANGE range = {};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = objectType;
  range.diph.dwHow = DIPH_BYID;
  range.lMin = minimum;
  range.lMax = maximum;
  return device->SetProperty(DIPROP_RANGE, &range.diph);
}

HRESULT setJoystickFormat(IDirectInputDevice8W* device) { return device->SetDataFormat(&c_dfDIJoystick2); }

HRESULT pollDevice(IDirectInputDevice8W* device) { return device->Poll(); }

HRESULT setBackgroundCooperation(IDirectInputDevice8W* device, HWND window) {
  return device->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
}

HRESULT acquireDevice(IDirectInputDevice8W* device) { return device->Acquire(); }

HRESULT readJoystickState(IDirectInputDevice8W* device, DIJOYSTATE2& state) {
  return device->GetDeviceState(sizeof state, &state);
}

HRESULT unacquireDevice(IDirectInputDevice8W* device) { return device->Unacquire(); }
