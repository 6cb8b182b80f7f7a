// The curve editor's back buffer read back pixel by pixel, its hit test, dragging and the two commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/app_state.h"
#include "app/window_procedure.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "curve/spline.h"
#include "win/win_test_support.h"

namespace {
constexpr int areaWidth = 190;
constexpr int areaHeight = 100;
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF lightGrey = RGB(192, 192, 192);
constexpr COLORREF gridColour = RGB(128, 128, 255);
constexpr COLORREF markerColour = RGB(0, 143, 0);

class CurveEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    if (app.mainWindow == nullptr) {
      createTestWindows();
      // The real procedure, so that mouse and capture messages reach the editor.
      SetWindowLongPtrW(app.mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindowProcedure));
      app.curvesCheckBox = CreateWindowExW(0, L"Button", L"Enable", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10,
                                           app.mainWindow, nullptr, nullptr, nullptr);
      app.resetButton = CreateWindowExW(0, L"Button", L"Reset", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, app.mainWindow,
                                        nullptr, nullptr, nullptr);
    }
    app.curveArea = {10, 10, 10 + areaWidth, 10 + areaHeight};
    HDC dc = GetDC(app.mainWindow);
    createCurveBuffer(dc);
    ReleaseDC(app.mainWindow, dc);
    setCurve({0, 20, 40, 60, 80, 100});
    app.curvesEnabled = true;
    app.dragPoint = -1;
  }
  void TearDown() override {
    if (GetCapture() != nullptr) ReleaseCapture();
    deleteCurveBuffer();
  }

  static void setCurve(const std::vector<int>& values) {
    app.curvePointCount = static_cast<int>(values.size());
    app.curveValues = values;
    rebuildCurveSpline();
  }
  static COLORREF pixel(int x, int y) { return GetPixel(app.curveBuffer.dc, x, y); }
  static std::vector<int> blackRows(int column) {
    std::vector<int> rows;
    for (int y = 0; y < areaHeight; ++y)
      if (pixel(column, y) == black) rows.push_back(y);
    return rows;
  }
  static LPARAM position(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }
  static void send(UINT message, int x, int y) { SendMessageW(app.mainWindow, message, 0, position(x, y)); }
};
}  // namespace

TEST_F(CurveEditor, DefaultCurveIsTheInsetDiagonalThroughItsMarkers) {
  drawCurveEditor();
  for (int column = 4; column < areaWidth - 4; ++column) {
    const double expected = 96.0 - ((column - 4) * 100.0 / (areaWidth - 8)) * 0.92;
    const std::vector<int> rows = blackRows(column);
    ASSERT_FALSE(rows.empty()) << "column " << column;
    // A run joins the truncated midpoints to both neighbours: within a row and a half of the line.
    EXPECT_LE(std::abs(rows.front() - expected), 1.5) << "column " << column;
    EXPECT_LE(std::abs(rows.back() - expected), 1.5) << "column " << column;
    EXPECT_LE(rows.back() - rows.front(), 1) << "column " << column;
  }
  for (int column : {0, 1, 2, 3, areaWidth - 4, areaWidth - 3, areaWidth - 2, areaWidth - 1})
    EXPECT_TRUE(blackRows(column).empty()) << "column " << column;
  for (int i = 0; i < 6; ++i) {
    const int left = (i * (areaWidth - 8)) / 5;
    const int centreRow = areaHeight - ((92 * (i * 20)) / 100 + 4);
    EXPECT_EQ(pixel(left, centreRow - 4), markerColour) << "marker " << i;
    EXPECT_EQ(pixel(left + 7, centreRow + 3), markerColour) << "marker " << i;
    EXPECT_NE(pixel(left + 8, centreRow + 3), markerColour) << "marker " << i;
    EXPECT_NE(pixel(left + 7, centreRow + 4), markerColour) << "marker " << i;
    // The last marker's centre lies in the right band, where the curve has just ended.
    const std::vector<int> rows = blackRows(std::min(left + 4, areaWidth - 5));
    ASSERT_FALSE(rows.empty()) << "marker " << i;
    EXPECT_LE(std::abs(rows.front() - centreRow), 1) << "marker " << i;
  }
}

