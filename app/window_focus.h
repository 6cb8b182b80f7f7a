// The keyboard focus of the main window, kept as the dialog manager keeps a dialog box's: saved when the window
// is deactivated or minimized and before About opens, put back when it comes back.
#pragma once

#include <windows.h>

#include <initializer_list>

// Notes the control that holds the focus, if one of the window's does.
void saveFocus();

// Gives the focus back to the saved control, or, in place of one since disabled, to the first that takes it.
void restoreFocus();

// WM_ACTIVATE: the focus leaves with the window and comes back to where it was.
void keepFocus(WPARAM activation);

// Before controls are disabled: the focus on one of them, live or kept for the window's return, goes to another.
void moveFocusOff(std::initializer_list<HWND> controls, HWND to);
