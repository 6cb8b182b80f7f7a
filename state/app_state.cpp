#include "state/app_state.h"

#include <utility>

AppState app;

void showStatus(const wchar_t* text) { SendMessageW(app.statusBar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

std::wstring statusText() {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(app.statusBar)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(app.statusBar, text.data(), static_cast<int>(text.size()))));
  return text;
}

// One invalidation for both: each is a round trip to the window server, and the strip between them is
// repainted cheaply.
void invalidateDisplays() {
  RECT both = {};
  UnionRect(&both, &app.levelBar, &app.curveArea);
  InvalidateRect(app.mainWindow, &both, FALSE);
}

bool listDroppedDown() {
  return SendMessageW(app.deviceList, CB_GETDROPPEDSTATE, 0, 0) != FALSE ||
         SendMessageW(app.axisList, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

void selectRow(HWND comboBox, int row, int commandId) {
  const bool outer = std::exchange(app.selectingRow, true);
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(commandId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(comboBox));
  app.selectingRow = outer;
}
