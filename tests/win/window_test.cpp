// The program's main window: its layout by its invariants, commands, painting, the curve editor, shut-down.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "win/win_test_support.h"

namespace {
const std::string stick = deviceLine(1, "Alpha Stick") + "axis Slider 6 0.5 Throttle\n";
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF marker = RGB(0, 143, 0);

RECT placeOf(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, app.mainWindow, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

int width(const RECT& rect) { return rect.right - rect.left; }

COLORREF editorPixel(int x, int y) { return GetPixel(app.curveBuffer.dc, x, y); }

LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// Where the mouse finds point i of a straight six-point line (height 20 i).
POINT pointOnLine(int i) {
  return {app.curveArea.left + i * (width(app.curveArea) / 5), app.curveArea.bottom - 20 * i};
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(createProgramWindow(stick)); }
  void TearDown() override { DestroyWindow(app.mainWindow); }
};
}  // namespace

TEST_F(MainWindow, ControlsStandInOrderWithTheirIdsAndNeverOverlap) {
  struct Control {
    const wchar_t* caption;  // null for the lists, which show their selection
    int id;
    HWND* kept;
  };
  const Control controls[] = {
      {L"Device:", 0, nullptr},
      {nullptr, 111, &app.deviceList},
      {L"Refresh", 110, &app.refreshButton},
      {L"Axis:", 0, nullptr},
      {nullptr, 114, &app.axisList},
      {L"Invert", 115, &app.invertCheckBox},
      {L"Curves:", 0, nullptr},
      {L"Enable", 121, &app.curvesCheckBox},
      {L"Reset", 122, &app.resetButton},
      {L"Start", 112, &app.startButton},
      {L"Camera:", 0, nullptr},
      {L"Cockpit", 118, &app.cockpitCheckBox},
      {L"External", 119, &app.externalCheckBox},
      {L"Exit", 105, nullptr},
      {L"About", 104, nullptr},
      {L"Save", 116, nullptr},
      {L"", 117, &app.statusBar},
  };
  RECT client = {};
  GetClientRect(app.mainWindow, &client);
  std::vector<RECT> places = {app.curveArea, app.levelBar};
  HWND child = GetWindow(app.mainWindow, GW_CHILD);
  for (const Control& c : controls) {
    ASSERT_NE(child, nullptr) << c.id;
    EXPECT_TRUE(c.caption == nullptr || windowText(child) == c.caption) << c.id;
    EXPECT_EQ(GetDlgCtrlID(child), c.id);
    EXPECT_TRUE(c.kept == nullptr || *c.kept == child) << c.id;
    const RECT place = placeOf(child);
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &place, &client) && EqualRect(&inside, &place)) << c.id;
    for (const RECT& other : places) EXPECT_FALSE(overlap(place, other)) << c.id;
    places.push_back(place);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
  // 30H x 25H; the editor 100 high between the middle column's edges; the Start button level with the bar.
  RECT frame = {};
  GetWindowRect(app.mainWindow, &frame);
  EXPECT_EQ(width(frame) * 25, (frame.bottom - frame.top) * 30);
  EXPECT_EQ(width(frame) % 30, 0);
  EXPECT_EQ(app.curveArea.bottom - app.curveArea.top, 100);
  EXPECT_EQ(app.curveArea.left, placeOf(app.deviceList).left);
  EXPECT_EQ(app.curveArea.left + app.curveArea.right, client.right);
  const RECT start = placeOf(app.startButton);
  EXPECT_TRUE(app.levelBar.top == start.top && app.levelBar.bottom == start.bottom);
  EXPECT_TRUE(app.levelBar.left == app.curveArea.left && app.levelBar.right == app.curveArea.right);
}

TEST_F(MainWindow, SwitchesFollowTheirCheckBoxesWhateverTheNotification) {
  const std::pair<HWND, bool*> switches[] = {{app.invertCheckBox, &app.inverted},
                                             {app.cockpitCheckBox, &app.cockpitCamera},
                                             {app.externalCheckBox, &app.chaseCamera}};
  for (const auto& [checkBox, flag] : switches) {
    for (int notification : {0, 1, 5}) {
      const bool before = *flag;
      SendMessageW(checkBox, BM_SETCHECK, before ? BST_UNCHECKED : BST_CHECKED, 0);
      EXPECT_EQ(routeCommand(GetDlgCtrlID(checkBox), notification), 0);
      EXPECT_EQ(*flag, !before) << GetDlgCtrlID(checkBox) << " " << notification;
    }
  }
}

TEST_F(MainWindow, PaintShowsTheLevelAndTheInputLineOverTheEditor) {
  struct Case {
    int level;
    bool running, curves;
    int greenColumns;  // of the bar's inside, from its left
    bool inputLine;
  };
  const int inside = width(app.levelBar) - 2;
  const Case cases[] = {{0, false, false, 0, false},
                        {50, true, false, inside / 2, false},
                        {100, false, true, inside, false},
                        {100, true, true, inside, true}};
  HDC dc = GetDC(app.mainWindow);
  const int row = (app.levelBar.top + app.levelBar.bottom) / 2;
  for (const Case& c : cases) {
    app.outputPercent = c.level;
    app.running = c.running;
    app.curvesEnabled = c.curves;
    app.inputPercent = 50;
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
    int green = 0;
    for (int x = app.levelBar.left; x < app.levelBar.right; ++x) green += GetPixel(dc, x, row) == RGB(0, 255, 0);
    EXPECT_EQ(green, c.greenColumns) << c.level;
    EXPECT_EQ(GetPixel(dc, app.levelBar.left, row), RGB(128, 128, 128));
    EXPECT_TRUE(c.greenColumns == inside ||
                GetPixel(dc, app.levelBar.left + 1 + c.greenColumns, row) == RGB(255, 255, 255));
    const COLORREF line = GetPixel(dc, app.curveArea.left + width(app.curveArea) / 2, app.curveArea.top + 10);
    EXPECT_EQ(line == black, c.inputLine) << c.level;
    EXPECT_EQ(GetPixel(dc, app.curveArea.left + 20, app.curveArea.top), RGB(128, 128, 255)) << "the editor's frame";
  }
  app.running = false;
  ReleaseDC(app.mainWindow, dc);
}

