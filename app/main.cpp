// Entry point: loads the names, registers the class, creates the main window and runs the message loop.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/one_copy.h"
#include "app/window_procedure.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no later load looks in the current folder
  LoadStringW(instance, IDS_APP_TITLE, app.appTitle, 100);
  LoadStringW(instance, IDS_WINDOW_CLASS, app.windowClassName, 100);
  // A second launch, from the Startup folder and by hand say, brings the first copy forward and ends.
  if (anotherCopyRuns()) return 0;
  INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&commonControls);
  registerMainWindowClass(instance, mainWindowProcedure);
  if (!createMainWindow(instance, showCommand)) return 0;
  return runMessageLoop(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_SHORTCUTS)));
}
