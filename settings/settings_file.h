// The settings file on disk: where it lives, reading it at start-up, writing it on Save.
#pragma once

#include <string>

#include "core/settings_text.h"

// The settings folder (the user's local application-data folder joined with "Tarvelix"),
// or an empty path when the known folder cannot be had.
std::wstring settingsFolderPath();

// The presets, overwritten by the values whose keys stand in the file; the presets alone when there is no
// file or it cannot be read.
ZoomSettings readSettings(ZoomSettings presets);

// Writes the whole file anew; true when it is in place.
bool writeSettings(const ZoomSettings& settings);
