#include "app/display_windows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/display_texts.h"
#include "core/editor_geometry.h"
#include "curve/curve_editor.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

const wchar_t displayClassName[] = L"TarvelixDisplay";

namespace {
void paintInputLine(HDC dc) {
  if (!app.running || !app.curvesEnabled) return;
  // On the curve's own column for that percent, as the markers stand on theirs.
  const int width = app.curveArea.right - app.curveArea.left;
  const int x = app.curveArea.left + curveColumn(app.inputPercent, 100, width, editorScale(app.dpi));
  const HGDIOBJ previous = SelectObject(dc, app.linePen != nullptr ? app.linePen : GetStockObject(BLACK_PEN));
  MoveToEx(dc, x, app.curveArea.bottom - 1, nullptr);
  LineTo(dc, x, app.curveArea.top);
  SelectObject(dc, previous);
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void paintLevelBar(HDC dc) {
  const RECT& bar = app.levelBar;
  fill(dc, bar, app.colours.field);
  SetDCBrushColor(dc, app.colours.levelFrame);
  FrameRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const int width = bar.right - bar.left;
  fill(dc, {bar.left + 1, bar.top + 1, bar.left + 1 + ((width - 2) * app.outputPercent) / 100, bar.bottom - 1},
       app.colours.level);
}

bool isHighContrast() {
  HIGHCONTRASTW contrast = {};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The focus is the editor's alone. The level bar shows none: a focus given to it goes back where it came from.
void displayFocused(HWND window, bool focused, HWND other) {
  if (window == app.curveEditor) {
    curveEditorFocused(focused, other);
    return;
  }
  const bool back = other != nullptr && IsChild(app.mainWindow, other) && IsWindowEnabled(other);
  if (focused) SetFocus(back ? other : GetNextDlgTabItem(app.mainWindow, nullptr, FALSE));
}

// The mouse goes through to the main window, which drags the points: only the keys and the focus are the editor's.
LRESULT CALLBACK displayProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_PAINT:
      paintDisplays(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:  // the level bar wants no key
      return window == app.curveEditor ? DLGC_WANTARROWS : 0;
    case WM_KEYDOWN:
      if (window == app.curveEditor && curveEditorKey(wParam)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      displayFocused(window, message == WM_SETFOCUS, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == IDT_VALUE_TIP) keyedValueExpired();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

void registerDisplayClass(HINSTANCE instance) {
  WNDCLASSEXW displayClass = {};
  displayClass.cbSize = sizeof displayClass;
  displayClass.lpfnWndProc = displayProcedure;
  displayClass.hInstance = instance;
  displayClass.lpszClassName = displayClassName;
  RegisterClassExW(&displayClass);
}

// A display window draws in the main window's coordinates, moved to its own corner.
void paintDisplays(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  POINT corner = {};
  if (window != app.mainWindow) MapWindowPoints(window, app.mainWindow, &corner, 1);
  // The first paint comes before the layout: nothing to show yet.
  if (dc != nullptr && app.curveBuffer.dc != nullptr && !IsRectEmpty(&app.levelBar)) {
    SetViewportOrgEx(dc, -corner.x, -corner.y, nullptr);
    BitBlt(dc, app.curveArea.left, app.curveArea.top, app.curveArea.right - app.curveArea.left,
           app.curveArea.bottom - app.curveArea.top, app.curveBuffer.dc, 0, 0, SRCCOPY);
    paintInputLine(dc);
    paintLevelBar(dc);
  }
  EndPaint(window, &paint);
}

void useDisplayColours() {
  const SystemColours system = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_GRAYTEXT),
                                GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_BTNFACE)};
  app.colours = displayColours(isHighContrast(), system);
  const HPEN previous = app.linePen;
  app.linePen = CreatePen(PS_SOLID, editorScale(app.dpi).lineWidth, app.colours.curve);
  drawCurveEditor();
  invalidateDisplays();
  if (previous != nullptr) DeleteObject(previous);
}

void noteScreenReader() {
  BOOL running = FALSE;
  app.screenReader = SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) != FALSE && running != FALSE;
}

// From names made once: a sending tick allocates nothing. Each new name is a round trip to the window server or
// two, and no reader keeps up with 20 a second: while the zoom moves, the name follows it every fifth tick, and
// only for a screen reader.
void nameLevelBar(bool settled) {
  static const std::vector<std::wstring> names = [] {
    std::vector<std::wstring> all;
    for (int percent = 0; percent <= 100; ++percent) all.push_back(levelBarName(percent));
    return all;
  }();
  constexpr unsigned nameTicks = 5;
  const int percent = std::clamp(app.outputPercent, 0, 100);
  const unsigned sinceNamed = static_cast<unsigned>(app.tickCount) - static_cast<unsigned>(app.levelBarNamedTick);
  if (app.levelBarView == nullptr || percent == app.levelBarNamed) return;
  if (!settled && (!app.screenReader || sinceNamed < nameTicks)) return;
  SetWindowTextW(app.levelBarView, names[static_cast<std::size_t>(percent)].c_str());
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, app.levelBarView, OBJID_CLIENT, CHILDID_SELF);
  app.levelBarNamed = percent;
  app.levelBarNamedTick = app.tickCount;
}

void releaseDisplayResources() {
  if (app.linePen != nullptr) DeleteObject(app.linePen);
  app.linePen = nullptr;
}
