// The main window's layout, worked out for the fallback font height, a 16-pixel font, and the fonts of 150 % and
// 200 % scaling.
#include <gtest/gtest.h>

#include "core/layout.h"

namespace {
// Window size, M R G LO M2, the curve area and level bar, then every control's x,y,w,h in creation order.
std::string describe(int fontHeight, int clientWidth, int clientBottom, int dpi = 96) {
  const MainLayout l = computeMainLayout(fontHeight, clientWidth, clientBottom, dpi);
  std::string text = std::to_string(mainWindowWidth(fontHeight)) + "x" + std::to_string(mainWindowHeight(fontHeight));
  for (int value : {l.margin, l.rowHeight, l.rowGap, l.labelOffset, l.halfMargin}) text += " " + std::to_string(value);
  for (const PixelRect& r : {l.curveArea, l.levelBar}) {
    text += " (" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
            std::to_string(r.bottom) + ")";
  }
  for (const ControlBox& b : l.controls) {
    if (&b == &l.controls[slotCurveEditor] || &b == &l.controls[slotLevelBar]) continue;  // the two areas
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
  // H = 24 at 144 DPI and H = 32 at 192 DPI: the curve editor 150 and 200 pixels high.
  EXPECT_EQ(describe(24, 711, 561, 144),
            "720x600 15 38 22 7 7 (126,135,585,285) (126,307,585,345) 15,22,96,38 126,15,459,216 600,15,96,38 "
            "15,82,96,38 126,75,459,216 600,75,96,38 15,142,96,38 600,135,96,38 600,195,96,38 600,307,96,38 "
            "15,374,96,38 126,367,96,38 237,367,105,38 489,433,96,38 600,433,96,38 600,478,96,38");
  EXPECT_EQ(describe(32, 948, 748, 192),
            "960x800 20 51 30 9 10 (168,182,780,382) (168,412,780,463) 20,29,128,51 168,20,612,288 800,20,128,51 "
            "20,110,128,51 168,101,612,288 800,101,128,51 20,191,128,51 800,182,128,51 800,263,128,51 "
            "800,412,128,51 20,502,128,51 168,493,128,51 316,493,140,51 652,575,128,51 800,575,128,51 "
            "800,636,128,51");
  EXPECT_EQ(computeMainLayout(9, 264, 199).rowGap, 7) << "1.5 times an odd margin, truncated";
}
