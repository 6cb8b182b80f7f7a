// Tells the end-to-end tests where the Tarvelix window's client area and controls stand on the screen:
// "client X Y WIDTH HEIGHT", then "ID LEFT TOP RIGHT BOTTOM" for each control. With the argument
// "device-change" it tells the window instead that a device came or went, as Windows does.
#include <windows.h>

#include <dbt.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  HWND window = FindWindowW(L"TARVELIX", nullptr);
  if (window == nullptr) return 1;
  if (argc > 1 && std::strcmp(argv[1], "device-change") == 0) {
    return SendMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0) ? 0 : 1;
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
