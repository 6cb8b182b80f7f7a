// The curve editor's and the level bar's own windows. They hold the focus and the keys, and carry the names that
// a screen reader reads; the main window keeps their mouse and paints them, and so do they, from the same code.
#pragma once

#include <windows.h>

extern const wchar_t displayClassName[];

void registerDisplayClass(HINSTANCE instance);

// WM_PAINT of the main window and of the two display windows: the curve's back buffer, the input line and the
// level bar, each window showing its own part of them.
void paintDisplays(HWND window);

// The colours of high contrast or the fixed ones, and the line's pen for the DPI; then everything redrawn. At
// creation, after a new layout, and when the system's colours or contrast change.
void useDisplayColours();

// The level bar's name follows the zoom shown ("Zoom 37 %"): at once when it has settled, and while it moves at most
// every 250 ms, while a screen reader runs.
void nameLevelBar(bool settled = true);

// Whether a screen reader runs: read at creation and when the setting changes.
void noteScreenReader();

// The pen goes only after the window (WM_NCDESTROY).
void releaseDisplayResources();
