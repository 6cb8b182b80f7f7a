// The main window's layout, worked out for the fallback font height and for a 16-pixel font.
#include <gtest/gtest.h>

#include "core/layout.h"

namespace {
// Window size, M R G LO M2, the curve area and level bar, then every control's x,y,w,h in creation order.
std::string describe(int fontHeight, int clientWidth, int clientBottom) {
  const MainLayout l = computeMainLayout(fontHeight, clientWidth, clientBottom);
  std::string text = std::to_string(mainWindowWidth(fontHeight)) + "x" + std::to_string(mainWindowHeight(fontHeight));
  for (int value : {l.margin, l.rowHeight, l.rowGap, l.labelOffset, l.halfMargin}) text += " " + std::to_string(value);
  for (const PixelRect& r : {l.curveArea, l.levelBar}) {
    text += " (" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
            std::to_string(r.bottom) + ")";
  }
  for (const ControlBox& b : l.controls) {
    text += " " + std::to_string(b.x) + "," + std::to_string(b.y) + "," + std::to_string(b.width) + "," +
            std::to_string(b.height);
  }
  return text;
}
}  // namespace

TEST(MainLayout, WorkedExamples) {
  // H = 10, the fallback, in the 294 x 224 client area of its 300 x 250 window; H = 16 in 474 x 366.
  EXPECT_EQ(describe(10, 294, 224),
            "300x250 6 16 9 3 3 (52,56,242,156) (52,165,242,181) 6,9,40,16 52,6,190,90 248,6,40,16 6,34,40,16 "
            "52,31,190,90 248,31,40,16 6,59,40,16 248,56,40,16 248,81,40,16 248,165,40,16 6,193,40,16 52,190,40,16 "
            "98,190,44,16 202,170,40,16 248,170,40,16 248,189,40,16");
  EXPECT_EQ(describe(16, 474, 366),
            "480x400 10 25 15 4 5 (84,90,390,190) (84,205,390,230) 10,14,64,25 84,10,306,144 400,10,64,25 "
            "10,54,64,25 84,50,306,144 400,50,64,25 10,94,64,25 400,90,64,25 400,130,64,25 400,205,64,25 "
            "10,249,64,25 84,245,64,25 158,245,70,25 326,281,64,25 400,281,64,25 400,311,64,25");
  EXPECT_EQ(computeMainLayout(9, 264, 199).rowGap, 7) << "1.5 times an odd margin, truncated";
}
