#include "app/main_window.h"

#include <commctrl.h>

#include <vector>

#include "app/settings_commands.h"
#include "core/editor_geometry.h"
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
constexpr int fallbackFontHeight = 10;
constexpr DWORD comboStyle = CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD pushStyle = BS_PUSHBUTTON | WS_TABSTOP;
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
    {L"Static", L"Device:", SS_RIGHT, 0, nullptr},
    {L"ComboBox", L"", comboStyle, IDC_DEVICE_LIST, &app.deviceList},
    {L"Button", L"Refresh", pushStyle, IDC_REFRESH, &app.refreshButton},
    {L"Static", L"Axis:", SS_RIGHT, 0, nullptr},
    {L"ComboBox", L"", comboStyle, IDC_AXIS_LIST, &app.axisList},
    {L"Button", L"Invert", checkStyle, IDC_INVERT, &app.invertCheckBox},
    {L"Static", L"Curves:", SS_RIGHT, 0, nullptr},
    {L"Button", L"Enable", checkStyle, IDC_CURVES_ENABLE, &app.curvesCheckBox},
    {L"Button", L"Reset", pushStyle, IDC_CURVES_RESET, &app.resetButton},
    {L"Button", L"Start", pushStyle, IDC_START_STOP, &app.startButton},
    {L"Static", L"Camera:", SS_RIGHT, 0, nullptr},
    {L"Button", L"Cockpit", checkStyle, IDC_COCKPIT, &app.cockpitCheckBox},
    {L"Button", L"External", checkStyle, IDC_EXTERNAL, &app.externalCheckBox},
    {L"Button", L"Save", pushStyle, IDC_SAVE, nullptr},
    {L"Button", L"About", pushStyle, IDC_ABOUT, nullptr},
    {L"Button", L"Exit", pushStyle, IDC_EXIT, nullptr},
};

// Windows 10's DPI calls, looked up so that the exe still starts where they are missing.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The window's DPI; where Windows knows none per window, the screen's.
int windowDpi() {
  const auto forWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (const UINT dpi = forWindow != nullptr ? forWindow(app.mainWindow) : 0) return static_cast<int>(dpi);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// A window DC's default font is the raster System font, which has no outline metrics and draws the captions
// large and bold: the controls and the measurement use the system's message font, at the window's DPI.
HFONT createMessageFont(int dpi) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  const auto forDpi = user32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  const BOOL got = forDpi != nullptr ? forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)
                                     : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return got ? CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
}

// The height of the message font from its outline metrics; bitmap fonts have none.
int measureMessageFontHeight() {
  const int fallback = scalePixels(fallbackFontHeight, app.dpi);
  if (app.messageFont == nullptr) return fallback;
  HDC dc = GetDC(app.mainWindow);
  const HGDIOBJ previous = SelectObject(dc, app.messageFont);
  const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
  std::vector<OUTLINETEXTMETRICW> buffer(size / sizeof(OUTLINETEXTMETRICW) + 1);
  const bool measured = size != 0 && GetOutlineTextMetricsW(dc, size, buffer.data()) != 0;
  SelectObject(dc, previous);
  ReleaseDC(app.mainWindow, dc);
  return measured ? buffer[0].otmTextMetrics.tmHeight : fallback;
}

// Every control and the status bar show the message font.
void useMessageFont() {
  for (HWND child = GetWindow(app.mainWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(app.messageFont), TRUE);
}

RECT toRect(const PixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Placed by the layout.
void createControls() {
  for (const ChildControl& child : childControls) {
    HWND control = CreateWindowExW(0, child.className, child.caption, WS_CHILD | WS_VISIBLE | child.style, 0, 0, 0, 0,
                                   app.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)),
                                   app.instanceHandle, nullptr);
    if (child.kept != nullptr) *child.kept = control;
  }
}

// Lays the window out for its message font: its size (30H x 25H), then, measured in the client area that this
// gives at the window's DPI, every control in creation order, the curve area and level bar, and the back buffer
// at the curve area's size, redrawn. The place is kept unless one is given.
void layOut(const POINT* place) {
  const int fontHeight = measureMessageFontHeight();
  SetWindowPos(app.mainWindow, nullptr, place != nullptr ? place->x : 0, place != nullptr ? place->y : 0,
               mainWindowWidth(fontHeight), mainWindowHeight(fontHeight),
               SWP_NOZORDER | SWP_NOACTIVATE | (place != nullptr ? 0 : SWP_NOMOVE));
  RECT client = {};
  GetClientRect(app.mainWindow, &client);
  const MainLayout layout = computeMainLayout(fontHeight, client.right, client.bottom, app.dpi);
  HWND control = GetWindow(app.mainWindow, GW_CHILD);
  for (const ControlBox& box : layout.controls) {
    SetWindowPos(control, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    control = GetWindow(control, GW_HWNDNEXT);
  }
  SendMessageW(app.statusBar, WM_SIZE, 0, 0);
  app.curveArea = toRect(layout.curveArea);
  app.levelBar = toRect(layout.levelBar);
  deleteCurveBuffer();
  HDC dc = GetDC(app.mainWindow);
  createCurveBuffer(dc);
  ReleaseDC(app.mainWindow, dc);
  drawCurveEditor();
}
// In place of a control since disabled, the first that takes the focus.
void restoreFocus() {
  HWND target = app.focusedControl;
  if (target == nullptr || !IsWindow(target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(app.mainWindow, nullptr, FALSE);
  SetFocus(target);
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
  app.statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", app.mainWindow, IDC_STATUS_BAR);
  useMessageFont();
  // Laid out while hidden: a window started minimized has no client area to measure.
  layOut(nullptr);
  applyStartupSettings();
  invalidateDisplays();
  // The first focus is the device list's, whatever the start-up's click on Refresh took.
  app.focusedControl = app.deviceList;
  ShowWindow(app.mainWindow, showCommand);
  if (GetActiveWindow() == app.mainWindow) restoreFocus();
  UpdateWindow(app.mainWindow);
  return true;
}

void changeDpi(int dpi, const RECT& suggested) {
  const HFONT previous = app.messageFont;
  app.dpi = dpi;
  app.messageFont = createMessageFont(dpi);
  useMessageFont();
  const POINT place = {suggested.left, suggested.top};
  layOut(&place);
  InvalidateRect(app.mainWindow, nullptr, TRUE);
  if (previous != nullptr) DeleteObject(previous);
}

// As in a dialog box, the focus leaves with the window and comes back to where it was.
void keepFocus(WPARAM activation) {
  if (LOWORD(activation) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(app.mainWindow, focus)) app.focusedControl = focus;
    return;
  }
  if (HIWORD(activation) == 0) restoreFocus();  // not while minimized
}

void releaseMessageFont() {
  if (app.messageFont != nullptr) DeleteObject(app.messageFont);
  app.messageFont = nullptr;
}
