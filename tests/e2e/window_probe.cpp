// Tells the end-to-end tests where the Tarvelix window's client area and controls stand on the screen:
// "client X Y WIDTH HEIGHT", then "ID LEFT TOP RIGHT BOTTOM" for each control. "names": what a screen reader reads
// at the curve editor and the level bar. "lists": for each line read, a line of tab-separated fields (UTF-8): per
// list dropped, rows, shown text; the row height; the open drop-down's screen rectangle (zeros when none); the Start
// button's caption; the status bar's text.
#include <windows.h>

#include <oleacc.h>

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

// WM_GETTEXT, whose text Windows and Wine copy across processes; only as long as the answer says, since an empty
// status bar writes no terminator into the copy.
std::wstring windowText(HWND window) {
  wchar_t text[512] = {};
  const LRESULT length = SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return std::wstring(text, length > 0 && length < 512 ? static_cast<std::size_t>(length) : 0);
}

// An open drop-down is a visible top-level window of the class ComboLBox.
void printLists(HWND window) {
  RECT drop = {};
  for (HWND list = nullptr; (list = FindWindowExW(nullptr, list, L"ComboLBox", nullptr)) != nullptr;)
    if (IsWindowVisible(list)) GetWindowRect(list, &drop);
  for (int id : {111, 114}) {
    HWND list = GetDlgItem(window, id);
    std::printf("%d\t%d\t%s\t", static_cast<int>(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)),
                static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)), utf8(windowText(list)).c_str());
  }
  std::printf("%d\t%ld\t%ld\t%ld\t%ld\t%s\t%s\n",
              static_cast<int>(SendMessageW(GetDlgItem(window, 111), CB_GETITEMHEIGHT, 0, 0)), drop.left, drop.top,
              drop.right, drop.bottom, utf8(windowText(GetDlgItem(window, 112))).c_str(),
              utf8(windowText(GetDlgItem(window, 117))).c_str());
}
}  // namespace

int main(int argc, char** argv) {
  HWND window = FindWindowW(L"TARVELIX", nullptr);
  if (window == nullptr) return 1;
  if (argc > 1 && std::strcmp(argv[1], "lists") == 0) {
    for (char line[16]; std::fgets(line, sizeof line, stdin) != nullptr && IsWindow(window); std::fflush(stdout))
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
