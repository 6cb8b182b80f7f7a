#include "curve/response_curve.h"

#include "core/editor_geometry.h"
#include "state/app_state.h"

void rebuildCurveSpline() {
  const int count = app.curvePointCount;
  if (count < minCurvePoints || count > maxCurvePoints || static_cast<int>(app.curveValues.size()) < count) {
    app.curveSpline.clear();
    return;
  }
  app.curveSpline = splineThroughHeights(std::vector<int>(app.curveValues.begin(), app.curveValues.begin() + count));
}

int applyResponseCurve(int percent) { return curvePercentAt(app.curveSpline, app.curvePointCount, percent); }

double curveRowAtColumn(double column) {
  const int width = app.curveArea.right - app.curveArea.left;
  const int height = app.curveArea.bottom - app.curveArea.top;
  return curveRowAt(app.curveSpline, app.curvePointCount, width, height, column, editorScale(app.dpi).inset);
}
