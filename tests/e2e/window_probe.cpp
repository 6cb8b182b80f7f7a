// Tells the end-to-end tests where the Tarvelix window's client area and controls stand on the screen:
// "client X Y WIDTH HEIGHT", then "ID LEFT TOP RIGHT BOTTOM" for each control. With the argument
// "device-change" it tells the window instead that a device came or went, as Windows does. With "lists" it
// tells what the two lists show, in lines of tab-separated fields, texts in UTF-8: "list ID DROPPED ROW
// ITEM_HEIGHT SHOWN ROW0 ROW1 ..." for each; "drop LEFT TOP WIDTH HEIGHT", the client area of an open drop-down
// on the screen; "start CAPTION"; "focus ID"; and "end". "lists loop" answers at every line read instead: one Wine
// start for many looks. With "names" it tells what a screen reader reads at the curve editor and at the level
// bar, one line each.
#include <windows.h>

#include <oleacc.h>

#include <dbt.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
std::string utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3, '\0');
  bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                   static_cast<int>(bytes.size()), nullptr, nullptr));
  return bytes;
}

// WM_GETTEXT and CB_GETLBTEXT, whose text Windows and Wine copy across processes.
std::wstring windowText(HWND window) {
  wchar_t text[512] = {};
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring rowText(HWND list, int row) {
  wchar_t text[512] = {};
  if (SendMessageW(list, CB_GETLBTEXTLEN, row, 0) < 512)
    SendMessageW(list, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
  return text;
}

// The drop-down of a list is a top-level window of its own, of the class ComboLBox, shown while open.
BOOL CALLBACK printOpenDropDown(HWND window, LPARAM process) {
  wchar_t name[32] = {};
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  GetClassNameW(window, name, 32);
  if (owner != static_cast<DWORD>(process) || !IsWindowVisible(window) || std::wcscmp(name, L"ComboLBox") != 0)
    return TRUE;
  RECT client = {};
  POINT origin = {};
  GetClientRect(window, &client);
  ClientToScreen(window, &origin);
  std::printf("drop\t%ld\t%ld\t%ld\t%ld\n", origin.x, origin.y, client.right, client.bottom);
  return TRUE;
}

void printLists(HWND window) {
  for (int id : {111, 114}) {
    HWND list = GetDlgItem(window, id);
    std::printf("list\t%d\t%d\t%d\t%d\t%s", id, static_cast<int>(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)),
                static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)),
                static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0)), utf8(windowText(list)).c_str());
    const int rows = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) std::printf("\t%s", utf8(rowText(list, row)).c_str());
    std::printf("\n");
  }
  DWORD process = 0;
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, &process), &thread);
  EnumWindows(printOpenDropDown, process);
  std::printf("start\t%s\nfocus\t%d\nend\n", utf8(windowText(GetDlgItem(window, 112))).c_str(),
              thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0);
}
}  // namespace

int main(int argc, char** argv) {
  HWND window = FindWindowW(L"TARVELIX", nullptr);
  if (window == nullptr) return 1;
  if (argc > 1 && std::strcmp(argv[1], "device-change") == 0) {
    return SendMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0) ? 0 : 1;
  }
  if (argc > 2 && std::strcmp(argv[1], "lists") == 0) {
    char line[16];
    while (std::fgets(line, sizeof line, stdin) != nullptr && IsWindow(window)) {
      printLists(window);
      std::fflush(stdout);
    }
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "lists") == 0) {
    printLists(window);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "names") == 0) {
    // At a top-left corner, where a tooltip beside a point never stands. Wine's AccessibleObjectFromWindow answers
    // E_NOINTERFACE for a window of the program's own class.
    CoInitialize(nullptr);
    for (int id : {125, 126}) {
      IAccessible* object = nullptr;
      BSTR name = nullptr;
      VARIANT child = {};
      RECT place = {};
      GetWindowRect(GetDlgItem(window, id), &place);
      if (SUCCEEDED(AccessibleObjectFromPoint({place.left + 1, place.top + 1}, &object, &child)) &&
          SUCCEEDED(object->get_accName(child, &name)) && name != nullptr)
        std::printf("%s\n", utf8(name).c_str());
      SysFreeString(name);
      if (object != nullptr) object->Release();
    }
    return 0;
  }
  RECT client = {};
  POINT origin = {};
  GetClientRect(window, &client);
  ClientToScreen(window, &origin);
  std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place = {};
    GetWindowRect(child, &place);
    std::printf("%d %ld %ld %ld %ld\n", GetDlgCtrlID(child), place.left, place.top, place.right, place.bottom);
  }
  return 0;
}
