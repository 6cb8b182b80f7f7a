// The response curve of the state record: rebuilt from curveValues, evaluated for the pump and the editor.
#pragma once

// Replaces curveSpline with the spline through curveValues.
void rebuildCurveSpline();

// Curve percent for an axis percent, not clamped.
int applyResponseCurve(int percent);

// Back-buffer row for a back-buffer column of the curve editor, not clamped.
double curveRowAtColumn(double column);
