#include "win/win_test_support.h"

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/app_state.h"

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
