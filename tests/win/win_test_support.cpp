#include "win/win_test_support.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/app_state.h"
#include "app/main_window.h"
#include "settings/settings_file.h"

static LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void createTestWindows() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = testWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TarvelixTestWindow";
  RegisterClassW(&windowClass);
  app.mainWindow = CreateWindowExW(0, L"TarvelixTestWindow", L"test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
  app.statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", app.mainWindow, 117);
}

std::wstring statusText() {
  wchar_t buffer[256] = {};
  GetWindowTextW(app.statusBar, buffer, 256);
  return buffer;
}

std::string scratchPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("TARVELIX_TEST_TMP", folder, MAX_PATH);
  std::filesystem::path path =
      (length > 0 && length < MAX_PATH) ? std::filesystem::path(folder) : std::filesystem::temp_directory_path();
  std::error_code error;
  std::filesystem::create_directories(path, error);
  path /= std::to_string(GetCurrentProcessId()) + "-" + name;
  std::filesystem::remove(path, error);
  return path.string();
}

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
}

void setEnv(const char* name, const std::string& value) {
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Wine reports no handle count of its own; there the system's handle table is counted instead.
long handleCount() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return static_cast<long>(count);
  struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  std::vector<BYTE> buffer(1 << 16);
  ULONG needed = 0;
  while (query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) == static_cast<LONG>(0xC0000004)) {
    buffer.resize(std::max<std::size_t>(needed, buffer.size() * 2));
  }
  const ULONG entries = *reinterpret_cast<ULONG*>(buffer.data());
  const auto* entry = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
  long own = 0;
  for (ULONG i = 0; i < entries; ++i) own += entry[i].ownerPid == GetCurrentProcessId() ? 1 : 0;
  return own;
}

// Private bytes; Wine leaves PrivateUsage empty but fills the page-file usage, which Windows keeps equal to it.
long long privateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return static_cast<long long>(counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage);
}

bool createProgramWindow() {
  INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&commonControls);
  wcscpy_s(app.appTitle, L"Tarvelix");
  wcscpy_s(app.windowClassName, L"TARVELIX");
  registerMainWindowClass(GetModuleHandleW(nullptr));
  const bool created = createMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  pumpMessages();
  return created;
}

static std::filesystem::path settingsAside() {
  return settingsFolderPath() + L".aside-" + std::to_wstring(GetCurrentProcessId());
}

bool moveSettingsAside() {
  const std::filesystem::path folder = settingsFolderPath();
  std::error_code error;
  if (folder.empty()) return false;
  if (std::filesystem::exists(folder, error)) std::filesystem::rename(folder, settingsAside(), error);
  return !error && !std::filesystem::exists(folder, error);
}

bool putSettingsBack() {
  const std::filesystem::path folder = settingsFolderPath();
  for (const std::filesystem::path& file : {folder / L"Tarvelix.cfg", folder / L"Tarvelix.cfg.tmp", folder}) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  if (std::filesystem::exists(settingsAside(), error)) std::filesystem::rename(settingsAside(), folder, error);
  return !error;
}

void virtualControllerLookAgain() {
  auto lookAgain = reinterpret_cast<void(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"dinput8.dll"), "VirtualControllerLookAgain")));
  if (lookAgain != nullptr) lookAgain();
}
