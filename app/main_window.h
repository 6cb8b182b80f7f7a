// The main window: its class, its creation with every control, and the layout it is built on.
#pragma once

#include <windows.h>

// Registers the main window class under windowClassName, with its window procedure.
void registerMainWindowClass(HINSTANCE instance, WNDPROC procedure);

// Creates and lays out the main window, applies the stored settings, then shows it.
// False when the main window itself could not be created.
bool createMainWindow(HINSTANCE instance, int showCommand);
