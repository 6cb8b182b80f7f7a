// The main window at its monitor's scale: the DPI, the message font and the icons for it, and a new layout when
// the scale changes, put off while the window is minimized.
#pragma once

#include <windows.h>

// The window's DPI; where Windows knows none per window, the screen's.
int windowDpi();

// The system's message font at a DPI; null when the system does not tell it.
HFONT createMessageFont(int dpi);

// The caption's and the taskbar's icons, drawn for their sizes at the DPI.
void useIcons(int dpi);

// WM_GETDPISCALEDSIZE: the window's size at another DPI, 30H x 25H for the message font there.
SIZE windowSizeForDpi(int dpi);

// WM_DPICHANGED: the font at the new DPI for every control, the window at the suggested rectangle and laid out
// in it; while minimized, laid out only when restored.
void changeDpi(int dpi, const RECT& suggested);

// WM_SETTINGCHANGE for the non-client metrics: the system's new message font, and the window laid out for it; while
// minimized, laid out only when restored.
void changeTextSize();

// WM_SIZE: a layout put off while minimized is made, and the focus put back, once the window is restored.
void windowSized(WPARAM kind);

// The font and the icons go only after the window and the controls that show them (WM_NCDESTROY).
void releaseWindowResources();
