#include "app/message_loop.h"

#include "state/app_state.h"

// While a list's drop-down is open the keys are the list's: Enter picks the row, a letter jumps to one.
static bool listDroppedDown() {
  return SendMessageW(app.deviceList, CB_GETDROPPEDSTATE, 0, 0) != FALSE ||
         SendMessageW(app.axisList, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

// The shortcuts reach the main window whichever control holds the focus; Tab and the arrow keys move the focus
// as in a dialog box.
void processMessage(MSG& message, HACCEL shortcuts) {
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
