#include "app/about_dialog.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
constexpr const wchar_t* webSite = L"https://github.com/tarvelix/tarvelix";
constexpr int donateUrlLength = 256;

// The template's font is the dialog manager's; the main window's font makes both windows read alike. A copy of
// it: a new text size or scale replaces the main window's font, and deletes the old one, while About is open. An
// item shorter than a line of that font (the template's own font may be smaller) grows to a line, so no text clips.
void useMainWindowFont(HWND dialog) {
  LOGFONTW font = {};
  if (app.messageFont == nullptr || GetObjectW(app.messageFont, sizeof font, &font) == 0) return;
  app.aboutFont = CreateFontIndirectW(&font);
  if (app.aboutFont == nullptr) return;
  HDC dc = GetDC(dialog);
  const HGDIOBJ previous = SelectObject(dc, app.aboutFont);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(dialog, dc);
  for (HWND item = GetWindow(dialog, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT)) {
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(app.aboutFont), FALSE);
    RECT box = {};
    GetWindowRect(item, &box);
    if (box.bottom - box.top < metrics.tmHeight)
      SetWindowPos(item, nullptr, 0, 0, box.right - box.left, metrics.tmHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// System colours throughout, so a high-contrast theme stays readable; the brushes are the system's own. The link
// colours its own text.
INT_PTR colourStatic(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
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

// The link tells of a click and of Enter, and may tell of both for one Enter, or of a click for each half of a
// double-click: one page for what comes within a double-click's time.
INT_PTR linkActivated(const NMHDR& notice) {
  if (notice.idFrom != IDC_ABOUT_LINK || (notice.code != NM_CLICK && notice.code != NM_RETURN)) return FALSE;
  const DWORD now = static_cast<DWORD>(GetMessageTime());  // the milliseconds wrap: the difference does not
  if (app.siteOpenedAt && now - *app.siteOpenedAt < GetDoubleClickTime()) return TRUE;
  app.siteOpenedAt = now;
  openPage(webSite);
  return TRUE;
}

INT_PTR runAboutCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, id);
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
      useMainWindowFont(dialog);
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORSTATIC:
      return colourStatic(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      return runAboutCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY:
      return linkActivated(*reinterpret_cast<const NMHDR*>(lParam));
    default:
      return FALSE;
  }
}

void showAboutDialog() {
  DialogBoxParamW(app.instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT), app.mainWindow, aboutDialogProcedure, 0);
  if (app.aboutFont != nullptr) DeleteObject(app.aboutFont);
  app.aboutFont = nullptr;
}
