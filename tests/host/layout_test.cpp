// The main window's layout, worked out for the fallback font height and for a 16-pixel font.
#include <gtest/gtest.h>

#include "app/layout.h"

namespace {
struct Worked {
  int fontHeight, clientWidth, clientBottom;
  int windowWidth, windowHeight, margin, rowHeight, rowGap, labelOffset, halfMargin;
  PixelRect curveArea, levelBar;
  ControlBox boxes[controlSlotCount];
};

void expectLayout(const Worked& w) {
  const MainLayout layout = computeMainLayout(w.fontHeight, w.clientWidth, w.clientBottom);
  const std::string h = "H " + std::to_string(w.fontHeight);
  EXPECT_EQ(mainWindowWidth(w.fontHeight), w.windowWidth) << h;
  EXPECT_EQ(mainWindowHeight(w.fontHeight), w.windowHeight) << h;
  EXPECT_EQ(layout.margin, w.margin) << h;
  EXPECT_EQ(layout.rowHeight, w.rowHeight) << h;
  EXPECT_EQ(layout.rowGap, w.rowGap) << h;
  EXPECT_EQ(layout.labelOffset, w.labelOffset) << h;
  EXPECT_EQ(layout.halfMargin, w.halfMargin) << h;
  for (const auto& [rect, expected] : {std::pair{layout.curveArea, w.curveArea}, {layout.levelBar, w.levelBar}}) {
    EXPECT_TRUE(rect.left == expected.left && rect.top == expected.top && rect.right == expected.right &&
                rect.bottom == expected.bottom)
        << h << " " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
  }
  for (int slot = 0; slot < controlSlotCount; ++slot) {
    const ControlBox& box = layout.controls[slot];
    const ControlBox& expected = w.boxes[slot];
    EXPECT_TRUE(box.x == expected.x && box.y == expected.y && box.width == expected.width &&
                box.height == expected.height)
        << h << " control " << slot << ": " << box.x << "," << box.y << " " << box.width << "x" << box.height;
  }
}
}  // namespace

TEST(MainLayout, FallbackFontHeightTen) {
  // Client 294 x 224 of the 300 x 250 window; boxes in creation order: labels, lists and buttons.
  expectLayout({10,
                294,
                224,
                300,
                250,
                6,
                16,
                9,
                3,
                3,
                {52, 56, 242, 156},
                {52, 165, 242, 181},
                {{6, 9, 40, 16},
                 {52, 6, 190, 90},
                 {248, 6, 40, 16},
                 {6, 34, 40, 16},
                 {52, 31, 190, 90},
                 {248, 31, 40, 16},
                 {6, 59, 40, 16},
                 {248, 56, 40, 16},
                 {248, 81, 40, 16},
                 {248, 165, 40, 16},
                 {6, 193, 40, 16},
                 {52, 190, 40, 16},
                 {98, 190, 44, 16},
                 {248, 189, 40, 16},
                 {248, 170, 40, 16},
                 {202, 170, 40, 16}}});
}

TEST(MainLayout, SixteenPixelFont) {
  expectLayout({16,
                474,
                366,
                480,
                400,
                10,
                25,
                15,
                4,
                5,
                {84, 90, 390, 190},
                {84, 205, 390, 230},
                {{10, 14, 64, 25},
                 {84, 10, 306, 144},
                 {400, 10, 64, 25},
                 {10, 54, 64, 25},
                 {84, 50, 306, 144},
                 {400, 50, 64, 25},
                 {10, 94, 64, 25},
                 {400, 90, 64, 25},
                 {400, 130, 64, 25},
                 {400, 205, 64, 25},
                 {10, 249, 64, 25},
                 {84, 245, 64, 25},
                 {158, 245, 70, 25},
                 {400, 311, 64, 25},
                 {400, 281, 64, 25},
                 {326, 281, 64, 25}}});
}
