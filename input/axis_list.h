// The axes of the selected controller: enumerated into the axis list, sorted by name.
#pragma once

#include <windows.h>

// Command 111: makes the device of the sender's selected row the active device and lists its axes.
void selectDevice(HWND sender);

// Command 114: axisIndex follows the sender's selected row (-1 when none).
void selectAxis(HWND sender);
