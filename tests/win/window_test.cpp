// The program's main window: its layout by its invariants, painting, the curve editor and shut-down.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <sddl.h>

#include "app/about_dialog.h"
#include "app/message_loop.h"
#include "app/one_copy.h"
#include "app/zoom_pump.h"
#include "bench/gdi_objects.h"
#include "core/editor_geometry.h"
#include "core/layout.h"
#include "curve/curve_editor.h"
#include "curve/response_curve.h"
#include "win/win_test_support.h"

namespace {
const std::string stick = deviceLine(1, "Alpha Stick") + "axis Slider 6 0.5 Throttle\n";
constexpr COLORREF black = RGB(0, 0, 0), marker = RGB(0, 143, 0), white = RGB(255, 255, 255);
int announced = 0;

RECT placeOf(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, app.mainWindow, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The cursor the window sets with the pointer at a client position.
HCURSOR cursorAt(int x, int y) {
  POINT pointer = {x, y};
  ClientToScreen(app.mainWindow, &pointer);
  SetCursorPos(pointer.x, pointer.y);
  SendMessageW(app.mainWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(app.mainWindow),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

void mouse(UINT message, int x, int y) {
  SendMessageW(app.mainWindow, message, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// The value the tooltip shows beside a point, or "hidden"; shown without its tracking, it has no size.
std::wstring valueShown() {
  RECT box = {};
  GetWindowRect(app.valueTip, &box);
  return IsWindowVisible(app.valueTip) && !IsRectEmpty(&box) ? windowText(app.valueTip) : L"hidden";
}

// What a pixel of the window or of the editor's back buffer shows.
char seen(HDC dc, int x, int y) {
  const COLORREF pixel = GetPixel(dc, x, y);
  return pixel == black ? 'k' : pixel == white ? 'w' : pixel == marker ? 'm' : pixel == RGB(0, 255, 0) ? 'g' : '.';
}
}  // namespace

TEST(MainWindow, ControlsStandInOrderWithTheirIdsInsideTheWindowAndApart) {
  ASSERT_TRUE(createProgramWindow(stick));
  click(app.curvesCheckBox);  // the editor is in the arrows' way only while it is on
  RECT client = {}, overlap = {};
  GetClientRect(app.mainWindow, &client);
  std::vector<RECT> places;
  std::wstring children;
  for (HWND child = GetWindow(app.mainWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    HWND next = GetNextDlgGroupItem(app.mainWindow, child, FALSE);  // where Windows' dialog manager takes Down
    children += std::to_wstring(id) + (id == 111 || id == 114 ? L"" : L" " + windowText(child)) +
                (next != child ? L">" + std::to_wstring(GetDlgCtrlID(next)) : L"") + L"|";
    const RECT place = placeOf(child), display = id == IDC_CURVE_EDITOR ? app.curveArea : app.levelBar;
    const bool drawn = id == IDC_CURVE_EDITOR || id == IDC_LEVEL_BAR;  // by the main window, in its font
    EXPECT_TRUE(drawn ? EqualRect(&place, &display)
                      : SendMessageW(child, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(app.messageFont))
        << id;
    EXPECT_TRUE(IntersectRect(&overlap, &place, &client) && EqualRect(&overlap, &place)) << id << " inside";
    for (const RECT& other : places) EXPECT_FALSE(IntersectRect(&overlap, &place, &other)) << id;
    places.push_back(place);
  }
  EXPECT_EQ(children,
            L"0 Device:|111|110 Refresh|0 Axis:|114|115 Invert|0 Curves:|125 Response curve, point 1 of 6, 0 %|"
            L"121 Enable|122 Reset|126 Zoom 0 %|112 Start|0 Camera:|118 Cockpit>119|119 External>118|116 Save|"
            L"104 About|105 Exit|117 |")
      << "the arrows move the focus between the camera boxes only, never to a label or the level bar";
}

TEST(MainWindow, EditorAndPaintShowTheCurveItsMarkersTheLevelAndTheInputLine) {
  ASSERT_TRUE(createProgramWindow(stick));
  HDC dc = GetDC(app.mainWindow);
  const RECT& bar = app.levelBar;
  const int inside = bar.right - bar.left - 2, row = (bar.top + bar.bottom) / 2, middle = (bar.left + bar.right) / 2;
  std::string painted;
  for (const auto& [level, running, curves] :
       {std::tuple{0, false, false}, {50, true, false}, {100, false, true}, {100, true, true}}) {
    app.outputPercent = level;
    app.running = running;
    app.curvesEnabled = curves;
    app.inputPercent = 50;
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
    // The bar's first and last inner columns and those at both sides of its middle, then the input line.
    for (int x : {bar.left + 1, bar.left + inside / 2, bar.left + inside / 2 + 1, bar.right - 2})
      painted += seen(dc, x, row);
    painted += std::string(1, seen(dc, middle, app.curveArea.top + 10)) + " ";
    EXPECT_EQ(GetPixel(dc, bar.left, row), RGB(128, 128, 128)) << "the bar's grey frame";
  }
  EXPECT_EQ(painted, "wwww. ggww. gggg. ggggk ");
  app.running = false;
  ReleaseDC(app.mainWindow, dc);
  const int w = app.curveArea.right - app.curveArea.left;
  HDC buffer = app.curveBuffer.dc;
  // The inset diagonal near both ends and in the middle, the background, the bands at both sides, the corner
  // markers, the frame's colour.
  std::string drawn = {seen(buffer, 6, 95),    seen(buffer, w / 2, 50), seen(buffer, w - 6, 4), seen(buffer, w / 2, 80),
                       seen(buffer, 3, 50),    seen(buffer, w - 4, 50), seen(buffer, 1, 92),    seen(buffer, 1, 91),
                       seen(buffer, w - 2, 7), seen(buffer, w - 2, 8)};
  EXPECT_EQ(drawn, "kkk...m.m.");
  EXPECT_TRUE(GetPixel(buffer, w / 2, 80) == RGB(192, 192, 192) && GetPixel(buffer, 20, 0) == RGB(128, 128, 255));
  app.curvesEnabled = true;
  drawCurveEditor();
  EXPECT_EQ(seen(buffer, w / 2, 30), 'w') << "white while curves are on";
}

TEST(MainWindow, DraggingHoldsTheCaptureAndStaysWithinTheEditor) {
  ASSERT_TRUE(createProgramWindow(stick));
  const PixelRect area = {app.curveArea.left, app.curveArea.top, app.curveArea.right, app.curveArea.bottom};
  const PointPosition second = pointClientPosition(area, 2, 6, 40);
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  mouse(WM_LBUTTONDOWN, second.x, second.y);
  EXPECT_TRUE(app.dragPoint == -1 && cursorAt(second.x, second.y) == arrow)
      << "curves are off: the mouse changes nothing";
  click(app.curvesCheckBox);
  EXPECT_TRUE(cursorAt(second.x + 9, second.y - 9) == app.handCursor && cursorAt(second.x + 10, second.y) == arrow &&
              IsWindowEnabled(app.resetButton))
      << "the hand over a point, less than 10 pixels from it, and the arrow elsewhere";
  // A drag ends at the release, at a minimize with the button held, when the capture goes elsewhere (a release over
  // another program), or at cancel mode: the later moves, which Wine sends a minimized window, move nothing.
  HWND elsewhere = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  for (int ending = 0; ending < 4; ++ending) {
    SendMessageW(app.curveEditor, WM_KEYDOWN, VK_UP, 0);  // a key's value shows for a moment, but not over a drag's
    const PointPosition point = pointClientPosition(area, 2, 6, app.curveValues[2]);
    mouse(WM_LBUTTONDOWN, point.x + 9, point.y - 9);
    mouse(WM_MOUSEMOVE, point.x, point.y - 10);
    SendMessageW(app.curveEditor, WM_TIMER, IDT_VALUE_TIP, 0);
    const std::wstring moved = std::to_wstring(app.curveValues[2]) + L" %";
    EXPECT_TRUE(GetCapture() == app.mainWindow && valueShown() == moved) << ending << ": the value shows, every time";
    if (ending == 0) mouse(WM_LBUTTONUP, 0, 0);
    if (ending == 1) ShowWindow(app.mainWindow, SW_MINIMIZE);
    if (ending == 2) SetCapture(elsewhere);
    if (ending == 3) SendMessageW(app.mainWindow, WM_CANCELMODE, 0, 0);
    mouse(WM_MOUSEMOVE, 0, -3000);
    mouse(WM_LBUTTONUP, 0, -3000);
    ShowWindow(app.mainWindow, SW_RESTORE);
    ShowWindow(app.valueTip, SW_SHOWNOACTIVATE);  // as a restore may show the owned popup again, untracked
    EXPECT_TRUE(app.dragPoint == -1 && std::to_wstring(app.curveValues[2]) + L" %" == moved) << ending;
  }
  routeCommand(IDC_CURVES_RESET);
  EXPECT_TRUE(app.curveValues == (std::vector<int>{0, 20, 40, 60, 80, 100}) && applyResponseCurve(40) == 40)
      << "Reset: the straight line, in the spline too";
  // By keys, through the loop's dialog handling: the first point chosen on focus, each move at once in the spline,
  // its value in the tooltip, the name announced.
  const HWINEVENTHOOK names = SetWinEventHook(
      EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
      [](HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) { announced += window == app.curveEditor; },
      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  SetFocus(app.resetButton);
  SetFocus(app.curveEditor);
  const auto press = [](std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) {
      MSG message = {app.curveEditor, WM_KEYDOWN, key, 0, 0, {}};
      processMessage(message, nullptr);
    }
    pumpMessages();
    return std::to_wstring(applyResponseCurve(40)) + L" " + valueShown() + L" " +
           std::to_wstring(std::exchange(announced, 0));
  };
  // Announced: the focus's first point, each new point and each new height, not a move that changes nothing.
  EXPECT_EQ(press({VK_RIGHT, VK_RIGHT, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP}), L"45 45 % 8");
  EXPECT_EQ(windowText(app.curveEditor), L"Response curve, point 3 of 6, 45 %");
  SetFocus(nullptr);  // away from the window, as About takes it, and back: the same point
  SetFocus(app.curveEditor);
  EXPECT_EQ(press({VK_PRIOR, VK_PRIOR, VK_PRIOR, VK_PRIOR, VK_PRIOR, VK_PRIOR, VK_NEXT}), L"90 90 % 7");
  EXPECT_EQ(press({VK_LEFT, VK_LEFT, VK_LEFT, VK_DOWN, VK_NEXT}), L"90 0 % 2") << "the first point, held at 0";
  SendMessageW(app.curveEditor, WM_TIMER, IDT_VALUE_TIP, 0);
  EXPECT_EQ(press({}), L"90 hidden 0") << "a moment after the last key";
  UnhookWinEvent(names);
  click(app.curvesCheckBox);
  EXPECT_TRUE(!IsWindowEnabled(app.curveEditor) && press({VK_UP}) == L"90 hidden 0") << "curves off: no keys";
}

// Windows takes the focus from a window it disables (the owner of About) and from one it minimizes, before the
// deactivation that would note it; Wine leaves it be. The test takes it away as Windows does.
HHOOK focusTaker = nullptr;
LRESULT CALLBACK takeFocusAtDisable(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (sent->message == WM_ENABLE && sent->hwnd == app.mainWindow && sent->wParam == FALSE) SetFocus(nullptr);
  return CallNextHookEx(focusTaker, code, wParam, lParam);
}

TEST(MainWindow, TabGoesRoundEnterPressesAFocusedButtonOrStartsAndTheFocusStaysWhereItWas) {
  ASSERT_TRUE(createProgramWindow(stick));
  const HACCEL shortcuts = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_SHORTCUTS));
  const auto press = [shortcuts](WPARAM key) {
    MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    processMessage(message, shortcuts);
  };
  click(app.curvesCheckBox);  // Reset takes the focus only while curves are on
  std::wstring visited;
  for (int control = 0; control < 14; ++control, press(VK_TAB))
    visited += std::to_wstring(GetDlgCtrlID(GetFocus())) + L" ";
  EXPECT_EQ(visited, L"111 110 114 115 125 121 122 112 118 119 116 104 105 111 ") << "from the device list round to it";
  SetFocus(app.levelBarView);
  SendMessageW(app.levelBarView, WM_KEYDOWN, VK_UP, 0);
  EXPECT_TRUE(GetFocus() == app.refreshButton && app.curveValues[0] == 0) << "the level bar gives the focus back";
  SetFocus(GetDlgItem(app.mainWindow, IDC_SAVE));
  press(VK_RETURN);
  EXPECT_TRUE(!app.running && std::filesystem::exists(settingsFilePath())) << "Enter on Save saves, starts nothing";
  SetFocus(app.cockpitCheckBox);
  press(VK_DOWN);  // to External, the other of its group
  HWND other =
      CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  SetActiveWindow(app.mainWindow);
  EXPECT_EQ(GetFocus(), app.externalCheckBox) << "back where it was";
  DestroyWindow(other);
  press(VK_RETURN);
  EXPECT_TRUE(app.running && GetFocus() == app.externalCheckBox) << "Enter on a check box starts";
  press(VK_RETURN);
  SetFocus(app.invertCheckBox);
  SendMessageW(app.mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  SetFocus(nullptr);
  ShowWindow(app.mainWindow, SW_RESTORE);
  EXPECT_EQ(GetFocus(), app.invertCheckBox) << "minimized and restored";
  SetFocus(app.deviceList);
  focusTaker = SetWindowsHookExW(WH_CALLWNDPROC, takeFocusAtDisable, nullptr, GetCurrentThreadId());
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndDialog(FindWindowW(nullptr, L"About Tarvelix"), IDCANCEL);
  });
  routeCommand(IDC_ABOUT);
  UnhookWindowsHookEx(focusTaker);
  EXPECT_EQ(GetFocus(), app.deviceList) << "About came and went";
  press(VK_RETURN);
  EXPECT_TRUE(app.running && GetFocus() == app.startButton) << "a list that Start locks gives the focus to Stop";
}

TEST(MainWindow, AnotherScaleLaysTheWindowOutAgainFromItsFontEvenWhileMinimizedAndLeaksNothing) {
  ASSERT_TRUE(createProgramWindow(stick));
  routeCommand(IDC_START_STOP);
  // As Windows does: the size at the new DPI asked first, then the change with a rectangle of that size.
  const auto changeTo = [](int dpi) {
    SIZE size = {dpi * 5, dpi * 4};
    EXPECT_TRUE(SendMessageW(app.mainWindow, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)));
    RECT suggested = {30, 40, 30 + size.cx, 40 + size.cy};
    SendMessageW(app.mainWindow, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  };
  changeTo(192);
  changeTo(96);
  const long objects = gdiObjectCount();
  for (int change = 0; change < 100; ++change) changeTo(change % 2 == 0 ? 192 : 96);
  EXPECT_EQ(gdiObjectCount(), objects);
  // Then "Make text bigger": the message font set as Windows sets it for every program (here in this process only,
  // as Wine keeps each process's metrics), then its notice.
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  NONCLIENTMETRICSW before = metrics;
  metrics.lfMessageFont.lfHeight = metrics.lfMessageFont.lfHeight * 3 / 2;
  int lastFont = 0;
  for (const int minimized : {0, 1, 2}) {
    if (minimized == 1) ShowWindow(app.mainWindow, SW_MINIMIZE);
    if (minimized < 2) changeTo(minimized ? 144 : 192);
    if (minimized == 1) ShowWindow(app.mainWindow, SW_RESTORE);
    if (minimized == 2 && SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      SendMessageW(app.mainWindow, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    HDC dc = GetDC(app.mainWindow);
    SelectObject(dc, app.messageFont);
    TEXTMETRICW font = {};
    GetTextMetricsW(dc, &font);
    ReleaseDC(app.mainWindow, dc);
    RECT client = {}, frame = {};
    GetClientRect(app.mainWindow, &client);
    GetWindowRect(app.mainWindow, &frame);
    const MainLayout layout = computeMainLayout(font.tmHeight, client.right, client.bottom, app.dpi);
    EXPECT_TRUE(frame.left == 30 && frame.top == 40 && frame.right - frame.left == 30 * font.tmHeight &&
                frame.bottom - frame.top == 25 * font.tmHeight && font.tmHeight > 20 &&
                (minimized < 2 || font.tmHeight > lastFont))
        << minimized << ": " << font.tmHeight << " " << frame.right - frame.left;
    lastFont = font.tmHeight;
    EXPECT_EQ(app.curveArea.bottom - app.curveArea.top, minimized ? 150 : 200);
    HWND child = GetWindow(app.mainWindow, GW_CHILD);
    for (const ControlBox& box : layout.controls) {
      const RECT place = placeOf(child);
      EXPECT_TRUE(place.left == box.x && place.top == box.y && place.right - place.left == box.width)
          << minimized << ": " << GetDlgCtrlID(child) << " at " << place.left << "," << place.top;
      const bool drawn = child == app.curveEditor || child == app.levelBarView;
      EXPECT_TRUE(drawn || SendMessageW(child, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(app.messageFont));
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_TRUE(app.running && app.curveArea.left == layout.curveArea.left);
    // At 150 % and 200 % the curve is drawn 2 pixels wide: 1 wide, the straight line has about 1.3 a column.
    int drawn = 0;
    const int columns = app.curveArea.right - app.curveArea.left;
    for (int x = 0; x < columns; ++x)
      for (int y = 0; y < app.curveArea.bottom - app.curveArea.top; ++y)
        drawn += GetPixel(app.curveBuffer.dc, x, y) == black;
    EXPECT_GT(drawn, 3 * columns / 2) << drawn << " of " << columns << " columns";
  }
  SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof before, &before, 0);
}

// The pages opened, through the function the About dialog calls.
extern "C" HINSTANCE(WINAPI* __imp_ShellExecuteW)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
std::wstring pagesOpened;
bool fontKept = false;

TEST(Desktop, OnePagePerActivationAndOneCopyEvenBesideAnAdministratorsCopy) {
  __imp_ShellExecuteW = [](HWND, LPCWSTR, LPCWSTR page, LPCWSTR, LPCWSTR, INT) {
    return pagesOpened += std::wstring(page) + L" ", reinterpret_cast<HINSTANCE>(33);
  };
  ASSERT_TRUE(createProgramWindow(stick));
  NMHDR click = {nullptr, IDC_ABOUT_LINK, static_cast<UINT>(NM_CLICK)};  // a double-click tells of both its clicks
  for (int half : {1, 2}) aboutDialogProcedure(nullptr, WM_NOTIFY, half, reinterpret_cast<LPARAM>(&click));
  Sleep(GetDoubleClickTime() + 100);
  // Later, in About's loop: a new scale for the main window, whose font About no longer holds; Tab from OK and
  // Enter, which the link hears only with the focus; Escape.
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND link = GetDlgItem(FindWindowW(nullptr, L"About Tarvelix"), IDC_ABOUT_LINK);
    RECT suggested = {0, 0, 720, 600};
    SendMessageW(app.mainWindow, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    fontKept = GetObjectType(reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0))) == OBJ_FONT;
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) PostMessageW(link, WM_KEYDOWN, key, 0);
  });
  routeCommand(IDC_ABOUT);
  aboutDialogProcedure(nullptr, WM_COMMAND, MAKEWPARAM(IDC_DONATE, BN_CLICKED), 0);
  const std::wstring site = L"https://github.com/tarvelix/tarvelix ";
  EXPECT_EQ(pagesOpened, site + site + L"https://github.com/tarvelix/tarvelix#donate ") << "a double-click, Enter";
  EXPECT_TRUE(fontKept) << "About keeps a font through a new scale";
  // An elevated first copy's mutex, on which a normal copy may only wait.
  PSECURITY_DESCRIPTOR onlyWait = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1,
                                                                   &onlyWait, nullptr));
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, onlyWait, FALSE};
  const HANDLE elevated = CreateMutexW(&attributes, FALSE, L"Local\\Tarvelix.OneCopy");
  ShowWindow(app.mainWindow, SW_MINIMIZE);
  EXPECT_TRUE(anotherCopyRuns()) << "another copy runs";
  pumpMessages();
  EXPECT_FALSE(IsIconic(app.mainWindow)) << "and comes forward";
  CloseHandle(elevated);
  LocalFree(onlyWait);
  EXPECT_FALSE(anotherCopyRuns()) << "the first copy";
  EXPECT_TRUE(anotherCopyRuns()) << "a second one";
}

