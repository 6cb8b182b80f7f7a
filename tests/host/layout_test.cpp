// The main window's figures for the fallback font height and a common larger one.
#include <gtest/gtest.h>

#include "app/layout.h"

namespace {
struct QuantityCase {
  int fontHeight;
  int windowWidth, windowHeight;
  int labelWidth, margin, rowHeight, rowGap, middleLeft, labelOffset, halfMargin;
};

struct BoxCase {
  ControlSlot slot;
  ControlBox box;
};

void expectBoxes(const MainLayout& layout, const std::vector<BoxCase>& cases) {
  for (const BoxCase& c : cases) {
    const ControlBox& box = layout.controls[c.slot];
    EXPECT_EQ(box.x, c.box.x) << "control " << c.slot;
    EXPECT_EQ(box.y, c.box.y) << "control " << c.slot;
    EXPECT_EQ(box.width, c.box.width) << "control " << c.slot;
    EXPECT_EQ(box.height, c.box.height) << "control " << c.slot;
  }
}

void expectRect(const PixelRect& rect, const PixelRect& expected, const char* what) {
  EXPECT_EQ(rect.left, expected.left) << what;
  EXPECT_EQ(rect.top, expected.top) << what;
  EXPECT_EQ(rect.right, expected.right) << what;
  EXPECT_EQ(rect.bottom, expected.bottom) << what;
}
}  // namespace

TEST(MainLayout, QuantitiesFollowTheFontHeight) {
  const QuantityCase cases[] = {
      {10, 300, 250, 40, 6, 16, 9, 52, 3, 3},
      {16, 480, 400, 64, 10, 25, 15, 84, 4, 5},
      {9, 270, 225, 36, 5, 14, 7, 46, 2, 2},  // the gap 7.5 is truncated
      {13, 390, 325, 52, 8, 20, 12, 68, 3, 4},
  };
  for (const QuantityCase& c : cases) {
    const MainLayout layout = computeMainLayout(c.fontHeight, 400, 300);
    EXPECT_EQ(mainWindowWidth(c.fontHeight), c.windowWidth) << "H " << c.fontHeight;
    EXPECT_EQ(mainWindowHeight(c.fontHeight), c.windowHeight) << "H " << c.fontHeight;
    EXPECT_EQ(layout.labelWidth, c.labelWidth) << "H " << c.fontHeight;
    EXPECT_EQ(layout.margin, c.margin) << "H " << c.fontHeight;
    EXPECT_EQ(layout.rowHeight, c.rowHeight) << "H " << c.fontHeight;
    EXPECT_EQ(layout.rowGap, c.rowGap) << "H " << c.fontHeight;
    EXPECT_EQ(layout.middleLeft, c.middleLeft) << "H " << c.fontHeight;
    EXPECT_EQ(layout.labelOffset, c.labelOffset) << "H " << c.fontHeight;
    EXPECT_EQ(layout.halfMargin, c.halfMargin) << "H " << c.fontHeight;
  }
}

TEST(MainLayout, FallbackFontHeightPlacesEveryControl) {
  const MainLayout layout = computeMainLayout(10, 294, 224);
  EXPECT_EQ(layout.comboWidth, 190);
  EXPECT_EQ(layout.rightLeft, 248);
  EXPECT_EQ(layout.secondRowTop, 31);
  EXPECT_EQ(layout.curveRowTop, 56);
  EXPECT_EQ(layout.cameraRowTop, 190);
  expectRect(layout.curveArea, {52, 56, 242, 156}, "curve area");
  expectRect(layout.levelBar, {52, 165, 242, 181}, "level bar");
  expectBoxes(layout, {
                          {slotDeviceLabel, {6, 9, 40, 16}},
                          {slotDeviceList, {52, 6, 190, 90}},
                          {slotRefreshButton, {248, 6, 40, 16}},
                          {slotAxisLabel, {6, 34, 40, 16}},
                          {slotAxisList, {52, 31, 190, 90}},
                          {slotInvertCheckBox, {248, 31, 40, 16}},
                          {slotCurvesLabel, {6, 59, 40, 16}},
                          {slotCurvesCheckBox, {248, 56, 40, 16}},
                          {slotResetButton, {248, 81, 40, 16}},
                          {slotStartButton, {248, 165, 40, 16}},
                          {slotCameraLabel, {6, 193, 40, 16}},
                          {slotCockpitCheckBox, {52, 190, 40, 16}},
                          {slotExternalCheckBox, {98, 190, 44, 16}},
                          {slotExitButton, {248, 189, 40, 16}},
                          {slotAboutButton, {248, 170, 40, 16}},
                          {slotSaveButton, {202, 170, 40, 16}},
                      });
}

TEST(MainLayout, SixteenPixelFontPlacesEveryControl) {
  const MainLayout layout = computeMainLayout(16, 474, 366);
  EXPECT_EQ(layout.comboWidth, 306);
  EXPECT_EQ(layout.rightLeft, 400);
  EXPECT_EQ(layout.secondRowTop, 50);
  EXPECT_EQ(layout.curveRowTop, 90);
  EXPECT_EQ(layout.cameraRowTop, 245);
  expectRect(layout.curveArea, {84, 90, 390, 190}, "curve area");
  expectRect(layout.levelBar, {84, 205, 390, 230}, "level bar");
  expectBoxes(layout, {
                          {slotDeviceLabel, {10, 14, 64, 25}},
                          {slotDeviceList, {84, 10, 306, 144}},
                          {slotRefreshButton, {400, 10, 64, 25}},
                          {slotAxisLabel, {10, 54, 64, 25}},
                          {slotAxisList, {84, 50, 306, 144}},
                          {slotInvertCheckBox, {400, 50, 64, 25}},
                          {slotCurvesLabel, {10, 94, 64, 25}},
                          {slotCurvesCheckBox, {400, 90, 64, 25}},
                          {slotResetButton, {400, 130, 64, 25}},
                          {slotStartButton, {400, 205, 64, 25}},
                          {slotCameraLabel, {10, 249, 64, 25}},
                          {slotCockpitCheckBox, {84, 245, 64, 25}},
                          {slotExternalCheckBox, {158, 245, 70, 25}},
                          {slotExitButton, {400, 311, 64, 25}},
                          {slotAboutButton, {400, 281, 64, 25}},
                          {slotSaveButton, {326, 281, 64, 25}},
                      });
}

TEST(MainLayout, CurveEditorIsAlwaysOneHundredPixelsHigh) {
  for (int fontHeight : {6, 10, 13, 16, 24, 32}) {
    const MainLayout layout = computeMainLayout(fontHeight, mainWindowWidth(fontHeight) - 6, 200);
    EXPECT_EQ(layout.curveArea.bottom - layout.curveArea.top, 100) << "H " << fontHeight;
    EXPECT_EQ(layout.levelBar.left, layout.curveArea.left) << "H " << fontHeight;
    EXPECT_EQ(layout.levelBar.right, layout.curveArea.right) << "H " << fontHeight;
    EXPECT_EQ(layout.curveArea.left + layout.curveArea.right, layout.clientWidth) << "H " << fontHeight;
  }
}
