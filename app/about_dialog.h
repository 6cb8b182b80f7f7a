// The About dialog: icon, name and version, credit line, the web site's link and Donate.
#pragma once

#include <windows.h>

INT_PTR CALLBACK aboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Command 104: runs the dialog modally over the main window.
void showAboutDialog();
