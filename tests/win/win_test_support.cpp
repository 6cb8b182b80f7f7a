#include "win/win_test_support.h"

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

#include "app/app_state.h"
#include "app/main_window.h"
#include "settings/settings_file.h"

namespace {
std::wstring caughtTexts;

// Windows raises the wide text; Wine only the narrow one, which is turned back into a wide one.
LONG CALLBACK catchDebugText(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  const auto text = record->NumberParameters >= 2 ? record->ExceptionInformation[1] : 0;
  wchar_t wide[1024] = {};
  if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C && text != 0) {
    wcsncpy_s(wide, reinterpret_cast<const wchar_t*>(text), _TRUNCATE);
  } else if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && text != 0) {
    MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(text), -1, wide, 1023);
  } else {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  caughtTexts.append(caughtTexts.empty() ? L"" : L"|").append(wide);
  return EXCEPTION_CONTINUE_EXECUTION;
}
}  // namespace

bool createProgramWindow(const std::string& controllers, const std::string& settings) {
  static const bool prepared = [] {
    AddVectoredExceptionHandler(1, catchDebugText);
    INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES};
    return InitCommonControlsEx(&commonControls) != FALSE;
  }();
  if (IsWindow(app.mainWindow)) DestroyWindow(app.mainWindow);
  app = AppState{};
  wcscpy_s(app.appTitle, L"Tarvelix");
  wcscpy_s(app.windowClassName, L"TARVELIX");
  registerMainWindowClass(GetModuleHandleW(nullptr));
  useControllers(controllers);
  removeSettings();
  if (!settings.empty()) {
    std::filesystem::create_directories(settingsFolderPath());
    std::ofstream(std::filesystem::path(settingsFilePath()), std::ios::binary) << settings;
  }
  const bool created = prepared && createMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  pumpMessages();
  return created;
}

std::wstring settingsFilePath() { return settingsFolderPath() + L"\\Tarvelix.cfg"; }

void removeSettings() {
  const std::filesystem::path folder = settingsFolderPath();
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(folder, error);
}

LRESULT routeCommand(int id, int notification, HWND sender) {
  return SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(sender));
}

void chooseRow(HWND comboBox, int row) {
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  routeCommand(GetDlgCtrlID(comboBox), CBN_SELCHANGE, comboBox);
}

std::wstring rowsOf(HWND comboBox) {
  std::wstring rows;
  for (LRESULT row = 0; row < SendMessageW(comboBox, CB_GETCOUNT, 0, 0); ++row) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(comboBox, CB_GETLBTEXTLEN, row, 0)) + 1, L'\0');
    text.resize(SendMessageW(comboBox, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data())));
    if (row == SendMessageW(comboBox, CB_GETCURSEL, 0, 0)) text = L"[" + text + L"]";
    rows.append(row > 0 ? L"|" : L"").append(text);
  }
  return rows;
}

std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

template <typename Function>
static Function controllerExport(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"dinput8.dll"), name)));
}

void useControllers(const std::string& script) {
  const auto use = controllerExport<void(WINAPI*)(const char*)>("VirtualControllerUseScript");
  if (use == nullptr && !script.empty()) std::fprintf(stderr, "dinput8.dll is not the virtual controller\n");
  if (use != nullptr) use(script.c_str());
}

long liveObjects(int kind) {
  const auto count = controllerExport<long(WINAPI*)(int)>("VirtualControllerLiveObjects");
  return count != nullptr ? count(kind) : -1;
}

std::string deviceGuid(int number) {
  char text[48];
  std::snprintf(text, sizeof text, "{%08X-D5A0-11CF-BFC7-444553540000}", 0x6F1D2B60u + static_cast<unsigned>(number));
  return text;
}

std::string deviceLine(int number, const std::string& name) {
  return "device " + deviceGuid(number) + " " + name + "\n";
}

std::wstring debugTexts() { return std::exchange(caughtTexts, L""); }

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}
