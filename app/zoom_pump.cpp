#include "app/zoom_pump.h"

#include <utility>

#include "app/display_windows.h"
#include "app/window_focus.h"
#include "core/zoom_math.h"
#include "input/axis_reader.h"
#include "input/device_list.h"
#include "sim/sim_link.h"
#include "state/app_state.h"

namespace {
constexpr UINT pumpPeriodMs = 50;
constexpr wchar_t noControllerText[] = L"No game controller: plug one in and press Refresh";
constexpr wchar_t noAxisText[] = L"This controller has no axis";
}  // namespace

static void setCaption(HWND window, const wchar_t* text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

static void lockChoices(bool locked) {
  // The focus moves on to Stop first, also the one kept while the window is minimized.
  if (locked) moveFocusOff({app.deviceList, app.axisList, app.refreshButton}, app.startButton);
  EnableWindow(app.deviceList, !locked);
  EnableWindow(app.axisList, !locked);
  EnableWindow(app.refreshButton, !locked);
}

// Start needs a device and an axis that the reader can use.
static bool hasReadableSelection() {
  if (SendMessageW(app.deviceList, CB_GETCURSEL, 0, 0) == CB_ERR) return false;
  if (SendMessageW(app.axisList, CB_GETCURSEL, 0, 0) == CB_ERR) return false;
  return app.activeDevice != nullptr && app.axisIndex >= 0 && app.axisIndex < static_cast<int>(app.axes.size());
}

void startPump() {
  if (app.running) return;
  if (!hasReadableSelection()) {
    const bool noController = SendMessageW(app.deviceList, CB_GETCOUNT, 0, 0) <= 0 || app.activeDevice == nullptr;
    showStatus(noController ? noControllerText : noAxisText);
    return;
  }
  lockChoices(true);
  setCaption(app.startButton, L"Stop");
  SetTimer(app.mainWindow, pumpTimerId, pumpPeriodMs, nullptr);
  app.running = true;
  setAxisRange();
  openSimLink();
}

void stopPump() {
  lockChoices(false);
  setCaption(app.startButton, L"Start");
  KillTimer(app.mainWindow, pumpTimerId);
  app.running = false;
  app.outputPercent = 0;
  invalidateDisplays();
  nameLevelBar();
  if (app.simHandle != nullptr) closeSimLink();
  showStatus(L"");
}

bool pumpTick() {
  if (!app.running) return false;  // a tick already queued when the pump stopped
  app.tickCount = nextTickCount(app.tickCount);
  const bool resendTick = isTickMultiple(app.tickCount, resendPeriod);
  if (resendTick && app.simHandle == nullptr) openSimLink();
  // The simulator's answer sends the current zoom at once, even on a tick whose reading fails.
  if (listenToSim()) app.sendNextTick = true;
  const int raw = readAxis();
  // A failed reading means a lost controller, except on the ticks that let a passing failure go by.
  if (raw == noAxisValue) return !isTickMultiple(app.tickCount, readingCheckPeriod);
  if (raw == justAcquiredValue) return false;  // perhaps an empty state: the next reading is the device's own
  const ZoomReading reading =
      zoomForReading(raw, app.inverted, app.curvesEnabled, app.curveSpline, app.curvePointCount);
  app.inputPercent = reading.inputPercent;
  const int value = reading.value;
  const bool sendAnyway = std::exchange(app.sendNextTick, false);
  if (value == app.outputPercent && !resendTick && !sendAnyway) {
    nameLevelBar();  // the zoom has settled: its name catches up
    return false;
  }
  app.outputPercent = value;
  invalidateDisplays();
  nameLevelBar(false);
  if (app.simHandle != nullptr) sendZoomToSim(value);
  return false;
}
