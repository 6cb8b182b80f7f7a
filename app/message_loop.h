// The message loop: the shortcuts first, then the keyboard navigation of a dialog box, then the window itself.
#pragma once

#include <windows.h>

// Handles one message taken from the queue.
void processMessage(MSG& message, HACCEL shortcuts);

// Runs until WM_QUIT; gives its exit code.
int runMessageLoop(HACCEL shortcuts);
