// Applies the stored settings once, as the last step of creating the main window.
#pragma once

void applyStartupSettings();
