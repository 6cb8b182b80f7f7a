#include "curve/curve_editor.h"

#include "core/editor_geometry.h"
#include "core/spline.h"
#include "curve/response_curve.h"
#include "state/app_state.h"

namespace {
constexpr COLORREF gridColour = RGB(128, 128, 255);
constexpr COLORREF markerColour = RGB(0, 143, 0);

int areaWidth() { return app.curveArea.right - app.curveArea.left; }
int areaHeight() { return app.curveArea.bottom - app.curveArea.top; }

PixelRect areaRect() { return {app.curveArea.left, app.curveArea.top, app.curveArea.right, app.curveArea.bottom}; }

bool editorUsable() {
  return curveEditorUsable(areaWidth(), areaHeight(), app.curvePointCount, static_cast<int>(app.curveValues.size()),
                           editorScale(app.dpi));
}

// The curve area grown by one pixel on every side, repainted without erasing.
void invalidateCurveArea() {
  RECT grown = app.curveArea;
  InflateRect(&grown, 1, 1);
  InvalidateRect(app.mainWindow, &grown, FALSE);
}

void drawFrameAndGrid(HDC dc, int width, int height) {
  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, gridColour);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, width - 1, 0);
  LineTo(dc, width - 1, height - 1);
  LineTo(dc, 0, height - 1);
  LineTo(dc, 0, 0);
  const int inset = editorScale(app.dpi).inset;
  for (int k = 1; k <= 3; ++k) {
    MoveToEx(dc, inset, gridRow(height, k), nullptr);
    LineTo(dc, width - inset, gridRow(height, k));
  }
}

void drawMarkers(HDC dc, int width, int height) {
  for (int i = 0; i < app.curvePointCount; ++i) {
    const PixelRect marker =
        markerRect(i, app.curvePointCount, width, height, app.curveValues[i], editorScale(app.dpi));
    const RECT square = {marker.left, marker.top, marker.right, marker.bottom};
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, markerColour);
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

// One vertical run per column joins the midpoints to the neighbouring columns, so steep parts stay
// connected; a run that would leave the buffer is skipped and shows as a gap.
void drawCurve(HDC dc, int width, int height) {
  const int inset = editorScale(app.dpi).inset;
  double previous = curveRowAtColumn(inset);
  double current = curveRowAtColumn(inset + 1);
  for (int column = inset; column < width - inset; ++column) {
    const double next = curveRowAtColumn(column + 1);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    const ColumnRun run = curveColumnRun(previous, current, next, height);
    if (run.drawn) {
      MoveToEx(dc, column, run.high, nullptr);
      LineTo(dc, column, run.low - 1);
    }
    previous = current;
    current = next;
  }
}
}  // namespace

void createCurveBuffer(HDC windowDc) {
  app.curveBuffer.dc = CreateCompatibleDC(windowDc);
  app.curveBuffer.bitmap = CreateCompatibleBitmap(windowDc, areaWidth(), areaHeight());
  if (app.curveBuffer.dc != nullptr && app.curveBuffer.bitmap != nullptr)
    SelectObject(app.curveBuffer.dc, app.curveBuffer.bitmap);
}

void deleteCurveBuffer() {
  if (app.curveBuffer.dc != nullptr) DeleteDC(app.curveBuffer.dc);
  if (app.curveBuffer.bitmap != nullptr) DeleteObject(app.curveBuffer.bitmap);
  app.curveBuffer = {};
}

void drawCurveEditor() {
  HDC dc = app.curveBuffer.dc;
  if (dc == nullptr) return;
  const int width = areaWidth();
  const int height = areaHeight();
  const RECT whole = {0, 0, width, height};
  FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(app.curvesEnabled ? WHITE_BRUSH : LTGRAY_BRUSH)));
  drawFrameAndGrid(dc, width, height);
  // Points and curve need a spline that fits the area; without one the editor stays empty.
  if (!editorUsable() || app.curveSpline.empty()) return;
  drawMarkers(dc, width, height);
  drawCurve(dc, width, height);
}

int findControlPointAt(int x, int y) {
  return controlPointAt(areaRect(), app.curveValues, app.curvePointCount, x, y, editorScale(app.dpi));
}

void showEditorCursor() {
  POINT pointer = {};
  GetCursorPos(&pointer);
  ScreenToClient(app.mainWindow, &pointer);
  const bool onPoint = app.curvesEnabled && (app.dragPoint >= 0 || findControlPointAt(pointer.x, pointer.y) >= 0);
  SetCursor(onPoint ? app.handCursor : LoadCursorW(nullptr, IDC_ARROW));
}

// Hovering, WM_SETCURSOR has just chosen the cursor; a drag holds the capture, which gets no WM_SETCURSOR.
void curveEditorMouseMove(int y) {
  if (!app.curvesEnabled || app.dragPoint < 0) return;
  SetCursor(app.handCursor);
  if (app.dragPoint >= static_cast<int>(app.curveValues.size())) return;
  app.curveValues[app.dragPoint] = dragHeight(areaRect(), y);
  rebuildCurveSpline();
  drawCurveEditor();
  invalidateCurveArea();
}

void curveEditorButtonDown(int x, int y) {
  if (!app.curvesEnabled) return;
  const int point = findControlPointAt(x, y);
  if (point < 0) return;
  app.dragPoint = point;
  // Held until the release, wherever it happens, so that the drag always ends.
  SetCapture(app.mainWindow);
}

void curveEditorButtonUp() {
  if (GetCapture() == app.mainWindow) ReleaseCapture();
  if (!app.curvesEnabled) return;
  app.dragPoint = -1;
}

void curveEditorCaptureLost(HWND newOwner) {
  if (newOwner != app.mainWindow) app.dragPoint = -1;
}

void enableCurves() {
  const LRESULT checkState = SendMessageW(app.curvesCheckBox, BM_GETCHECK, 0, 0);
  app.curvesEnabled = checkState != 0;
  drawCurveEditor();
  invalidateCurveArea();
  EnableWindow(app.resetButton, checkState != 0);
}

void resetCurve() {
  const std::vector<int> line = straightLineHeights(app.curvePointCount);
  for (std::size_t i = 0; i < app.curveValues.size() && i < line.size(); ++i) app.curveValues[i] = line[i];
  rebuildCurveSpline();
  drawCurveEditor();
  invalidateCurveArea();
}
