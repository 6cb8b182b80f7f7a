// The attached game controllers: enumerated into the device list, sorted by name.
#pragma once

#include <string>

// Rebuilds the DirectInput object, the device objects and the device list, then selects row 0
// (which chains the device and axis selection through the main window's commands).
void refreshDevices();

// The row of the listed device whose instance GUID reads as the given text; -1 when none does or it is empty.
int deviceRowWithInstance(const std::wstring& instanceText);

// The row of the active device, the one in use; -1 when it is not listed.
int activeDeviceRow();

// Lets go of the DirectInput object, every listed device and the active device (at shut-down).
void releaseControllers();
