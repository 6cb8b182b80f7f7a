#include "app/one_copy.h"

#include <windows.h>

#include "state/app_state.h"

// Only the foreground process may bring a window forward, and a window disabled under About cannot be
// activated: About comes forward then. Restored without waiting, so that a hung first copy cannot hang this one.
static void bringForward(HWND first) {
  if (first == nullptr) return;  // still starting
  if (IsIconic(first)) ShowWindowAsync(first, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(first));
}

// The mutex goes with the process. Opening an existing one asks for all rights: a first copy run as
// administrator grants a normal one too few, which tells of it as surely as the mutex's existence.
bool anotherCopyRuns() {
  const HANDLE oneCopy = CreateMutexW(nullptr, FALSE, L"Local\\Tarvelix.OneCopy");
  const DWORD error = GetLastError();
  if (oneCopy == nullptr ? error != ERROR_ACCESS_DENIED : error != ERROR_ALREADY_EXISTS) return false;
  bringForward(FindWindowW(app.windowClassName, nullptr));
  return true;
}
