// The main window: its class, its creation with every control, and the layout it is built on.
#pragma once

#include <windows.h>

// Registers the main window class under windowClassName, with its window procedure.
void registerMainWindowClass(HINSTANCE instance, WNDPROC procedure);

// Creates and lays out the main window, applies the stored settings, then shows it.
// False when the main window itself could not be created.
bool createMainWindow(HINSTANCE instance, int showCommand);

// WM_DPICHANGED, the window moved to a monitor of another scale: a font at the new DPI for every control, the
// window sized from its height at the suggested place, the layout in the client area that gives, the back buffer
// at the new size; the old font last.
void changeDpi(int dpi, const RECT& suggested);

// WM_ACTIVATE: as in a dialog box, the focus leaves with the window and comes back to where it was.
void keepFocus(WPARAM activation);

// The font goes only after the controls that show it (WM_NCDESTROY).
void releaseMessageFont();
