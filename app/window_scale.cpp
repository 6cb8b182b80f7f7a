#include "app/window_scale.h"

#include <utility>

#include "app/window_focus.h"
#include "app/window_layout.h"
#include "core/layout.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
// Windows 10's DPI calls, looked up so that the exe still starts where they are missing.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int metricForDpi(int metric, int dpi) {
  const auto forDpi = user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(metric, static_cast<UINT>(dpi)) : GetSystemMetrics(metric);
}

HICON loadIcon(int widthMetric, int heightMetric, int dpi) {
  return static_cast<HICON>(LoadImageW(app.instanceHandle, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                       metricForDpi(widthMetric, dpi), metricForDpi(heightMetric, dpi),
                                       LR_DEFAULTCOLOR));
}

// Minimized, the window has no client area to measure: the layout waits for the restore.
void layOutOrWait() {
  app.layoutPending = IsIconic(app.mainWindow) != FALSE;
  if (!app.layoutPending) layOutControls();
}
}  // namespace

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

// The class's icons are drawn for the system's DPI; the window's own replace them and go when replaced.
void useIcons(int dpi) {
  struct Size {
    int kind, width, height;
  };
  for (const Size& size : {Size{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}, Size{ICON_BIG, SM_CXICON, SM_CYICON}}) {
    HICON& kept = size.kind == ICON_SMALL ? app.smallIcon : app.largeIcon;
    const HICON icon = loadIcon(size.width, size.height, dpi);
    SendMessageW(app.mainWindow, WM_SETICON, size.kind, reinterpret_cast<LPARAM>(icon));
    if (kept != nullptr) DestroyIcon(kept);
    kept = icon;
  }
}

SIZE windowSizeForDpi(int dpi) {
  const HFONT font = createMessageFont(dpi);
  const int fontHeight = measureFontHeight(font, dpi);
  if (font != nullptr) DeleteObject(font);
  return {mainWindowWidth(fontHeight), mainWindowHeight(fontHeight)};
}

// The suggested rectangle keeps the window under the pointer while it is dragged across monitors. Moving there
// may cross a monitor's edge once more: that second change waits for this one to end.
void changeDpi(int dpi, const RECT& suggested) {
  if (app.changingDpi) return;
  app.changingDpi = true;
  const HFONT previous = app.messageFont;
  app.dpi = dpi;
  app.messageFont = createMessageFont(dpi);
  useMessageFont();
  useIcons(dpi);
  if (!IsIconic(app.mainWindow))
    SetWindowPos(app.mainWindow, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  layOutOrWait();
  if (previous != nullptr) DeleteObject(previous);
  app.changingDpi = false;
}

// The window keeps its corner and takes the size of the new font, as at a launch with it.
void changeTextSize() {
  const HFONT font = createMessageFont(app.dpi);
  if (font == nullptr) return;
  const HFONT previous = std::exchange(app.messageFont, font);
  useMessageFont();
  if (!IsIconic(app.mainWindow)) sizeWindowForFont();
  layOutOrWait();
  if (previous != nullptr) DeleteObject(previous);
}

void windowSized(WPARAM kind) {
  if (kind == SIZE_MINIMIZED) app.minimized = true;
  if (kind != SIZE_RESTORED || !std::exchange(app.minimized, false)) return;
  if (std::exchange(app.layoutPending, false)) {
    sizeWindowForFont();
    layOutControls();
  }
  if (GetActiveWindow() == app.mainWindow) restoreFocus();
}

void releaseWindowResources() {
  if (app.messageFont != nullptr) DeleteObject(app.messageFont);
  app.messageFont = nullptr;
  for (HICON* icon : {&app.smallIcon, &app.largeIcon}) {
    if (*icon != nullptr) DestroyIcon(*icon);
    *icon = nullptr;
  }
}
