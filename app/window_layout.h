// The main window laid out from the height of its message font: its size, every control, the curve area, the
// level bar and the curve editor's back buffer.
#pragma once

#include <windows.h>

// The height of a font from its outline metrics; for a font without them (or none), the fallback at the DPI.
int measureFontHeight(HFONT font, int dpi);

// Every control and the status bar show the message font.
void useMessageFont();

// The window's size for its message font, 30H x 25H; the place is kept.
void sizeWindowForFont();

// Lays every control out in the client area as it stands, sets the curve area and level bar, and makes the back
// buffer at the curve area's size, redrawn.
void layOutControls();
