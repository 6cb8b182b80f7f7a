#include "app/about_dialog.h"

#include <objbase.h>
#include <shellapi.h>

#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
constexpr const wchar_t* webSite = L"https://github.com/tarvelix/tarvelix";
constexpr int donateUrlLength = 256;

// The template's font is the dialog manager's; the main window's font makes both windows read alike. An item
// shorter than a line of that font (the template's own font may be smaller) grows to a line, so no text clips.
void useMainWindowFont(HWND dialog) {
  if (app.messageFont == nullptr) return;
  HDC dc = GetDC(dialog);
  const HGDIOBJ previous = SelectObject(dc, app.messageFont);
  TEXTMETRICW font = {};
  GetTextMetricsW(dc, &font);
  SelectObject(dc, previous);
  ReleaseDC(dialog, dc);
  for (HWND item = GetWindow(dialog, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT)) {
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(app.messageFont), FALSE);
    RECT box = {};
    GetWindowRect(item, &box);
    if (box.bottom - box.top < font.tmHeight)
      SetWindowPos(item, nullptr, 0, 0, box.right - box.left, font.tmHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

INT_PTR initAboutDialog(HWND dialog) {
  useMainWindowFont(dialog);
  HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
  SetWindowLongW(link, GWL_STYLE, GetWindowLongW(link, GWL_STYLE) | SS_NOTIFY);
  return TRUE;
}

// System colours throughout, so a high-contrast theme stays readable; the brushes are the system's own.
INT_PTR colourStatic(HDC dc, HWND control) {
  const bool link = GetDlgCtrlID(control) == IDC_ABOUT_LINK;
  SetTextColor(dc, GetSysColor(link ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

// ShellExecuteW may hand the page to a shell extension that needs COM on this thread.
void openPage(const wchar_t* url) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) CoUninitialize();
}

void openDonationPage() {
  wchar_t url[donateUrlLength] = {};
  LoadStringW(app.instanceHandle, IDS_DONATE_URL, url, donateUrlLength);
  openPage(url);
}

INT_PTR runAboutCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, id);
      return TRUE;
    case IDC_ABOUT_LINK:  // a double-click tells of its second click as well: one page per click
      if (code == STN_CLICKED) openPage(webSite);
      return TRUE;
    case IDC_DONATE:
      openDonationPage();
      return TRUE;
    default:
      return FALSE;
  }
}
}  // namespace

INT_PTR CALLBACK aboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return initAboutDialog(dialog);
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORSTATIC:
      return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      return runAboutCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

void showAboutDialog() {
  DialogBoxParamW(app.instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT), app.mainWindow, aboutDialogProcedure, 0);
}
