// The one process-wide state record that every procedure of the program shares.
#pragma once

#include <windows.h>

#include <dinput.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/display_colours.h"
#include "core/sim_link_state.h"
#include "core/spline.h"

// The back buffer of the curve editor: a memory DC with its bitmap selected into it.
struct CurveBuffer {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
};

struct AppState {
  // Identity and windows
  HINSTANCE instanceHandle = nullptr;
  wchar_t appTitle[100] = {};
  wchar_t windowClassName[100] = {};
  HWND mainWindow = nullptr;
  HWND statusBar = nullptr;
  HWND deviceList = nullptr;
  HWND axisList = nullptr;
  HWND refreshButton = nullptr;
  HWND invertCheckBox = nullptr;
  HWND curvesCheckBox = nullptr;
  HWND resetButton = nullptr;
  HWND startButton = nullptr;
  HWND cockpitCheckBox = nullptr;
  HWND externalCheckBox = nullptr;
  // The curve editor's and the level bar's windows: the focus, the keys and the names that a screen reader
  // reads; the main window paints them and takes their mouse.
  HWND curveEditor = nullptr;
  HWND levelBarView = nullptr;
  // The tooltip that shows a moving point's value, and whether it tracks one: its visibility does not tell, as a
  // restore shows the owned popup again without its tracking.
  HWND valueTip = nullptr;
  bool valueTipTracking = false;
  HCURSOR handCursor = nullptr;
  CurveBuffer curveBuffer;
  // The control that held the focus when it was last saved: at deactivation, before a minimize or About.
  HWND focusedControl = nullptr;
  // The system's message font, which the layout is measured from and every control shows.
  HFONT messageFont = nullptr;
  // About's copy of it, which lives as long as the dialog, and when the About link last opened the site (the
  // message time).
  HFONT aboutFont = nullptr;
  std::optional<DWORD> siteOpenedAt;
  // The window's own icons for its DPI.
  HICON smallIcon = nullptr;
  HICON largeIcon = nullptr;
  // The editor's and level bar's colours, fixed or high contrast's, and the pen of the curve and the input line,
  // as wide as the DPI makes a pixel.
  DisplayColours colours = displayColours(false, {});
  HPEN linePen = nullptr;

  // Geometry, client coordinates of the main window, laid out for the window's DPI
  int dpi = 96;
  bool minimized = false;
  // A new font or scale came while minimized: the layout waits for the restore.
  bool layoutPending = false;
  bool changingDpi = false;
  RECT curveArea = {0, 0, 0, 0};
  RECT levelBar = {0, 0, 0, 0};

  // User settings
  bool inverted = false;
  bool cockpitCamera = true;
  bool chaseCamera = true;
  bool curvesEnabled = false;
  int axisIndex = 0;
  int curvePointCount = 6;
  std::vector<int> curveValues;

  // Run-time state
  bool running = false;
  HANDLE simHandle = nullptr;
  // What the simulator has said on the open link: answered yet, and which variables it refused.
  SimLinkState simLink;
  int dragPoint = -1;
  // The point that the editor's keys move, and the point, count and height that the editor's name last told.
  int chosenPoint = 0;
  std::array<int, 3> curveNamed = {-1, -1, -1};
  // The zoom that the level bar's name last told, and the tick it was told at.
  int levelBarNamed = -1;
  int levelBarNamedTick = 0;
  bool screenReader = false;
  std::vector<CurveSegment> curveSpline;
  int inputPercent = 0;
  int outputPercent = 0;
  int tickCount = 0;

  // Game-controller input
  IDirectInput8W* directInput = nullptr;
  std::vector<IDirectInputDevice8W*> devices;
  IDirectInputDevice8W* activeDevice = nullptr;
  std::vector<DIDEVICEOBJECTINSTANCEW> axes;
  // Last position read from the selected axis, answered while another program holds the device.
  int lastAxisValue = 0;

  // The controller awaited back, lost by the pump or saved but not yet switched on: its instance and product
  // GUIDs as text, its name and the chosen axis's name (the saved one has only its instance and axis).
  bool awaitingController = false;
  std::wstring lostDevice;
  std::wstring lostProduct;
  std::wstring lostDeviceName;
  std::wstring lostAxis;
  // Looks for it still to come after the last device message.
  int looksLeft = 0;
  // Whether the pump was last started by a look, and at which tick.
  bool startedByLook = false;
  int lookStartTick = 0;
  // A camera ticked while running, or the simulator's answer, sends the current value on the next tick that reads.
  bool sendNextTick = false;
  // Set while the program itself selects a row, so that the selection is not taken for the user's.
  bool selectingRow = false;
};

extern AppState app;

// Puts a text in the status bar; empty clears it.
void showStatus(const wchar_t* text);

// What the status bar says.
std::wstring statusText();

// Marks the level bar and the curve editor for repainting, without erasing.
void invalidateDisplays();

// True while the device or the axis list has its drop-down open: the keys and the rows are the list's.
bool listDroppedDown();

// Selects a row of a combo box and sends the main window its selection command, as the user's choice does:
// WM_COMMAND with the command id and CBN_SELCHANGE, the combo box as the sender, handled before this returns.
void selectRow(HWND comboBox, int row, int commandId);
