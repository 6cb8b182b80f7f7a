// Entry point: loads the names, registers the class, creates the main window and runs the message loop.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

// Shortcuts go to the main window whichever control holds the focus.
static int runMessageLoop(HACCEL shortcuts) {
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorW(app.mainWindow, shortcuts, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no later load looks in the current folder
  LoadStringW(instance, IDS_APP_TITLE, app.appTitle, 100);
  LoadStringW(instance, IDS_WINDOW_CLASS, app.windowClassName, 100);
  INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&commonControls);
  registerMainWindowClass(instance);
  if (!createMainWindow(instance, showCommand)) return 0;
  HACCEL shortcuts = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_SHORTCUTS));
  return runMessageLoop(shortcuts);
}