TEST_F(MainWindow, EditorDrawsTheInsetDiagonalItsEndMarkersAndGapsBelowTheBottom) {
  const int w = width(app.curveArea);
  const auto blackRows = [](int column) {
    std::vector<int> rows;
    for (int y = 0; y < 100; ++y) {
      if (editorPixel(column, y) == black) rows.push_back(y);
    }
    return rows;
  };
  for (int column = 4; column < w - 4; ++column) {
    const double ideal = 96.0 - (column - 4) * 92.0 / (w - 8);
    const std::vector<int> rows = blackRows(column);
    ASSERT_FALSE(rows.empty()) << column;
    EXPECT_LE(std::abs(rows.front() - ideal), 1.5) << column;
    EXPECT_LE(std::abs(rows.back() - ideal), 1.5) << column;
  }
  for (int column : {0, 3, w - 4, w - 1}) EXPECT_TRUE(blackRows(column).empty()) << column;
  // The first marker fills the bottom-left 8 x 8 corner, the last the top-right one.
  EXPECT_TRUE(editorPixel(1, 92) == marker && editorPixel(1, 91) != marker && editorPixel(8, 95) != marker);
  EXPECT_TRUE(editorPixel(w - 2, 7) == marker && editorPixel(w - 2, 8) != marker && editorPixel(w - 9, 3) != marker);
  EXPECT_EQ(editorPixel(w / 2, 80), RGB(192, 192, 192)) << "light grey while curves are off";

  app.curvesEnabled = true;
  app.curveValues = {0, 0, 0, 0, 0, 100};
  rebuildCurveSpline();
  drawCurveEditor();
  EXPECT_EQ(editorPixel(w / 2, 80), RGB(255, 255, 255)) << "white while curves are on";
  int gaps = 0;
  for (int column = 4; column < w - 4; ++column) gaps += blackRows(column).empty() ? 1 : 0;
  EXPECT_GE(gaps, 5) << "the dip below 0 between the fourth and fifth points shows as a gap";
}

TEST_F(MainWindow, DraggingHoldsTheCaptureAndStaysWithinTheEditor) {
  SendMessageW(app.mainWindow, WM_LBUTTONDOWN, 0, at(pointOnLine(2).x, pointOnLine(2).y));
  EXPECT_EQ(app.dragPoint, -1) << "curves are off: the mouse changes nothing";
  SendMessageW(app.curvesCheckBox, BM_SETCHECK, BST_CHECKED, 0);
  routeCommand(cmdCurvesEnable);
  EXPECT_TRUE(IsWindowEnabled(app.resetButton));
  SendMessageW(app.mainWindow, WM_LBUTTONDOWN, 0, at(pointOnLine(2).x + 9, pointOnLine(2).y - 9));
  ASSERT_EQ(app.dragPoint, 2);
  EXPECT_EQ(GetCapture(), app.mainWindow);
  const std::pair<int, int> moves[] = {{-3000, 100}, {app.curveArea.top + 50, 50}, {app.curveArea.bottom + 40, 0}};
  for (const auto& [y, height] : moves) {
    SendMessageW(app.mainWindow, WM_MOUSEMOVE, 0, at(0, y));
    EXPECT_EQ(app.curveValues[2], height) << y;
  }
  SendMessageW(app.mainWindow, WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(app.dragPoint == -1 && GetCapture() == nullptr);
  SendMessageW(app.mainWindow, WM_MOUSEMOVE, 0, at(0, app.curveArea.top));
  EXPECT_EQ(app.curveValues[2], 0);

  SendMessageW(app.mainWindow, WM_LBUTTONDOWN, 0, at(pointOnLine(3).x, pointOnLine(3).y));
  ASSERT_EQ(app.dragPoint, 3);
  HWND other = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetCapture(other);  // as when the button is released over another program
  EXPECT_EQ(app.dragPoint, -1);
  DestroyWindow(other);
  routeCommand(cmdCurvesReset);
  EXPECT_EQ(app.curveValues, (std::vector<int>{0, 20, 40, 60, 80, 100}));
}

TEST(ShutDown, ExitLetsGoOfTheControllerAndNothingOfTheWindowOutlivesIt) {
  ASSERT_TRUE(createProgramWindow(stick));
  routeCommand(cmdStartStop);
  SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0);  // the first reading acquires the device
  ASSERT_EQ(app.outputPercent, 50);
  routeCommand(cmdExit);
  EXPECT_FALSE(IsWindow(app.mainWindow));
  EXPECT_EQ(liveObjects(3), 0) << "released while still acquired: Exit did not unacquire";
  for (int kind : {0, 1, 2}) EXPECT_EQ(liveObjects(kind), 0) << kind;
  pumpMessages();
  const long gdiObjects = gdiObjectCount();
  ASSERT_GT(gdiObjects, 0);
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(createProgramWindow(stick));
    DestroyWindow(app.mainWindow);
    pumpMessages();
  }
  EXPECT_EQ(gdiObjectCount(), gdiObjects);
}
