// What every Win32 test shares: the program's own main window in front of the virtual controller
// (dinput8.dll), and ways to drive and look at both.
#pragma once

#include <windows.h>

#include <string>

// Creates the program's main window as wWinMain does, from a fresh state record, with the given controllers
// attached and the settings file's text (none when empty) in place; the stored settings are applied as at a
// launch. A window made before goes first.
bool createProgramWindow(const std::string& controllers, const std::string& settings = "");

// The settings file's path, and its folder removed (read-only files included).
std::wstring settingsFilePath();
void removeSettings();

// Sends the main window a command as a button (notification 0), an accelerator (1) or a list would.
LRESULT routeCommand(int id, int notification = 0, HWND sender = nullptr);

// Selects a row of a combo box and sends its selection command, as the user's choice does.
void chooseRow(HWND comboBox, int row);

// The rows of a combo box joined by "|", the selected one in brackets: "[Alpha]|Bravo".
std::wstring rowsOf(HWND comboBox);

std::wstring windowText(HWND window);

// Replaces the controllers of the virtual controller; the next DirectInput call sees them.
void useControllers(const std::string& script);

// The virtual controller's counts: 0 DirectInput objects alive, 1 devices alive, 2 calls on released objects,
// 3 devices released while still acquired.
long liveObjects(int kind);

// A controller line of the script, with an instance GUID of its own for each number.
std::string deviceLine(int number, const std::string& name);
std::string deviceGuid(int number);

// The debugger texts written since the last look, joined by "|".
std::wstring debugTexts();

// Handles what is waiting for this thread, such as paints and a posted quit.
void pumpMessages();
