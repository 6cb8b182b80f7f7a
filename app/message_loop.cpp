#include "app/message_loop.h"

#include "state/app_state.h"

// The shortcuts reach the main window whichever control holds the focus, but not while a list is open: Enter
// then picks the row, a letter jumps to one. Tab and the arrow keys move the focus as in a dialog box.
// Enter on a focused push button presses it, as in every dialog box; elsewhere it is the Start/Stop shortcut.
static bool pressFocusedButton(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
  HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(app.mainWindow, focus)) return false;
  if ((SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) return false;
  SendMessageW(focus, BM_CLICK, 0, 0);
  return true;
}

void processMessage(MSG& message, HACCEL shortcuts) {
  if (pressFocusedButton(message)) return;
  const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
  if (key && !listDroppedDown() && TranslateAcceleratorW(app.mainWindow, shortcuts, &message)) return;
  if (IsDialogMessageW(app.mainWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int runMessageLoop(HACCEL shortcuts) {
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) processMessage(message, shortcuts);
  return static_cast<int>(message.wParam);
}
