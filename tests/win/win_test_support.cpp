#include "win/win_test_support.h"

#include <commctrl.h>
#include <winternl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <utility>

#include "app/app_state.h"
#include "app/main_window.h"
#include "settings/settings_file.h"

namespace {
std::vector<std::wstring> caughtTexts;

// Windows raises the wide text; Wine only the narrow one, which is turned back into a wide one.
LONG CALLBACK catchDebugText(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  const auto text = record->NumberParameters >= 2 ? record->ExceptionInformation[1] : 0;
  if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C && text != 0) {
    caughtTexts.emplace_back(reinterpret_cast<const wchar_t*>(text));
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  if (record->ExceptionCode != DBG_PRINTEXCEPTION_C || text == 0) return EXCEPTION_CONTINUE_SEARCH;
  wchar_t wide[1024] = {};
  MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(text), -1, wide, 1023);
  caughtTexts.emplace_back(wide);
  return EXCEPTION_CONTINUE_EXECUTION;
}

// The simulator stand-in's files of this test process, in its working folder.
const std::string simulatorLog = std::to_string(GetCurrentProcessId()) + "-simulator.log";
const std::string simulatorRequests = std::to_string(GetCurrentProcessId()) + "-simulator-control.txt";

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
}  // namespace

bool createProgramWindow(const std::string& controllers, const std::string& settings) {
  static const bool prepared = [] {
    AddVectoredExceptionHandler(1, catchDebugText);
    SetEnvironmentVariableA("TARVELIX_SIM_LOG", simulatorLog.c_str());
    SetEnvironmentVariableA("TARVELIX_SIM_CONTROL", simulatorRequests.c_str());
    INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES};
    return InitCommonControlsEx(&commonControls) != FALSE;
  }();
  app = AppState{};  // as at the start of a process
  wcscpy_s(app.appTitle, L"Tarvelix");
  wcscpy_s(app.windowClassName, L"TARVELIX");
  registerMainWindowClass(GetModuleHandleW(nullptr));
  useControllers(controllers);
  simulatorControl("");
  writeText(simulatorLog, "");
  removeSettings();
  if (!settings.empty()) {
    std::filesystem::create_directories(std::filesystem::path(settingsFilePath()).parent_path());
    writeText(std::filesystem::path(settingsFilePath()).string(), settings);
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
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(folder, error);
}

LRESULT routeCommand(int id, int notification, HWND sender) {
  return SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(sender));
}

void chooseRow(HWND comboBox, int row) {
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  routeCommand(GetDlgCtrlID(comboBox), CBN_SELCHANGE, comboBox);
}

std::vector<std::wstring> comboRows(HWND comboBox) {
  std::vector<std::wstring> rows;
  for (LRESULT row = 0; row < SendMessageW(comboBox, CB_GETCOUNT, 0, 0); ++row) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(comboBox, CB_GETLBTEXTLEN, row, 0)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(SendMessageW(comboBox, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(text);
  }
  return rows;
}

LRESULT comboSelection(HWND comboBox) { return SendMessageW(comboBox, CB_GETCURSEL, 0, 0); }

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

void simulatorControl(const std::string& requests) { writeText(simulatorRequests, requests); }

std::vector<std::string> simulatorCalls() {
  std::ifstream log(simulatorLog);
  std::vector<std::string> calls;
  for (std::string line; std::getline(log, line);)
    calls.push_back(std::regex_replace(line, std::regex(" handle=\\d+"), ""));
  log.close();
  writeText(simulatorLog, "");
  return calls;
}

std::vector<std::wstring> debugTexts() { return std::exchange(caughtTexts, {}); }

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Wine answers GetGuiResources with 0; its GDI handle table (reached through the PEB) is counted instead:
// the entries in use that are not stock objects.
long gdiObjectCount() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return static_cast<long>(reported);
  struct GdiHandleEntry {
    UINT64 object;
    ULONG owner;
    UCHAR extType, generation, type, flags;
    UINT64 userPointer;
  };
  static_assert(sizeof(GdiHandleEntry) == 24);
  constexpr std::size_t gdiSharedTableOffset = 0xF8;  // PEB::GdiSharedHandleTable on x64
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic = {};
  if (query == nullptr || query(GetCurrentProcess(), 0, &basic, sizeof basic, nullptr) != 0) return -1;
  const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + gdiSharedTableOffset);
  if (table == nullptr) return -1;
  long used = 0;
  for (int i = 0; i < 0x10000; ++i) used += table[i].type != 0 && (table[i].extType & 0x80) == 0 ? 1 : 0;
  return used;
}