TEST_F(CurveEditor, FrameGridAndBackgroundFollowTheSwitch) {
  struct Case {
    bool enabled;
    COLORREF background;
  };
  for (const Case c : {Case{true, white}, Case{false, lightGrey}}) {
    app.curvesEnabled = c.enabled;
    drawCurveEditor();
    EXPECT_EQ(pixel(2, 40), c.background) << "enabled " << c.enabled;
    EXPECT_EQ(pixel(100, 90), c.background) << "enabled " << c.enabled;
    // The corners under the first and last markers are left out.
    for (const POINT edge : {POINT{0, 0}, POINT{areaWidth - 1, areaHeight - 1}, POINT{90, 0}, POINT{0, 60},
                             POINT{90, areaHeight - 1}, POINT{areaWidth - 1, 50}})
      EXPECT_EQ(pixel(edge.x, edge.y), gridColour) << edge.x << ", " << edge.y;
    for (int row : {25, 50, 75}) {
      EXPECT_EQ(pixel(4, row), gridColour) << "row " << row;
      EXPECT_EQ(pixel(areaWidth - 5, row), gridColour) << "row " << row;
      EXPECT_EQ(pixel(3, row), c.background) << "row " << row;
      EXPECT_EQ(pixel(areaWidth - 4, row), c.background) << "row " << row;
      EXPECT_EQ(pixel(20, row + 1), c.background) << "row " << row;
    }
  }
}

TEST_F(CurveEditor, CurveBelowTheBottomLeavesAGap) {
  setCurve({0, 0, 0, 0, 0, 100});
  drawCurveEditor();
  const int fourthMarker = (3 * (areaWidth - 8)) / 5 + 4;
  const int fifthMarker = (4 * (areaWidth - 8)) / 5 + 4;
  int gaps = 0;
  for (int column = 4; column < areaWidth - 4; ++column) {
    if (!blackRows(column).empty()) continue;
    EXPECT_GT(curveRowAtColumn(column), areaHeight - 2.0) << "column " << column;
    EXPECT_GT(column, fourthMarker) << "column " << column;
    EXPECT_LT(column, fifthMarker) << "column " << column;
    ++gaps;
  }
  EXPECT_GE(gaps, 10);
  EXPECT_FALSE(blackRows(fifthMarker + 10).empty());
}

TEST_F(CurveEditor, HandAndHitNeedLessThanTenPixels) {
  struct Case {
    int x, y, point;
  };
  const Case cases[] = {{19, 110, 0}, {20, 110, -1}, {10, 101, 0}, {10, 100, -1}, {200, 19, 5}, {200, 20, -1}};
  for (const Case& c : cases) EXPECT_EQ(findControlPointAt(c.x, c.y), c.point) << c.x << ", " << c.y;
}

TEST_F(CurveEditor, DraggingAboveOrBelowTheAreaGivesTheLimits) {
  const int pointX = 10 + 2 * (areaWidth / 5);
  send(WM_LBUTTONDOWN, pointX, 110 - 40);
  ASSERT_EQ(app.dragPoint, 2);
  EXPECT_EQ(GetCapture(), app.mainWindow);
  struct Case {
    int y, height;
  };
  for (const Case c : {Case{-40, 100}, Case{5, 100}, Case{60, 50}, Case{500, 0}, Case{110, 0}, Case{-3000, 100}}) {
    send(WM_MOUSEMOVE, pointX + 70, c.y);
    EXPECT_EQ(app.curveValues[2], c.height) << "y " << c.y;
  }
  send(WM_MOUSEMOVE, pointX, -40);
  const int left = (2 * (areaWidth - 8)) / 5;
  EXPECT_EQ(pixel(left, 0), markerColour);  // redrawn at the top
  EXPECT_EQ(applyResponseCurve(40), 100);   // and the spline rebuilt
  send(WM_LBUTTONUP, pointX, -40);
  EXPECT_EQ(app.dragPoint, -1);
  EXPECT_EQ(GetCapture(), nullptr);
  send(WM_MOUSEMOVE, pointX, 110);
  EXPECT_EQ(app.curveValues[2], 100);
}

