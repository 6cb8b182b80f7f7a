// The main window's procedure: commands, painting, the pump's timer, the curve editor's mouse.
#pragma once

#include <windows.h>

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
