#include "app/window_layout.h"

#include <vector>
#include "app/display_windows.h"

#include "core/editor_geometry.h"
#include "core/layout.h"
#include "curve/curve_editor.h"
#include "state/app_state.h"

namespace {
constexpr int fallbackFontHeight = 10;

RECT toRect(const PixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
}  // namespace

// Bitmap fonts have no outline metrics.
int measureFontHeight(HFONT font, int dpi) {
  const int fallback = scalePixels(fallbackFontHeight, dpi);
  if (font == nullptr) return fallback;
  HDC dc = GetDC(app.mainWindow);
  const HGDIOBJ previous = SelectObject(dc, font);
  const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
  std::vector<OUTLINETEXTMETRICW> buffer(size / sizeof(OUTLINETEXTMETRICW) + 1);
  const bool measured = size != 0 && GetOutlineTextMetricsW(dc, size, buffer.data()) != 0;
  SelectObject(dc, previous);
  ReleaseDC(app.mainWindow, dc);
  return measured ? buffer[0].otmTextMetrics.tmHeight : fallback;
}

void useMessageFont() {
  for (HWND child = GetWindow(app.mainWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(app.messageFont), TRUE);
  SendMessageW(app.valueTip, WM_SETFONT, reinterpret_cast<WPARAM>(app.messageFont), FALSE);
}

void sizeWindowForFont() {
  const int fontHeight = measureFontHeight(app.messageFont, app.dpi);
  SetWindowPos(app.mainWindow, nullptr, 0, 0, mainWindowWidth(fontHeight), mainWindowHeight(fontHeight),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

// The controls stand in creation order, as the layout's slots do.
void layOutControls() {
  RECT client = {};
  GetClientRect(app.mainWindow, &client);
  const MainLayout layout =
      computeMainLayout(measureFontHeight(app.messageFont, app.dpi), client.right, client.bottom, app.dpi);
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
  useDisplayColours();  // the line's width follows the DPI
  InvalidateRect(app.mainWindow, nullptr, TRUE);
}
