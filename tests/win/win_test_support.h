// Helpers shared by the Win32 tests: a real main window and status bar, the stand-ins' files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Creates a hidden top-level window as app.mainWindow with a real status bar as app.statusBar.
void createTestWindows();

// The text the status bar shows now.
std::wstring statusText();

// A fresh, empty file path in the test's scratch folder (the folder is made when missing).
std::string scratchPath(const std::string& name);

// The lines of a text file; none when it does not exist.
std::vector<std::string> readLines(const std::string& path);

// Replaces a file's content.
void writeFile(const std::string& path, const std::string& content);

// Sets or (with an empty value) removes an environment variable of this process.
void setEnv(const char* name, const std::string& value);

// Handles messages that are waiting for this thread, such as sent commands and timers.
void pumpMessages();

// Handles this process holds (Wine reports no count of its own: its handle table is counted instead).
long handleCount();

// Private bytes of this process.
long long privateBytes();

// Creates the program's own main window as the program does (names, class, common controls), which also
// applies the stored settings; false when the window could not be created.
bool createProgramWindow();

// Moves the user's settings folder out of the way, so a test starts with none; false when it could not.
bool moveSettingsAside();

// Removes what the test left in the settings folder (read-only files included) and puts the user's back.
bool putSettingsBack();

// Makes the virtual controller read its script at its next call, for a script rewritten in process.
void virtualControllerLookAgain();
