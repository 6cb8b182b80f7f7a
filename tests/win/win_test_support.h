// What every Win32 test shares: the program's own main window in front of the virtual
// controller (dinput8.dll), and ways to drive and look at both.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

#include "app/main_window.h"
#include "app/window_procedure.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "state/app_state.h"

// The debugger texts the program wrote since the last look, joined by "|". The program calls
// OutputDebugStringW through the import table of the test program it is linked into.
extern "C" void(WINAPI* __imp_OutputDebugStringW)(LPCWSTR);
inline std::wstring caughtTexts;
inline std::wstring debugTexts() { return std::exchange(caughtTexts, L""); }

template <typename Function>
Function controllerExport(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"dinput8.dll"), name)));
}

// Replaces the controllers of the virtual controller; the next DirectInput call sees them.
inline void useControllers(const std::string& script) {
  if (const auto use = controllerExport<void(WINAPI*)(const char*)>("VirtualControllerUseScript")) use(script.c_str());
}

// The virtual controller's counts: 0 DirectInput objects alive, 1 devices alive, 2 calls on released objects,
// 3 devices released while still acquired.
inline long liveObjects(int kind) {
  const auto count = controllerExport<long(WINAPI*)(int)>("VirtualControllerLiveObjects");
  return count != nullptr ? count(kind) : -1;
}

// A controller line of the script, with an instance GUID of its own for each number.
inline std::string deviceGuid(int number) {
  char text[48];
  std::snprintf(text, sizeof text, "{%08X-D5A0-11CF-BFC7-444553540000}", 0x6F1D2B60u + static_cast<unsigned>(number));
  return text;
}
inline std::string deviceLine(int number, const std::string& name) {
  return "device " + deviceGuid(number) + " " + name + "\n";
}

// The settings file's path, and its folder removed (read-only files included).
inline std::wstring settingsFilePath() { return settingsFolderPath() + L"\\Tarvelix.cfg"; }
inline void removeSettings() {
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(settingsFolderPath(), error)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(settingsFolderPath(), error);
}

inline std::string bytesOf(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void put(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Handles what is waiting for this thread, such as paints and a posted quit.
inline void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Creates the program's main window as wWinMain does, from a fresh state record, with the given controllers
// attached and the settings file's text (none when empty) in place; the stored settings are applied as at a
// launch, shown as asked. A window made before goes first.
inline bool createProgramWindow(const std::string& controllers, const std::string& settings = "",
                                int show = SW_SHOWNORMAL) {
  static const bool prepared = [] {
    __imp_OutputDebugStringW = [](LPCWSTR text) { caughtTexts.append(caughtTexts.empty() ? L"" : L"|").append(text); };
    INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES | ICC_LINK_CLASS};
    return InitCommonControlsEx(&commonControls) != FALSE;
  }();
  if (IsWindow(app.mainWindow)) DestroyWindow(app.mainWindow);
  app = AppState{};
  wcscpy_s(app.appTitle, L"Tarvelix");
  wcscpy_s(app.windowClassName, L"TARVELIX");
  registerMainWindowClass(GetModuleHandleW(nullptr), mainWindowProcedure);
  useControllers(controllers);
  removeSettings();
  if (!settings.empty()) put(settingsFilePath(), settings);
  const bool created = prepared && createMainWindow(GetModuleHandleW(nullptr), show);
  pumpMessages();
  return created;
}

// Sends the main window a command as a button (notification 0), an accelerator (1) or a list would.
inline LRESULT routeCommand(int id, int notification = 0, HWND sender = nullptr) {
  return SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(sender));
}

inline bool checked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Turns a check box over and sends its command, as a click does.
inline void click(HWND checkBox) {
  SendMessageW(checkBox, BM_SETCHECK, checked(checkBox) ? BST_UNCHECKED : BST_CHECKED, 0);
  routeCommand(GetDlgCtrlID(checkBox));
}

// Selects a row of a combo box and sends its selection command, as the user's choice does.
inline void chooseRow(HWND comboBox, int row) {
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  routeCommand(GetDlgCtrlID(comboBox), CBN_SELCHANGE, comboBox);
}

inline std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The rows of a combo box joined by "|", the selected one in brackets: "[Alpha]|Bravo".
inline std::wstring rowsOf(HWND comboBox) {
  std::wstring rows;
  for (LRESULT row = 0; row < SendMessageW(comboBox, CB_GETCOUNT, 0, 0); ++row) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(comboBox, CB_GETLBTEXTLEN, row, 0)) + 1, L'\0');
    text.resize(SendMessageW(comboBox, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data())));
    if (row == SendMessageW(comboBox, CB_GETCURSEL, 0, 0)) text = L"[" + text + L"]";
    rows.append(row > 0 ? L"|" : L"").append(text);
  }
  return rows;
}