TEST_F(CurveEditor, LosingTheCaptureEndsTheDrag) {
  send(WM_LBUTTONDOWN, 10 + 3 * (areaWidth / 5), 110 - 60);
  ASSERT_EQ(app.dragPoint, 3);
  HWND other = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetCapture(other);  // as when the button is released over another program
  EXPECT_EQ(app.dragPoint, -1);
  ReleaseCapture();
  DestroyWindow(other);
  send(WM_MOUSEMOVE, 10 + 3 * (areaWidth / 5), 110);
  EXPECT_EQ(app.curveValues[3], 60);
}

TEST_F(CurveEditor, DisabledEditorIgnoresTheMouse) {
  app.curvesEnabled = false;
  send(WM_LBUTTONDOWN, 10, 110);
  EXPECT_EQ(app.dragPoint, -1);
  EXPECT_EQ(GetCapture(), nullptr);
  send(WM_MOUSEMOVE, 10, 10);
  EXPECT_EQ(app.curveValues[0], 0);
}

TEST_F(CurveEditor, EnableFollowsTheCheckBoxAndResetRestoresTheLine) {
  SendMessageW(app.curvesCheckBox, BM_SETCHECK, BST_UNCHECKED, 0);
  enableCurves();
  EXPECT_FALSE(app.curvesEnabled);
  EXPECT_FALSE(IsWindowEnabled(app.resetButton));
  EXPECT_EQ(pixel(2, 40), lightGrey);
  SendMessageW(app.curvesCheckBox, BM_SETCHECK, BST_CHECKED, 0);
  enableCurves();
  EXPECT_TRUE(app.curvesEnabled);
  EXPECT_TRUE(IsWindowEnabled(app.resetButton));
  EXPECT_EQ(pixel(2, 40), white);

  struct Case {
    std::vector<int> before, after;
  };
  const Case cases[] = {
      {{5, 90, 3, 100, 0, 7}, {0, 20, 40, 60, 80, 100}},
      {{9, 9, 9, 9, 9, 9, 9}, {0, 16, 33, 50, 66, 83, 100}},
      {{100, 0}, {0, 100}},
  };
  for (const Case& c : cases) {
    setCurve(c.before);
    resetCurve();
    EXPECT_EQ(app.curveValues, c.after);
    EXPECT_EQ(app.curveSpline.size(), c.after.size() - 1);
    EXPECT_EQ(applyResponseCurve(0), 0);
  }
}

TEST_F(CurveEditor, CurvesThatCannotBeDrawnLeaveAnEmptyEditor) {
  struct Case {
    int pointCount;
    std::vector<int> values;
    RECT area;
  };
  const Case cases[] = {
      {1, {50}, {10, 10, 200, 110}},
      {0, {}, {10, 10, 200, 110}},
      {102, std::vector<int>(102, 50), {10, 10, 200, 110}},
      {7, {0, 20, 40, 60, 80, 100}, {10, 10, 200, 110}},
      {6, {0, 20, 40, 60, 80, 100}, {10, 10, 18, 110}},
      {6, {0, 20, 40, 60, 80, 100}, {10, 10, 200, 18}},
  };
  for (const Case& c : cases) {
    app.curvePointCount = c.pointCount;
    app.curveValues = c.values;
    app.curveArea = c.area;
    rebuildCurveSpline();
    drawCurveEditor();
    for (int column = 0; column < areaWidth; column += 7) EXPECT_TRUE(blackRows(column).empty());
    EXPECT_EQ(findControlPointAt(c.area.left, c.area.bottom), -1);
    send(WM_LBUTTONDOWN, c.area.left, c.area.bottom);
    send(WM_MOUSEMOVE, c.area.left, c.area.top);
    send(WM_LBUTTONUP, c.area.left, c.area.top);
    resetCurve();
    EXPECT_EQ(app.dragPoint, -1);
  }
}
