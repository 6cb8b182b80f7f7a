#include "app/main_window.h"

#include <commctrl.h>

#include "app/display_windows.h"
#include "app/settings_commands.h"
#include "app/window_focus.h"
#include "app/window_layout.h"
#include "app/window_scale.h"
#include "core/layout.h"
#include "core/spline.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
constexpr DWORD mainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int firstWidth = 420;
constexpr int firstHeight = 300;
// As in a dialog box, the arrow keys move the focus within a group only: every control starts a group of its own
// but External, which shares Cockpit's. So they never lead to a label or the level bar, which show no focus.
constexpr DWORD labelStyle = SS_RIGHT | WS_GROUP;
constexpr DWORD comboStyle = CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD pushStyle = BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD checkStyle = BS_AUTOCHECKBOX | WS_TABSTOP;

struct ChildControl {
  const wchar_t* className;
  const wchar_t* caption;
  DWORD style;
  int id;
  HWND* kept;
};

// In creation order, matching the slots of the layout; Tab goes through them in this order.
const ChildControl childControls[controlSlotCount] = {
    {L"Static", L"Device:", labelStyle, 0, nullptr},
    {L"ComboBox", L"", comboStyle, IDC_DEVICE_LIST, &app.deviceList},
    {L"Button", L"Refresh", pushStyle, IDC_REFRESH, &app.refreshButton},
    {L"Static", L"Axis:", labelStyle, 0, nullptr},
    {L"ComboBox", L"", comboStyle, IDC_AXIS_LIST, &app.axisList},
    {L"Button", L"Invert", checkStyle | WS_GROUP, IDC_INVERT, &app.invertCheckBox},
    {L"Static", L"Curves:", labelStyle, 0, nullptr},
    {displayClassName, L"", WS_TABSTOP | WS_GROUP | WS_DISABLED, IDC_CURVE_EDITOR, &app.curveEditor},
    {L"Button", L"Enable", checkStyle | WS_GROUP, IDC_CURVES_ENABLE, &app.curvesCheckBox},
    {L"Button", L"Reset", pushStyle, IDC_CURVES_RESET, &app.resetButton},
    {displayClassName, L"", WS_GROUP, IDC_LEVEL_BAR, &app.levelBarView},
    {L"Button", L"Start", pushStyle, IDC_START_STOP, &app.startButton},
    {L"Static", L"Camera:", labelStyle, 0, nullptr},
    {L"Button", L"Cockpit", checkStyle | WS_GROUP, IDC_COCKPIT, &app.cockpitCheckBox},
    {L"Button", L"External", checkStyle, IDC_EXTERNAL, &app.externalCheckBox},
    {L"Button", L"Save", pushStyle, IDC_SAVE, nullptr},
    {L"Button", L"About", pushStyle, IDC_ABOUT, nullptr},
    {L"Button", L"Exit", pushStyle, IDC_EXIT, nullptr},
};

// Placed by the layout.
void createControls() {
  for (const ChildControl& child : childControls) {
    HWND control = CreateWindowExW(0, child.className, child.caption, WS_CHILD | WS_VISIBLE | child.style, 0, 0, 0, 0,
                                   app.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)),
                                   app.instanceHandle, nullptr);
    if (child.kept != nullptr) *child.kept = control;
  }
}

}  // namespace

// The image drawn for the size asked, where LoadIconW would shrink the large one for the caption and taskbar.
// The class keeps both for the life of the process.
static HICON loadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

void registerMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = loadAppIcon(instance, SM_CXICON, SM_CYICON);
  windowClass.hIconSm = loadAppIcon(instance, SM_CXSMICON, SM_CYSMICON);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
  windowClass.lpszClassName = app.windowClassName;
  RegisterClassExW(&windowClass);
  registerDisplayClass(instance);
}

bool createMainWindow(HINSTANCE instance, int showCommand) {
  app.instanceHandle = instance;
  app.mainWindow = CreateWindowExW(0, app.windowClassName, app.appTitle, mainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                   firstWidth, firstHeight, nullptr, nullptr, instance, nullptr);
  if (app.mainWindow == nullptr) return false;
  app.dpi = windowDpi();
  app.messageFont = createMessageFont(app.dpi);
  app.handCursor = LoadCursorW(nullptr, IDC_HAND);
  app.curveValues = straightLineHeights(app.curvePointCount);
  rebuildCurveSpline();
  createControls();
  createValueTip();
  noteScreenReader();
  nameLevelBar();
  app.statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | WS_GROUP, L"", app.mainWindow, IDC_STATUS_BAR);
  useMessageFont();
  useIcons(app.dpi);
  // Laid out while hidden: a window started minimized has no client area to measure.
  sizeWindowForFont();
  layOutControls();
  applyStartupSettings();
  invalidateDisplays();
  // The first focus is the device list's; after an Autostart it is Stop's, as after a Start by hand, so that a
  // first Space does not change a choice.
  app.focusedControl = app.running ? app.startButton : app.deviceList;
  ShowWindow(app.mainWindow, showCommand);
  if (GetActiveWindow() == app.mainWindow) restoreFocus();
  UpdateWindow(app.mainWindow);
  return true;
}
