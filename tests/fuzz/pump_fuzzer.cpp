// libFuzzer target: any curve of 2..101 heights over the whole 32-bit range, any raw reading, the invert and
// curve switches, through the pump's arithmetic and the curve editor's geometry. Besides the sanitizers, the
// zoom value must stay in 0..100 and every row and height where the editor expects it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "core/editor_geometry.h"
#include "core/zoom_math.h"
#include "require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto choices = in.ConsumeIntegral<std::uint32_t>();
  const int count = 2 + static_cast<int>(choices % 100);
  std::vector<int> heights;
  for (int i = 0; i < count; ++i) heights.push_back(in.ConsumeIntegral<int>());
  const std::vector<CurveSegment> spline = splineThroughHeights(heights);
  const ZoomReading reading =
      zoomForReading(in.ConsumeIntegral<int>(), choices & 0x100, choices & 0x200, spline, count);
  require(reading.inputPercent >= 0 && reading.inputPercent <= 100, "axis percent in 0..100");
  require(reading.value >= 0 && reading.value <= 100, "zoom value in 0..100");

  const int dpi = 96 + static_cast<int>((choices >> 20) % 193);  // 100 % to 300 %
  const EditorScale scale = editorScale(dpi);
  const int width = 2 * scale.inset + 1 + static_cast<int>((choices >> 10) % 600), height = scalePixels(100, dpi);
  const PixelRect area = {52, 56, 52 + width, 56 + height};
  for (int i = 0; i < count; ++i) {
    const PixelRect marker = markerRect(i, count, width, height, heights[i], scale);
    require(marker.right - marker.left == 2 * scale.inset && marker.bottom - marker.top == 2 * scale.inset,
            "a square marker twice the inset");
    // Every marker can be taken where it is drawn: the point found there stands on it.
    const PointPosition point = pointClientPosition(area, i, count, heights[i], scale);
    require(point.x == area.left + marker.left + scale.inset, "the mouse finds a point on its marker's column");
    const int found = controlPointAt(area, heights, count, point.x, point.y, scale);
    const PointPosition there =
        pointClientPosition(area, found < 0 ? 0 : found, count, heights[found < 0 ? 0 : found], scale);
    require(found >= 0 && there.x == point.x && there.y == point.y, "a marker's own point or one on top of it");
  }
  const int x = in.ConsumeIntegral<int>(), y = in.ConsumeIntegral<int>();
  const int point = controlPointAt(area, heights, count, x, y, scale);
  require(point >= -1 && point < count, "a point of the curve or none");
  const int dragged = dragHeight(area, y, heights[0], scale);
  require(dragged >= 0 && dragged <= 100, "a dragged height in 0..100");
  const int inset = scale.inset;
  double previous = curveRowAt(spline, count, width, height, inset, inset);
  double row = curveRowAt(spline, count, width, height, inset + 1, inset);
  for (int column = inset; column < width - inset; ++column) {
    const double following = curveRowAt(spline, count, width, height, column + 1, inset);
    const ColumnRun run = curveColumnRun(previous, row, following, height);
    require(!run.drawn || (0 <= run.low && run.low <= run.high && run.high < height), "a run inside the buffer");
    previous = row;
    row = following;
  }
  return 0;
}
