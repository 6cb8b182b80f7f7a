// What the curve editor and the level bar say of themselves: the value shown beside a moving point, and the names
// that assistive technology reads.
#pragma once

#include <string>

// "52 %".
std::wstring percentText(int percent);

// "Response curve, point 3 of 6, 52 %" for the chosen point, counted from 1.
std::wstring curveEditorName(int chosen, int pointCount, int value);

// "Zoom 37 %".
std::wstring levelBarName(int percent);
