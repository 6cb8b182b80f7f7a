#include "app/about_dialog.h"

#include <shellapi.h>

#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
constexpr const wchar_t* webSite = L"https://github.com/tarvelix/tarvelix";
constexpr COLORREF linkColour = RGB(0, 0, 255);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr int donateUrlLength = 256;

// The statics' white brush lives as long as the dialog, kept in the dialog's user data.
HBRUSH staticBrush(HWND dialog) { return reinterpret_cast<HBRUSH>(GetWindowLongPtrW(dialog, DWLP_USER)); }

INT_PTR initAboutDialog(HWND dialog) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(CreateSolidBrush(white)));
  HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
  SetWindowLongW(link, GWL_STYLE, GetWindowLongW(link, GWL_STYLE) | SS_NOTIFY);
  return TRUE;
}

// The brush goes with the dialog.
void releaseAboutDialog(HWND dialog) {
  HBRUSH brush = staticBrush(dialog);
  SetWindowLongPtrW(dialog, DWLP_USER, 0);
  if (brush != nullptr) DeleteObject(brush);
}

void paintAboutDialog(HWND dialog) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  FillRect(dc, &paint.rcPaint, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  EndPaint(dialog, &paint);
}

INT_PTR colourStatic(HWND dialog, HDC dc, HWND control) {
  if (GetDlgCtrlID(control) == IDC_ABOUT_LINK) SetTextColor(dc, linkColour);
  return reinterpret_cast<INT_PTR>(staticBrush(dialog));
}

void openDonationPage() {
  wchar_t url[donateUrlLength] = {};
  LoadStringW(app.instanceHandle, IDS_DONATE_URL, url, donateUrlLength);
  ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR runAboutCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, id);
      return TRUE;
    case IDC_ABOUT_LINK:
      ShellExecuteW(nullptr, L"open", webSite, nullptr, nullptr, SW_SHOWNORMAL);
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
    case WM_PAINT:
      paintAboutDialog(dialog);
      return FALSE;
    case WM_CTLCOLORSTATIC:
      return colourStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      return runAboutCommand(dialog, LOWORD(wParam));
    case WM_DESTROY:
      releaseAboutDialog(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

void showAboutDialog() {
  DialogBoxParamW(app.instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT), app.mainWindow, aboutDialogProcedure, 0);
}
