// Where every part of the main window goes, worked out once from the height of the window's font.
#pragma once

#include "core/editor_geometry.h"

// A child control's place: top-left corner and size.
struct ControlBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The child controls in the order they are created, which is the reading order that Tab follows.
enum ControlSlot : int {
  slotDeviceLabel,
  slotDeviceList,
  slotRefreshButton,
  slotAxisLabel,
  slotAxisList,
  slotInvertCheckBox,
  slotCurvesLabel,
  slotCurveEditor,
  slotCurvesCheckBox,
  slotResetButton,
  slotLevelBar,
  slotStartButton,
  slotCameraLabel,
  slotCockpitCheckBox,
  slotExternalCheckBox,
  slotSaveButton,
  slotAboutButton,
  slotExitButton,
  controlSlotCount
};

struct MainLayout {
  int fontHeight = 0;    // H
  int clientWidth = 0;   // W
  int clientBottom = 0;  // B
  int labelWidth = 0;    // L
  int margin = 0;        // M
  int rowHeight = 0;     // R
  int rowGap = 0;        // G
  int middleLeft = 0;    // X
  int comboWidth = 0;    // CW
  int rightLeft = 0;     // RX
  int labelOffset = 0;   // LO
  int halfMargin = 0;    // M2
  int secondRowTop = 0;  // Y2
  int curveRowTop = 0;   // Y3
  int cameraRowTop = 0;  // Y5
  PixelRect curveArea;
  PixelRect levelBar;
  ControlBox controls[controlSlotCount];
};

// The outer window size that the layout is made for: 30H x 25H.
int mainWindowWidth(int fontHeight);
int mainWindowHeight(int fontHeight);

// Every quantity and rectangle for font height H, client width W and bottom B, at a DPI: the curve editor is
// 100 pixels high at 96 DPI.
MainLayout computeMainLayout(int fontHeight, int clientWidth, int clientBottom, int dpi = 96);
