// The program's main window: its layout by its invariants, commands, painting, the curve editor, shut-down.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "app/app_state.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "win/win_test_support.h"

namespace {
const std::string stick = deviceLine(1, "Alpha Stick") + "axis Slider 6 0.5 Throttle\n";
constexpr COLORREF black = RGB(0, 0, 0), marker = RGB(0, 143, 0), white = RGB(255, 255, 255);

RECT placeOf(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, app.mainWindow, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int width(const RECT& rect) { return rect.right - rect.left; }
COLORREF editorPixel(int x, int y) { return GetPixel(app.curveBuffer.dc, x, y); }

void mouse(UINT message, int x, int y) {
  SendMessageW(app.mainWindow, message, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// Where the mouse finds point i of the straight six-point line.
POINT pointOnLine(int i) {
  return {app.curveArea.left + i * (width(app.curveArea) / 5), app.curveArea.bottom - 20 * i};
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(createProgramWindow(stick)); }
};
}  // namespace

TEST_F(MainWindow, ControlsStandInOrderWithTheirIdsInsideTheWindowAndApart) {
  RECT client = {}, overlap = {}, frame = {};
  GetClientRect(app.mainWindow, &client);
  std::vector<RECT> places = {app.curveArea, app.levelBar};
  std::wstring children;
  for (HWND child = GetWindow(app.mainWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    children +=
        std::to_wstring(id) + (id == cmdDeviceList || id == cmdAxisList ? L"" : L" " + windowText(child)) + L"|";
    const RECT place = placeOf(child);
    EXPECT_TRUE(IntersectRect(&overlap, &place, &client) && EqualRect(&overlap, &place)) << id << " inside";
    for (const RECT& other : places) EXPECT_FALSE(IntersectRect(&overlap, &place, &other)) << id;
    places.push_back(place);
  }
  EXPECT_EQ(children,
            L"0 Device:|111|110 Refresh|0 Axis:|114|115 Invert|0 Curves:|121 Enable|122 Reset|112 Start|"
            L"0 Camera:|118 Cockpit|119 External|105 Exit|104 About|116 Save|117 |");
  std::wstring kept;
  for (HWND control : {app.deviceList, app.refreshButton, app.axisList, app.invertCheckBox, app.curvesCheckBox,
                       app.resetButton, app.startButton, app.cockpitCheckBox, app.externalCheckBox, app.statusBar}) {
    kept += std::to_wstring(GetDlgCtrlID(control)) + L" ";
  }
  EXPECT_EQ(kept, L"111 110 114 115 121 122 112 118 119 117 ");
  // 30H x 25H; the editor 100 high, centred under the lists; the level bar beside the Start button.
  GetWindowRect(app.mainWindow, &frame);
  EXPECT_TRUE(width(frame) % 30 == 0 && width(frame) * 25 == (frame.bottom - frame.top) * 30);
  const RECT start = placeOf(app.startButton);
  EXPECT_TRUE(app.curveArea.bottom - app.curveArea.top == 100 && app.curveArea.left == placeOf(app.deviceList).left &&
              app.curveArea.left + app.curveArea.right == client.right);
  EXPECT_TRUE(app.levelBar.top == start.top && app.levelBar.bottom == start.bottom &&
              app.levelBar.left == app.curveArea.left && app.levelBar.right == app.curveArea.right);
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
  HDC dc = GetDC(app.mainWindow);
  std::wstring painted;
  for (const auto& [level, running, curves] :
       {std::tuple{0, false, false}, {50, true, false}, {100, false, true}, {100, true, true}}) {
    app.outputPercent = level;
    app.running = running;
    app.curvesEnabled = curves;
    app.inputPercent = 50;
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
    // The bar's inside from its left, in runs of green and white, within its grey frame; the input line.
    const int row = (app.levelBar.top + app.levelBar.bottom) / 2;
    const int inside = width(app.levelBar) - 2;
    int green = 0, whites = 0;
    for (int x = app.levelBar.left + 1; x <= app.levelBar.left + inside; ++x) {
      green += GetPixel(dc, x, row) == RGB(0, 255, 0) && whites == 0;
      whites += GetPixel(dc, x, row) == white;
    }
    painted += green == 0 ? L"empty " : green == inside ? L"full " : green == inside / 2 ? L"half " : L"? ";
    painted += GetPixel(dc, app.levelBar.left, row) == RGB(128, 128, 128) ? L"framed " : L"";
    painted +=
        GetPixel(dc, app.curveArea.left + width(app.curveArea) / 2, app.curveArea.top + 10) == black ? L"line " : L"";
    painted += GetPixel(dc, app.curveArea.left + 20, app.curveArea.top) == RGB(128, 128, 255) ? L"editor|" : L"|";
    EXPECT_EQ(green + whites, inside) << "green from the left, the rest white";
  }
  EXPECT_EQ(painted, L"empty framed editor|half framed editor|full framed editor|full framed line editor|");
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
    EXPECT_TRUE(std::abs(rows.front() - ideal) <= 1.5 && std::abs(rows.back() - ideal) <= 1.5) << column;
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
  EXPECT_EQ(editorPixel(w / 2, 80), white) << "white while they are on";
  int gaps = 0;
  for (int column = 4; column < w - 4; ++column) gaps += blackRows(column).empty() ? 1 : 0;
  EXPECT_GE(gaps, 5) << "the dip below 0 between the fourth and fifth points shows as a gap";
}

TEST_F(MainWindow, DraggingHoldsTheCaptureAndStaysWithinTheEditor) {
  mouse(WM_LBUTTONDOWN, pointOnLine(2).x, pointOnLine(2).y);
  EXPECT_EQ(app.dragPoint, -1) << "curves are off: the mouse changes nothing";
  SendMessageW(app.curvesCheckBox, BM_SETCHECK, BST_CHECKED, 0);
  routeCommand(cmdCurvesEnable);
  EXPECT_TRUE(IsWindowEnabled(app.resetButton));
  mouse(WM_LBUTTONDOWN, pointOnLine(2).x + 9, pointOnLine(2).y - 9);
  ASSERT_EQ(app.dragPoint, 2);
  EXPECT_EQ(GetCapture(), app.mainWindow);
  const std::pair<int, int> moves[] = {{-3000, 100}, {app.curveArea.top + 50, 50}, {app.curveArea.bottom + 40, 0}};
  for (const auto& [y, height] : moves) {
    mouse(WM_MOUSEMOVE, 0, y);
    EXPECT_EQ(app.curveValues[2], height) << y;
  }
  mouse(WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(app.dragPoint == -1 && GetCapture() == nullptr);
  mouse(WM_MOUSEMOVE, 0, app.curveArea.top);
  EXPECT_EQ(app.curveValues[2], 0);
  mouse(WM_LBUTTONDOWN, pointOnLine(3).x, pointOnLine(3).y);
  ASSERT_EQ(app.dragPoint, 3);
  HWND other = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetCapture(other);  // as when the button is released over another program
  EXPECT_EQ(app.dragPoint, -1);
  routeCommand(cmdCurvesReset);
  EXPECT_EQ(app.curveValues, (std::vector<int>{0, 20, 40, 60, 80, 100}));
}

// The program calls GetDC and ReleaseDC through the import table of the test program it is linked into.
extern "C" HDC(WINAPI* __imp_GetDC)(HWND);
extern "C" int(WINAPI* __imp_ReleaseDC)(HWND, HDC);
int dcsHeld = 0;

TEST(ShutDown, ExitLetsGoOfTheControllerAndNothingOfTheWindowOutlivesIt) {
  static decltype(__imp_GetDC) getDc = std::exchange(__imp_GetDC, [](HWND window) { return ++dcsHeld, getDc(window); });
  static decltype(__imp_ReleaseDC) releaseDc =
      std::exchange(__imp_ReleaseDC, [](HWND window, HDC dc) { return --dcsHeld, releaseDc(window, dc); });
  ASSERT_TRUE(createProgramWindow(stick));
  const CurveBuffer buffer = app.curveBuffer;
  routeCommand(cmdStartStop);
  SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0);  // the first reading acquires the device
  ASSERT_EQ(app.outputPercent, 50);
  routeCommand(cmdExit);
  EXPECT_FALSE(IsWindow(app.mainWindow));
  EXPECT_EQ(liveObjects(3), 0) << "released while still acquired: Exit did not unacquire";
  for (int kind : {0, 1, 2}) EXPECT_EQ(liveObjects(kind), 0) << kind;
  EXPECT_TRUE(GetObjectType(buffer.dc) == 0 && GetObjectType(buffer.bitmap) == 0) << "the back buffer is deleted";
  EXPECT_EQ(dcsHeld, 0) << "every window DC is released";
}
