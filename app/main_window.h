// The main window: its class, its creation with every control, and the layout it is built on.
#pragma once

#include <windows.h>

// Registers the main window class under windowClassName.
void registerMainWindowClass(HINSTANCE instance);

// Creates, shows and lays out the main window, then applies the stored settings.
// False when the main window itself could not be created.
bool createMainWindow(HINSTANCE instance, int showCommand);
