// Every call the program makes into DirectInput 8, with the records they pass.
#pragma once

#include <windows.h>

#include <dinput.h>

#include <string>

// A new DirectInput object for the running module, or null with the failing result.
HRESULT createDirectInput(IDirectInput8W** directInput);

// Lists the attached game controllers; the callback answers DIENUM_CONTINUE.
HRESULT enumerateControllers(IDirectInput8W* directInput, LPDIENUMDEVICESCALLBACKW callback, void* context);

HRESULT createDevice(IDirectInput8W* directInput, const GUID& instance, IDirectInputDevice8W** device);

// The controller's instance name (at most 259 characters, or 260 when the driver left no terminator).
HRESULT readInstanceName(IDirectInputDevice8W* device, std::wstring& name);

// The controller's device information: its instance and product GUIDs, among others.
HRESULT readDeviceInfo(IDirectInputDevice8W* device, DIDEVICEINSTANCEW& info);

// The instance GUID in registry form ("{...}", 38 characters); empty when the device cannot tell.
std::wstring instanceGuidText(IDirectInputDevice8W* device);

// The product GUID likewise: the same for every controller of one model, wherever it is plugged in.
std::wstring productGuidText(IDirectInputDevice8W* device);

// Where the joystick format keeps the axes' positions: X, Y, Z, Rx, Ry, Rz and the two sliders.
constexpr DWORD axisOffsets[] = {DIJOFS_X,  DIJOFS_Y,  DIJOFS_Z,         DIJOFS_RX,
                                 DIJOFS_RY, DIJOFS_RZ, DIJOFS_SLIDER(0), DIJOFS_SLIDER(1)};

// The object that the joystick format, once set, placed at this offset of the state.
HRESULT readObjectAt(IDirectInputDevice8W* device, DWORD offset, DIDEVICEOBJECTINSTANCEW& object);

// Sets the range of the object with this type identifier.
HRESULT setAxisRangeProperty(IDirectInputDevice8W* device, DWORD objectType, LONG minimum, LONG maximum);

HRESULT setJoystickFormat(IDirectInputDevice8W* device);
HRESULT pollDevice(IDirectInputDevice8W* device);
HRESULT setBackgroundCooperation(IDirectInputDevice8W* device, HWND window);
HRESULT acquireDevice(IDirectInputDevice8W* device);
HRESULT readJoystickState(IDirectInputDevice8W* device, DIJOYSTATE2& state);
HRESULT unacquireDevice(IDirectInputDevice8W* device);

// Drops one reference and forgets the pointer.
template <typename Interface>
void releaseObject(Interface*& object) {
  if (object == nullptr) return;
  object->Release();
  object = nullptr;
}
