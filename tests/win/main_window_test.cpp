// The real main window: its size from the font, every control against the layout, commands and painting.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "win/win_test_support.h"

namespace {
struct ExpectedControl {
  const wchar_t* className;
  const wchar_t* caption;
  DWORD style;
  int id;
  HWND* kept;
};

constexpr DWORD combo = CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD push = BS_PUSHBUTTON | WS_TABSTOP;
const ExpectedControl expectedControls[controlSlotCount] = {
    {L"Static", L"Device:", SS_RIGHT, 0, nullptr},
    {L"ComboBox", L"", combo, 111, &app.deviceList},
    {L"Button", L"Refresh", push, 110, &app.refreshButton},
    {L"Static", L"Axis:", SS_RIGHT, 0, nullptr},
    {L"ComboBox", L"", combo, 114, &app.axisList},
    {L"Button", L"Invert", BS_AUTOCHECKBOX, 115, &app.invertCheckBox},
    {L"Static", L"Curves:", SS_RIGHT, 0, nullptr},
    {L"Button", L"Enable", BS_AUTOCHECKBOX, 121, &app.curvesCheckBox},
    {L"Button", L"Reset", push, 122, &app.resetButton},
    {L"Button", L"Start", push, 112, &app.startButton},
    {L"Static", L"Camera:", SS_RIGHT, 0, nullptr},
    {L"Button", L"Cockpit", BS_AUTOCHECKBOX, 118, &app.cockpitCheckBox},
    {L"Button", L"External", BS_AUTOCHECKBOX, 119, &app.externalCheckBox},
    {L"Button", L"Exit", push, 105, nullptr},
    {L"Button", L"About", push, 104, nullptr},
    {L"Button", L"Save", push, 116, nullptr},
};

// The font height as the text metrics tell it; 10 for a font without outline metrics.
int fontHeightOf(HWND window) {
  HDC dc = GetDC(window);
  TEXTMETRICW metrics = {};
  const bool outline = GetOutlineTextMetricsW(dc, 0, nullptr) != 0;
  const bool read = GetTextMetricsW(dc, &metrics) != 0;
  ReleaseDC(window, dc);
  return outline && read ? metrics.tmHeight : 10;
}

RECT clientRectOf(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, app.mainWindow, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring textOf(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return text;
}

std::wstring classOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

class MainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { created = createProgramWindow(); }
  static MainLayout layout() {
    RECT client = {};
    GetClientRect(app.mainWindow, &client);
    return computeMainLayout(fontHeightOf(app.mainWindow), client.right, client.bottom);
  }
  static bool created;
};
bool MainWindow::created = false;
}  // namespace

TEST_F(MainWindow, IsSizedFromItsFont) {
  ASSERT_TRUE(created);
  const int fontHeight = fontHeightOf(app.mainWindow);
  RECT window = {};
  GetWindowRect(app.mainWindow, &window);
  EXPECT_EQ(window.right - window.left, 30 * fontHeight);
  EXPECT_EQ(window.bottom - window.top, 25 * fontHeight);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(app.mainWindow, GWL_STYLE)) & 0x00CF0000u, 0x00CA0000u);
  EXPECT_EQ(textOf(app.mainWindow), L"Tarvelix");
  const MainLayout expected = layout();
  EXPECT_EQ(app.curveArea.left, expected.curveArea.left);
  EXPECT_EQ(app.curveArea.top, expected.curveArea.top);
  EXPECT_EQ(app.curveArea.right, expected.curveArea.right);
  EXPECT_EQ(app.curveArea.bottom, expected.curveArea.bottom);
  EXPECT_EQ(app.levelBar.top, expected.levelBar.top);
  EXPECT_EQ(app.levelBar.bottom, expected.levelBar.bottom);
  EXPECT_NE(app.curveBuffer.dc, nullptr);
  EXPECT_NE(app.handCursor, nullptr);
  EXPECT_EQ(app.curveValues.size(), static_cast<std::size_t>(app.curvePointCount));
}

