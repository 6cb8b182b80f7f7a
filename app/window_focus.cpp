#include "app/window_focus.h"

#include "state/app_state.h"

void saveFocus() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(app.mainWindow, focus)) app.focusedControl = focus;
}

void restoreFocus() {
  HWND target = app.focusedControl;
  if (target == nullptr || !IsWindow(target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(app.mainWindow, nullptr, FALSE);
  SetFocus(target);
}

// Windows may have taken the focus away before the deactivation (a minimize, a disabled owner): a focus of none
// keeps what was saved before.
void keepFocus(WPARAM activation) {
  if (LOWORD(activation) == WA_INACTIVE) {
    saveFocus();
    return;
  }
  if (HIWORD(activation) == 0) restoreFocus();  // a minimized window's comes back when it is restored
}

// Windows would leave a live focus nowhere; a kept one would come back to nothing, then to the first tab stop.
void moveFocusOff(std::initializer_list<HWND> controls, HWND to) {
  for (HWND control : controls) {
    if (GetFocus() == control) SetFocus(to);
    if (app.focusedControl == control) app.focusedControl = to;
  }
}
