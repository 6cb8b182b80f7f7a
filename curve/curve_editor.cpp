#include "curve/curve_editor.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <utility>

#include "core/display_texts.h"
#include "core/editor_geometry.h"
#include "core/spline.h"
#include "curve/response_curve.h"
#include "resources/resource_ids.h"
#include "state/app_state.h"

namespace {
constexpr UINT keyedTipMs = 1500;

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
  SetDCPenColor(dc, app.colours.grid);
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

void fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

RECT markerSquare(int i, int width, int height) {
  const PixelRect marker = markerRect(i, app.curvePointCount, width, height, app.curveValues[i], editorScale(app.dpi));
  return {marker.left, marker.top, marker.right, marker.bottom};
}

int chosenPoint() { return keyedPoint(app.chosenPoint, 0, app.curvePointCount); }

// With the focus the editor shows it, and which point the keys move: a ring in the curve's colour around it.
void drawMarkers(HDC dc, int width, int height) {
  for (int i = 0; i < app.curvePointCount; ++i) fill(dc, markerSquare(i, width, height), app.colours.marker);
  if (GetFocus() != app.curveEditor || app.curveEditor == nullptr) return;
  RECT ring = markerSquare(chosenPoint(), width, height);
  const int gap = 2 * editorScale(app.dpi).lineWidth;
  InflateRect(&ring, gap, gap);
  SetDCBrushColor(dc, app.colours.curve);
  FrameRect(dc, &ring, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const RECT inside = {1, 1, width - 1, height - 1};
  DrawFocusRect(dc, &inside);
}

// What a screen reader reads: the chosen point and its value, announced when they change. A redraw that changes
// neither makes no new name.
void nameCurveEditor() {
  if (app.curveEditor == nullptr || app.curveValues.size() < static_cast<std::size_t>(app.curvePointCount)) return;
  const int chosen = chosenPoint();
  const std::array<int, 3> naming = {chosen, app.curvePointCount, app.curveValues[chosen]};
  if (std::exchange(app.curveNamed, naming) == naming) return;
  SetWindowTextW(app.curveEditor, curveEditorName(chosen, app.curvePointCount, app.curveValues[chosen]).c_str());
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, app.curveEditor, OBJID_CLIENT, CHILDID_SELF);
}

TTTOOLINFOW valueTool(wchar_t* text) {
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // the size that every version of the common controls takes
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = app.mainWindow;
  tool.uId = IDC_CURVE_EDITOR;
  tool.lpszText = text;
  return tool;
}

// The value beside the point, right of its marker, as a slider shows its own while it moves.
void showValueTip(int point) {
  if (app.valueTip == nullptr) return;
  std::wstring text = percentText(app.curveValues[point]);
  TTTOOLINFOW tool = valueTool(text.data());
  SendMessageW(app.valueTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  const EditorScale scale = editorScale(app.dpi);
  const PointPosition at = pointClientPosition(areaRect(), point, app.curvePointCount, app.curveValues[point], scale);
  POINT corner = {at.x + 2 * scale.inset, at.y - scale.hitRadius};
  ClientToScreen(app.mainWindow, &corner);
  SendMessageW(app.valueTip, TTM_TRACKPOSITION, 0, MAKELPARAM(corner.x, corner.y));
  if (!std::exchange(app.valueTipTracking, true))
    SendMessageW(app.valueTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

// One point moved, by the mouse or a key: the spline, the picture and the value follow at once.
void movePoint(int point, int height) {
  app.curveValues[point] = height;
  rebuildCurveSpline();
  drawCurveEditor();
  invalidateCurveArea();
  showValueTip(point);
}

// One vertical run per column joins the midpoints to the neighbouring columns, so steep parts stay
// connected; a run that would leave the buffer is skipped and shows as a gap.
void drawCurve(HDC dc, int width, int height) {
  const int inset = editorScale(app.dpi).inset;
  double previous = curveRowAtColumn(inset);
  double current = curveRowAtColumn(inset + 1);
  // Put back after: the pen may be replaced while the buffer keeps its picture.
  const HGDIOBJ previousPen = SelectObject(dc, app.linePen != nullptr ? app.linePen : GetStockObject(BLACK_PEN));
  for (int column = inset; column < width - inset; ++column) {
    const double next = curveRowAtColumn(column + 1);
    const ColumnRun run = curveColumnRun(previous, current, next, height);
    if (run.drawn) {
      MoveToEx(dc, column, run.high, nullptr);
      LineTo(dc, column, run.low - 1);
    }
    previous = current;
    current = next;
  }
  SelectObject(dc, previousPen);
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
  SelectObject(dc, GetStockObject(DC_BRUSH));
  fill(dc, {0, 0, width, height}, app.curvesEnabled ? app.colours.field : app.colours.disabledField);
  drawFrameAndGrid(dc, width, height);
  // Points and curve need a spline that fits the area; without one the editor stays empty.
  if (!editorUsable() || app.curveSpline.empty()) return;
  drawMarkers(dc, width, height);
  drawCurve(dc, width, height);
  // Every change of the curve or of the chosen point is drawn here, so the name follows it here.
  nameCurveEditor();
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
  movePoint(app.dragPoint, dragHeight(areaRect(), y, app.curveValues[app.dragPoint], editorScale(app.dpi)));
}

// A press in the editor gives it the focus, as a click gives any control its own; on a point it chooses that point
// for the keys too.
void curveEditorButtonDown(int x, int y) {
  if (!app.curvesEnabled) return;
  const POINT pressed = {x, y};
  if (PtInRect(&app.curveArea, pressed)) SetFocus(app.curveEditor);
  const int point = findControlPointAt(x, y);
  if (point < 0) return;
  app.dragPoint = point;
  app.chosenPoint = point;
  // Held until the release, wherever it happens, so that the drag always ends.
  SetCapture(app.mainWindow);
  drawCurveEditor();
  invalidateCurveArea();
}

void curveEditorButtonUp() {
  if (GetCapture() == app.mainWindow) ReleaseCapture();
  if (!app.curvesEnabled) return;
  app.dragPoint = -1;
  hideValueTip();
}

void curveEditorCaptureLost(HWND newOwner) {
  if (newOwner == app.mainWindow) return;
  app.dragPoint = -1;
  hideValueTip();
}

// Let go of the capture, the drag ends (WM_CAPTURECHANGED) with the point where the last move put it; later moves,
// which Wine still sends to a minimized window, do nothing. A keyed value goes too.
void curveEditorDragEnds() {
  if (GetCapture() == app.mainWindow) ReleaseCapture();
  hideValueTip();
}

// Shown and hidden at once: a tooltip fading out would still count as visible.
void createValueTip() {
  constexpr DWORD style = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_NOFADE | TTS_NOANIMATE;
  app.valueTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, app.mainWindow, nullptr, app.instanceHandle, nullptr);
  wchar_t none[] = L"";
  TTTOOLINFOW tool = valueTool(none);
  if (app.valueTip != nullptr) SendMessageW(app.valueTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void hideValueTip() {
  app.valueTipTracking = false;
  if (app.curveEditor != nullptr) KillTimer(app.curveEditor, IDT_VALUE_TIP);
  wchar_t none[] = L"";
  TTTOOLINFOW tool = valueTool(none);
  if (app.valueTip != nullptr) SendMessageW(app.valueTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// A drag begun since the last key shows its own value until the button goes up.
void keyedValueExpired() {
  if (app.dragPoint < 0) hideValueTip();
  if (app.curveEditor != nullptr) KillTimer(app.curveEditor, IDT_VALUE_TIP);
}

// Reached from another control the first point is chosen; coming back to the window (after About, a minimize,
// another program) the chosen point stays. The mark and the ring come and go with the focus.
void curveEditorFocused(bool focused, HWND other) {
  if (focused && other != nullptr && IsChild(app.mainWindow, other)) app.chosenPoint = 0;
  if (!focused) hideValueTip();
  drawCurveEditor();
  invalidateCurveArea();
}

bool curveEditorKey(WPARAM key) {
  if (!app.curvesEnabled || !editorUsable()) return false;
  const int pointStep = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
  const int heightStep = key == VK_UP ? 1 : key == VK_DOWN ? -1 : key == VK_PRIOR ? 10 : key == VK_NEXT ? -10 : 0;
  if (pointStep == 0 && heightStep == 0) return false;
  app.chosenPoint = keyedPoint(chosenPoint(), pointStep, app.curvePointCount);
  movePoint(app.chosenPoint, keyedHeight(app.curveValues[app.chosenPoint], heightStep));
  // A keyed value shows a moment after the last key, then goes.
  SetTimer(app.curveEditor, IDT_VALUE_TIP, keyedTipMs, nullptr);
  return true;
}

void enableCurves() {
  const LRESULT checkState = SendMessageW(app.curvesCheckBox, BM_GETCHECK, 0, 0);
  app.curvesEnabled = checkState != 0;
  drawCurveEditor();
  invalidateCurveArea();
  EnableWindow(app.resetButton, checkState != 0);
  // Unticked, the editor does nothing: it is no tab stop, and a screen reader says it is unavailable.
  EnableWindow(app.curveEditor, checkState != 0);
}

void resetCurve() {
  const std::vector<int> line = straightLineHeights(app.curvePointCount);
  for (std::size_t i = 0; i < app.curveValues.size() && i < line.size(); ++i) app.curveValues[i] = line[i];
  rebuildCurveSpline();
  drawCurveEditor();
  invalidateCurveArea();
}
