#include "core/display_texts.h"

std::wstring percentText(int percent) { return std::to_wstring(percent) + L" %"; }

std::wstring curveEditorName(int chosen, int pointCount, int value) {
  return L"Response curve, point " + std::to_wstring(chosen + 1) + L" of " + std::to_wstring(pointCount) + L", " +
         percentText(value);
}

std::wstring levelBarName(int percent) { return L"Zoom " + percentText(percent); }