// The program calls GetDC and ReleaseDC through the import table of the test program it is linked into.
extern "C" HDC(WINAPI* __imp_GetDC)(HWND);
extern "C" int(WINAPI* __imp_ReleaseDC)(HWND, HDC);
int dcsHeld = 0;

TEST(ShutDown, BothWaysOutLetGoOfTheControllerAndLeaveNothingOfTheWindow) {
  static decltype(__imp_GetDC) getDc = std::exchange(__imp_GetDC, [](HWND window) { return ++dcsHeld, getDc(window); });
  static decltype(__imp_ReleaseDC) releaseDc =
      std::exchange(__imp_ReleaseDC, [](HWND window, HDC dc) { return --dcsHeld, releaseDc(window, dc); });
  for (const bool closeButton : {false, true}) {
    ASSERT_TRUE(createProgramWindow(stick));
    const CurveBuffer buffer = app.curveBuffer;
    const HFONT font = app.messageFont;
    routeCommand(IDC_START_STOP);
    for (int i = 0; i < 2; ++i) SendMessageW(app.mainWindow, WM_TIMER, pumpTimerId, 0);  // the first acquires the stick
    ASSERT_TRUE(app.outputPercent == 50 && app.simHandle != nullptr);
    if (closeButton) SendMessageW(app.mainWindow, WM_CLOSE, 0, 0);
    if (!closeButton) routeCommand(IDC_EXIT);
    EXPECT_TRUE(!IsWindow(app.mainWindow) && app.simHandle == nullptr) << closeButton << ": the link is closed";
    for (int kind : {0, 1, 2, 3}) EXPECT_EQ(liveObjects(kind), 0) << kind << ": 3, released while still acquired";
    EXPECT_TRUE(GetObjectType(buffer.dc) == 0 && GetObjectType(buffer.bitmap) == 0 && GetObjectType(font) == 0);
    EXPECT_EQ(dcsHeld, 0) << "every window DC is released";
  }
}
