// The curve editor's pixel arithmetic: where the markers are drawn, where the mouse finds them,
// the height a dragged point takes, and the vertical run drawn in each column of the curve.
#pragma once

#include <vector>

// A rectangle with exclusive right and bottom, as Windows keeps them.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Pixels at 96 DPI as many at the given DPI, rounded as MulDiv rounds; never fewer than 1.
int scalePixels(int pixels, int dpi);

// The editor's fixed sizes at a DPI: the drawing's inset on every side, which is also half a marker (4 pixels at
// 96 DPI), how near the mouse must come to a point (less than 10 pixels at 96 DPI), and the width of the curve
// and the input line (1 pixel at 96 DPI).
struct EditorScale {
  int inset = 4;
  int hitRadius = 10;
  int lineWidth = 1;
};
EditorScale editorScale(int dpi);

// True when the editor can draw and hit-test: 2..101 points, all heights there, and an area
// wider and higher than the inset on both sides.
bool curveEditorUsable(int width, int height, int pointCount, int valueCount, const EditorScale& scale = {});

// The back-buffer column at a share of the curve's span, numerator / denominator: i / (n - 1) for point i of n,
// p / 100 for an axis percent p. The curve runs from the inset to the inset before the right edge, and the
// markers, the mouse and the input line all stand on this one column.
int curveColumn(int numerator, int denominator, int width, const EditorScale& scale = {});

// Back-buffer rectangle of point i's marker, 8 x 8 at 96 DPI, centred on its column.
PixelRect markerRect(int index, int pointCount, int width, int height, int value, const EditorScale& scale = {});

// Back-buffer row of grid line k (1..3).
int gridRow(int height, int k);

// Client position of point i as the mouse sees it: the centre of its marker.
struct PointPosition {
  int x = 0;
  int y = 0;
};
PointPosition pointClientPosition(const PixelRect& area, int index, int pointCount, int value,
                                  const EditorScale& scale = {});

// Index of the point nearest the position among those nearer than the hit radius on both axes (the lower index
// of two as near), or -1.
int controlPointAt(const PixelRect& area, const std::vector<int>& values, int pointCount, int x, int y,
                   const EditorScale& scale = {});

// The height, 0..100, of a point at the current height dragged to client row y: 100 from the marker row of 100 up,
// 0 from that of 0 down.
int dragHeight(const PixelRect& area, int y, int current, const EditorScale& scale = {});

// The point chosen after a step from the chosen one (Left and Right), within 0..pointCount-1.
int keyedPoint(int chosen, int step, int pointCount);

// A height moved by a step (Up and Down by 1, Page Up and Page Down by 10), within 0..100; a hand-edited height
// outside that range comes in first.
int keyedHeight(int value, int step);

// One column of the curve: the rows low..high joining the midpoints to both neighbours, or nothing
// when the run would leave the buffer.
struct ColumnRun {
  bool drawn = false;
  int low = 0;
  int high = 0;
};
ColumnRun curveColumnRun(double previousRow, double row, double nextRow, int height);