TEST_F(MainWindow, ControlsStandWhereTheLayoutPutsThem) {
  ASSERT_TRUE(created);
  const MainLayout expected = layout();
  HWND child = GetWindow(app.mainWindow, GW_CHILD);
  for (int slot = 0; slot < controlSlotCount; ++slot, child = GetWindow(child, GW_HWNDNEXT)) {
    const ExpectedControl& c = expectedControls[slot];
    ASSERT_NE(child, nullptr) << "slot " << slot;
    EXPECT_EQ(_wcsicmp(classOf(child).c_str(), c.className), 0) << "slot " << slot << " " << classOf(child).c_str();
    EXPECT_EQ(textOf(child), c.caption) << "slot " << slot;
    EXPECT_EQ(GetDlgCtrlID(child), c.id) << "slot " << slot;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    // A combo box hands WS_VSCROLL on to its drop-down list.
    const DWORD own = c.className[0] == L'C' ? c.style & ~WS_VSCROLL : c.style;
    EXPECT_EQ(style & (own | WS_CHILD | WS_VISIBLE), own | WS_CHILD | WS_VISIBLE) << "slot " << slot;
    if (c.className[0] == L'B') {
      EXPECT_EQ(style & BS_TYPEMASK, c.style & BS_TYPEMASK) << "slot " << slot;
    }
    if (c.kept != nullptr) {
      EXPECT_EQ(*c.kept, child) << "slot " << slot;
    }
    const RECT rect = clientRectOf(child);
    const ControlBox& box = expected.controls[slot];
    EXPECT_EQ(rect.left, box.x) << "slot " << slot;
    EXPECT_EQ(rect.top, box.y) << "slot " << slot;
    EXPECT_EQ(rect.right - rect.left, box.width) << "slot " << slot;
    // A closed combo box is only as high as its edit field; 9H includes the list.
    if (c.className[0] != L'C') {
      EXPECT_EQ(rect.bottom - rect.top, box.height) << "slot " << slot;
    }
  }
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child, app.statusBar);
  EXPECT_EQ(_wcsicmp(classOf(child).c_str(), STATUSCLASSNAMEW), 0);
  EXPECT_EQ(GetDlgCtrlID(child), 117);
}

TEST_F(MainWindow, CheckBoxCommandsActOnTheLowWordAlone) {
  ASSERT_TRUE(created);
  struct Case {
    HWND* checkBox;
    int id;
    bool* flag;
  };
  const Case cases[] = {{&app.invertCheckBox, 115, &app.inverted},
                        {&app.cockpitCheckBox, 118, &app.cockpitCamera},
                        {&app.externalCheckBox, 119, &app.chaseCamera}};
  for (const Case& c : cases) {
    for (const WPARAM high : {0, 1, 5}) {
      const bool before = *c.flag;
      SendMessageW(*c.checkBox, BM_SETCHECK, before ? BST_UNCHECKED : BST_CHECKED, 0);
      EXPECT_EQ(SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(c.id, high), 0), 0);
      EXPECT_EQ(*c.flag, !before) << "id " << c.id << " notification " << high;
    }
  }
}

TEST_F(MainWindow, PaintShowsTheBufferAndTheLevel) {
  ASSERT_TRUE(created);
  struct Case {
    int percent;
    int greenUpTo;  // exclusive, from the bar's left + 1
  };
  const int inner = app.levelBar.right - app.levelBar.left - 2;
  const Case cases[] = {{0, 0}, {50, (inner * 50) / 100}, {100, inner}};
  const int row = (app.levelBar.top + app.levelBar.bottom) / 2;
  for (const Case& c : cases) {
    app.outputPercent = c.percent;
    invalidateDisplays();
    UpdateWindow(app.mainWindow);
    HDC dc = GetDC(app.mainWindow);
    const int left = app.levelBar.left + 1;
    EXPECT_EQ(GetPixel(dc, app.levelBar.left, row), RGB(128, 128, 128)) << c.percent;
    EXPECT_EQ(GetPixel(dc, app.levelBar.right - 1, row), RGB(128, 128, 128)) << c.percent;
    if (c.greenUpTo > 0) {
      EXPECT_EQ(GetPixel(dc, left + c.greenUpTo - 1, row), RGB(0, 255, 0)) << c.percent;
    }
    if (c.greenUpTo < inner) {
      EXPECT_EQ(GetPixel(dc, left + c.greenUpTo, row), RGB(255, 255, 255)) << c.percent;
    }
    // The curve editor's frame comes from the back buffer.
    EXPECT_EQ(GetPixel(dc, app.curveArea.left + 50, app.curveArea.top), RGB(128, 128, 255)) << c.percent;
    ReleaseDC(app.mainWindow, dc);
  }
  app.outputPercent = 0;
}
