// Helpers for tests that drive the input code against the virtual controller (dinput8.dll stand-in):
// a main window that runs the device and axis selections, real combo boxes, the script, the
// stand-in's counters, and the debugger texts caught in-process.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "input/axis_list.h"
#include "input/device_list.h"
#include "win/win_test_support.h"

// Every debugger text written since the last clear, in order.
inline std::vector<std::wstring>& debugTexts() {
  static std::vector<std::wstring> texts;
  return texts;
}

inline LONG CALLBACK catchDebugText(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C && record->NumberParameters >= 2) {
    debugTexts().emplace_back(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    if (!wide.empty()) wide.pop_back();
    debugTexts().push_back(wide);
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

inline LRESULT CALLBACK inputTestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && !app.running && LOWORD(wParam) == cmdDeviceList) {
    selectDevice(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  if (message == WM_COMMAND && !app.running && LOWORD(wParam) == cmdAxisList) {
    selectAxis(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A hidden main window with the device and axis combo boxes; catches debugger texts from now on.
inline void createInputWindows() {
  static bool created = false;
  if (created) return;
  created = true;
  AddVectoredExceptionHandler(1, catchDebugText);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = inputTestWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TarvelixInputTestWindow";
  RegisterClassW(&windowClass);
  app.mainWindow = CreateWindowExW(0, windowClass.lpszClassName, L"input test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST;
  app.deviceList = CreateWindowExW(0, L"COMBOBOX", L"", style, 10, 10, 300, 200, app.mainWindow,
                                   reinterpret_cast<HMENU>(cmdDeviceList), windowClass.hInstance, nullptr);
  app.axisList = CreateWindowExW(0, L"COMBOBOX", L"", style, 10, 40, 300, 200, app.mainWindow,
                                 reinterpret_cast<HMENU>(cmdAxisList), windowClass.hInstance, nullptr);
}

// Starts each test from no controller, empty lists and nothing held.
inline void resetInput() {
  createInputWindows();
  app.running = false;
  releaseControllers();
  SendMessageW(app.deviceList, CB_RESETCONTENT, 0, 0);
  SendMessageW(app.axisList, CB_RESETCONTENT, 0, 0);
  app.axes.clear();
  app.axisIndex = 0;
  app.lastAxisValue = 0;
  debugTexts().clear();
}

// Replaces the virtual controller's script; the stand-in sees the change at its next call.
inline void writeScript(const std::string& text) {
  static const std::string path = scratchPath("controllers.txt");
  writeFile(path, text);
  setEnv("TARVELIX_VC_SCRIPT", path);
  virtualControllerLookAgain();
}

// A distinct instance GUID per number, as the script writes it.
inline std::string deviceGuid(int number) {
  char text[48];
  std::snprintf(text, sizeof text, "{%08X-D5A0-11CF-BFC7-444553540000}", 0x6F1D2B60u + static_cast<unsigned>(number));
  return text;
}

inline FARPROC standInExport(const char* name) { return GetProcAddress(GetModuleHandleW(L"dinput8.dll"), name); }

// Objects of the stand-in: 0 DirectInput objects alive, 1 devices alive, 2 calls on released objects.
inline long liveObjects(int kind) {
  auto count =
      reinterpret_cast<long(WINAPI*)(int)>(reinterpret_cast<void*>(standInExport("VirtualControllerLiveObjects")));
  return count != nullptr ? count(kind) : -1;
}

// How often the program has called a DirectInput method of the stand-in.
inline long callCount(const char* method) {
  auto count = reinterpret_cast<long(WINAPI*)(const char*)>(
      reinterpret_cast<void*>(standInExport("VirtualControllerCallCount")));
  return count != nullptr ? count(method) : -1;
}

// Every row text of a combo box, fetched with room for its full length.
inline std::vector<std::wstring> comboRows(HWND combo) {
  std::vector<std::wstring> rows;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, row, 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    rows.push_back(text);
  }
  return rows;
}

inline LRESULT comboSelection(HWND combo) { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }

// Selects a row as the user would and runs the window procedure's handling of it.
inline void chooseRow(HWND combo, int row) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}
