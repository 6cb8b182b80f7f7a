// The floor of the CPU figure: a window whose 50 ms timer does only what the test rig costs Tarvelix's pump,
// one Poll and one GetDeviceState of the first attached controller (the virtual controller reads its script
// file for them), the least a program that reads a controller as often as Tarvelix's pump costs under the
// same Wine server.
#include <windows.h>

#include <dinput.h>

namespace {
IDirectInputDevice8W* device = nullptr;

BOOL CALLBACK takeFirst(LPCDIDEVICEINSTANCEW instance, void* found) {
  *static_cast<GUID*>(found) = instance->guidInstance;
  return DIENUM_STOP;
}

// The first attached game controller, read as a joystick; null when there is none.
IDirectInputDevice8W* openController(HINSTANCE instance) {
  IDirectInput8W* input = nullptr;
  if (FAILED(DirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8W, reinterpret_cast<void**>(&input),
                                nullptr)))
    return nullptr;
  GUID first = GUID_NULL;
  IDirectInputDevice8W* opened = nullptr;
  input->EnumDevices(DI8DEVCLASS_GAMECTRL, takeFirst, &first, DIEDFL_ATTACHEDONLY);
  if (first == GUID_NULL || FAILED(input->CreateDevice(first, &opened, nullptr))) return nullptr;
  if (FAILED(opened->SetDataFormat(&c_dfDIJoystick2)) || FAILED(opened->Acquire())) return nullptr;
  return opened;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefWindowProcW(window, message, wParam, lParam);
  DIJOYSTATE2 state = {};
  device->Poll();
  device->GetDeviceState(sizeof state, &state);
  return 0;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  device = openController(instance);
  if (device == nullptr) return 2;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TarvelixIdleTimer";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(windowClass.lpszClassName, L"Idle timer", WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100,
                              nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);
  SetTimer(window, 1, 50, nullptr);
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
