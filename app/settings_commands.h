// The stored settings in the window: applied once at start-up, and gathered from the controls by Save.
#pragma once

// The last step of creating the main window: the stored choices go into the controls and the state record,
// through the same commands the user would give.
void applyStartupSettings();

// Command 116: gathers the current choices and writes them; says so in the status bar when it cannot.
void saveSettings();
