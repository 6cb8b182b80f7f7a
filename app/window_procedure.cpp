#include "app/window_procedure.h"

#include <dbt.h>
#include <windowsx.h>

#include "app/about_dialog.h"
#include "app/controller_comeback.h"
#include "app/display_windows.h"
#include "app/settings_commands.h"
#include "app/window_focus.h"
#include "app/window_scale.h"
#include "app/zoom_pump.h"
#include "core/editor_geometry.h"
#include "curve/curve_editor.h"
#include "input/axis_list.h"
#include "input/device_list.h"
#include "input/direct_input.h"
#include "resources/resource_ids.h"
#include "sim/sim_link.h"
#include "state/app_state.h"

namespace {
bool isChecked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) != 0; }

// A camera ticked while running gets the current value at the next tick, not at the next resend.
void chooseCamera(bool& camera, HWND checkBox) {
  camera = isChecked(checkBox);
  if (camera && app.running) app.sendNextTick = true;
}

void toggleStartStop() {
  if (app.running) {
    stopPump();
  } else {
    startPump();
  }
  drawCurveEditor();
  invalidateDisplays();
}

// Both ways out, Exit and the window's close button, end here, once: the pump's timer, the link, the
// controllers (unacquired, then let go), the drawing objects, and last the message loop.
void shutDown() {
  KillTimer(app.mainWindow, pumpTimerId);
  app.running = false;
  closeSimLink();
  if (app.activeDevice != nullptr) unacquireDevice(app.activeDevice);
  releaseControllers();
  deleteCurveBuffer();
  PostQuitMessage(0);
}

// Windows' text size ("Make text bigger") changes the message font: laid out anew as for a new scale. A change of
// high contrast changes the colours, and a screen reader hears a moving zoom.
void systemSettingChanged(UINT setting) {
  if (setting == SPI_SETNONCLIENTMETRICS) changeTextSize();
  if (setting == SPI_SETHIGHCONTRAST) useDisplayColours();
  if (setting == SPI_SETSCREENREADER) noteScreenReader();
}

bool isList(int id) { return id == IDC_DEVICE_LIST || id == IDC_AXIS_LIST; }

// While a list's drop-down is open its selection follows the pointer and the keys, and how the closing notices
// follow one another is not fixed: a row is the user's choice once the list has closed on it. A change made
// while it is closed (arrow keys, the wheel, a letter) is one at once, and so is every selection of the program.
bool listChoiceSettled(int id, int code) {
  HWND list = id == IDC_DEVICE_LIST ? app.deviceList : app.axisList;
  if (code == CBN_SELCHANGE) return app.selectingRow || SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) == FALSE;
  if (code != CBN_CLOSEUP && code != CBN_SELENDOK && code != CBN_SELENDCANCEL) return false;
  const int inUse = id == IDC_DEVICE_LIST ? activeDeviceRow() : app.axisIndex;
  return SendMessageW(list, CB_GETCURSEL, 0, 0) != inUse;
}

// Refresh and the two lists would pull the device out from under the running pump.
bool ignoredWhileRunning(int id) { return id == IDC_REFRESH || id == IDC_DEVICE_LIST || id == IDC_AXIS_LIST; }

// The commands by which the user changes the choice of controller; the program's own selections do not count.
bool changesTheChoice(int id) {
  return !app.selectingRow && (id == IDC_START_STOP || id == IDC_EXIT || ignoredWhileRunning(id));
}

// Runs a command by id; false when the id is not a command of this window.
bool runCommand(int id, HWND sender) {
  if (app.running && ignoredWhileRunning(id)) return true;
  if (changesTheChoice(id)) forgetLostController();
  switch (id) {
    case IDC_ABOUT:  // the owner disabled, Windows leaves the focus nowhere: it is kept across
      saveFocus();
      showAboutDialog();
      restoreFocus();
      return true;
    case IDC_EXIT:
      DestroyWindow(app.mainWindow);
      return true;
    case IDC_REFRESH:
      showStatus(L"");  // what a Start that could not start said
      refreshDevices();
      return true;
    case IDC_DEVICE_LIST:
      selectDevice(sender);
      return true;
    case IDC_START_STOP:
      toggleStartStop();
      return true;
    case IDC_AXIS_LIST:
      selectAxis(sender);
      return true;
    case IDC_INVERT:
      app.inverted = isChecked(app.invertCheckBox);
      return true;
    case IDC_SAVE:
      saveSettings();
      return true;
    case IDC_COCKPIT:
      chooseCamera(app.cockpitCamera, app.cockpitCheckBox);
      return true;
    case IDC_EXTERNAL:
      chooseCamera(app.chaseCamera, app.externalCheckBox);
      return true;
    case IDC_CURVES_ENABLE:
      enableCurves();
      return true;
    case IDC_CURVES_RESET:
      resetCurve();
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (isList(LOWORD(wParam)) && !listChoiceSettled(LOWORD(wParam), HIWORD(wParam))) return 0;
      if (runCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
      break;
    case WM_PAINT:
      paintDisplays(window);
      return 0;
    case WM_TIMER:
      if (wParam == comebackTimerId) lookForAwaitedController();
      if (wParam != comebackTimerId && pumpTick()) controllerLost();
      return 0;
    case WM_ACTIVATE:
      keepFocus(wParam);
      return 0;
    case WM_DESTROY:
      shutDown();
      return 0;
    case WM_NCDESTROY:
      releaseWindowResources();
      releaseDisplayResources();
      break;
    case WM_SYSCOLORCHANGE:  // the common controls hear of it only from their parent
      SendMessageW(app.statusBar, WM_SYSCOLORCHANGE, wParam, lParam);
      useDisplayColours();
      return 0;
    case WM_SETTINGCHANGE:
      systemSettingChanged(static_cast<UINT>(wParam));
      return 0;
    case WM_DPICHANGED:
      changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETDPISCALEDSIZE:
      *reinterpret_cast<SIZE*>(lParam) = windowSizeForDpi(static_cast<int>(wParam));
      return TRUE;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) curveEditorDragEnds();  // Win+D and Win+M release no button
      windowSized(wParam);
      return 0;
    // Minimizing takes the focus away before the deactivation that would note it.
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) saveFocus();
      break;
    // The labels and check boxes on the window's own background, whatever the theme gives the button face.
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_MENU));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU));
    // Signed positions: while a drag holds the capture the pointer may be left of or above the window.
    case WM_MOUSEMOVE:
      curveEditorMouseMove(GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      curveEditorButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      curveEditorButtonUp();
      return 0;
    // Sent to every top-level window when a device comes or goes.
    case WM_DEVICECHANGE:
      if (wParam == DBT_DEVNODES_CHANGED) deviceNodesChanged();
      return TRUE;
    // Left to the default, the class's arrow would replace the hand at every move.
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != window) break;
      showEditorCursor();
      return TRUE;
    case WM_CAPTURECHANGED:
      curveEditorCaptureLost(reinterpret_cast<HWND>(lParam));
      return 0;
    // A dialog manager may name the control that an arrow key leads to (within its group) rather than focus it.
    case WM_NEXTDLGCTL:
      if (LOWORD(lParam) != 0 && IsChild(window, reinterpret_cast<HWND>(wParam)))
        SetFocus(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_CANCELMODE:  // a system dialog or the task switcher takes the mouse
      curveEditorDragEnds();
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
