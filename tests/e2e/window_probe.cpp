// Tells the end-to-end tests where the Tarvelix window's client area and controls stand on the screen:
// "client X Y WIDTH HEIGHT", then "ID LEFT TOP RIGHT BOTTOM" for each control. With the argument
// "device-change" it tells the window instead that a device came or went, as Windows does. With "lists" it
// tells, at every line read, what the two lists show, in lines of tab-separated fields, texts in UTF-8: "list ID
// DROPPED ITEM_HEIGHT SHOWN ROW0 ROW1 ..." for each; "drop LEFT TOP WIDTH HEIGHT", the client area of an open
// drop-down on the screen; "start CAPTION"; "focus ID"; and "end". One Wine start for many looks.
#include <windows.h>

#include <dbt.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
// A window's text, or with CB_GETLBTEXT a list's row, in UTF-8; Windows and Wine copy both across processes.
std::string textOf(HWND window, UINT message = WM_GETTEXT, int row = 0) {
  wchar_t text[512] = {};
  char bytes[1536] = {};
  if (message == WM_GETTEXT || SendMessageW(window, CB_GETLBTEXTLEN, row, 0) < 512)
    SendMessageW(window, message, message == WM_GETTEXT ? 512 : row, reinterpret_cast<LPARAM>(text));
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

// Where a window's client area stands on the screen, and its size.
void printClient(const char* name, HWND window) {
  RECT client = {};
  POINT origin = {};
  GetClientRect(window, &client);
  ClientToScreen(window, &origin);
  std::printf("%s\t%ld\t%ld\t%ld\t%ld\n", name, origin.x, origin.y, client.right, client.bottom);
}

void printLists(HWND window) {
  for (int id : {111, 114}) {
    HWND list = GetDlgItem(window, id);
    std::printf("list\t%d\t%d\t%d\t%s", id, static_cast<int>(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)),
                static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0)), textOf(list).c_str());
    const int rows = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) std::printf("\t%s", textOf(list, CB_GETLBTEXT, row).c_str());
    std::printf("\n");
  }
  DWORD process = 0, owner = 0;
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, &process), &thread);
  // The drop-down of a list is a top-level window of its own, of the class ComboLBox, shown while open.
  for (HWND drop = nullptr; (drop = FindWindowExW(nullptr, drop, L"ComboLBox", nullptr)) != nullptr;) {
    if (GetWindowThreadProcessId(drop, &owner) && owner == process && IsWindowVisible(drop)) printClient("drop", drop);
  }
  std::printf("start\t%s\nfocus\t%d\nend\n", textOf(GetDlgItem(window, 112)).c_str(),
              thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0);
}
}  // namespace

int main(int argc, char** argv) {
  HWND window = FindWindowW(L"TARVELIX", nullptr);
  if (window == nullptr) return 1;
  if (argc > 1 && std::strcmp(argv[1], "device-change") == 0) {
    return SendMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0) ? 0 : 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "lists") == 0) {
    for (char line[16]; std::fgets(line, sizeof line, stdin) != nullptr && IsWindow(window); std::fflush(stdout))
      printLists(window);
    return 0;
  }
  printClient("client", window);
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place = {};
    GetWindowRect(child, &place);
    std::printf("%d %ld %ld %ld %ld\n", GetDlgCtrlID(child), place.left, place.top, place.right, place.bottom);
  }
  return 0;
}
