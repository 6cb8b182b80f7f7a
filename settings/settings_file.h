// The settings file on disk: where it lives, reading it at start-up, writing it on Save.
#pragma once

#include <string>

#include "settings/settings_text.h"

// The settings folder (the user's local application-data folder joined with "Tarvelix"),
// or an empty path when the known folder cannot be had.
std::wstring settingsFolderPath();

// Overwrites the out-values whose keys stand in the file; sets app.curvesEnabled and app.curveValues.
void readSettings(std::wstring& device, std::wstring& axis, bool& inverted, bool& cockpitCamera, bool& chaseCamera,
                  bool& autostart);

// Writes the whole file anew; true when it is in place.
bool writeSettings(const ZoomSettings& settings);

// Command 116: gathers the current choices and writes them.
void saveSettings();
