// Placeholders for operations whose modules are being written; each goes when its module lands.
#include <windows.h>

#include <string>

void refreshDevices() {}
void selectDevice(HWND) {}
void selectAxis(HWND) {}
void setAxisRange() {}
int readAxis() { return 0x7FFFFFFF; }
void applyStartupSettings() {}
