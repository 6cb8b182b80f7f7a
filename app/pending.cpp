// Placeholders for operations whose modules are being written; each goes when its module lands.
#include <windows.h>

#include <string>

void applyStartupSettings() {}
