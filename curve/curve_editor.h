// The curve editor: draws the curve into its back buffer and lets the user drag the control points, or choose and
// move them by key; shows a moving point's value and names the editor for screen readers.
#pragma once

#include <windows.h>

// Creates the back buffer of the curve area's size, compatible with the window's DC.
void createCurveBuffer(HDC windowDc);

// Deletes the back buffer's DC, then its bitmap.
void deleteCurveBuffer();

// Redraws the whole back buffer from the current curve and switches.
void drawCurveEditor();

// Index of the first control point within 10 pixels of the client position, or -1.
int findControlPointAt(int x, int y);

// WM_SETCURSOR in the client area: the hand over a point of an enabled curve or while one is dragged,
// the arrow elsewhere.
void showEditorCursor();

// The three mouse messages, with the client position taken from lParam (a drag needs only the row).
void curveEditorMouseMove(int y);
void curveEditorButtonDown(int x, int y);
void curveEditorButtonUp();

// The mouse capture went elsewhere (for example a release outside the window): the drag ends.
void curveEditorCaptureLost(HWND newOwner);

// WM_CANCELMODE or a minimize (Win+D, Win+M), the button perhaps still held: the drag ends there, and the value goes.
void curveEditorDragEnds();

// The tooltip of a moving point's value, made with the window; hidden at the end of a drag, a moment after the last
// key, and when the editor loses the focus.
void createValueTip();
void hideValueTip();

// The timer of a keyed value: it goes, unless a drag has taken the tooltip over since.
void keyedValueExpired();

// WM_SETFOCUS and WM_KILLFOCUS of the editor's window; other is the window that had the focus or gets it.
void curveEditorFocused(bool focused, HWND other);

// WM_KEYDOWN in the editor: Left and Right choose a point, Up and Down move it by 1, Page Up and Page Down by 10;
// false for any other key, or while curves are off.
bool curveEditorKey(WPARAM key);

// Command 121: curves on or off as the check box says.
void enableCurves();

// Command 122: the control points go back to the straight line.
void resetCurve();
