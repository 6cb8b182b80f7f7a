// What every Win32 test shares: the program's own main window in front of the two stand-ins (the virtual
// controller as dinput8.dll, the simulator as SimConnect.dll), and ways to look at both.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Creates the program's main window as wWinMain does, with the given controllers attached and the settings
// file's text (none when empty) in place; the start-up settings are applied as at a launch.
bool createProgramWindow(const std::string& controllers, const std::string& settings = "");

// The settings file's path, and its folder removed (read-only files included).
std::wstring settingsFilePath();
void removeSettings();

// Sends the main window a command as a button (notification 0), an accelerator (1) or a list would.
LRESULT routeCommand(int id, int notification = 0, HWND sender = nullptr);

// Selects a row of a combo box and sends its selection command, as the user's choice does.
void chooseRow(HWND comboBox, int row);

std::vector<std::wstring> comboRows(HWND comboBox);
LRESULT comboSelection(HWND comboBox);
std::wstring windowText(HWND window);

// Replaces the controllers of the virtual controller; the next DirectInput call sees them.
void useControllers(const std::string& script);

// The virtual controller's counts: 0 DirectInput objects alive, 1 devices alive, 2 calls on released objects,
// 3 devices released while still acquired.
long liveObjects(int kind);

// A controller line with a distinct instance GUID for each number.
std::string deviceLine(int number, const std::string& name);
std::string deviceGuid(int number);

// The simulator stand-in's requests ("fail-open", "fail-define 1", "fail-writes"), one a line.
void simulatorControl(const std::string& requests);

// The calls the simulator stand-in received since the last look, with handle numbers left out.
std::vector<std::string> simulatorCalls();

// The debugger texts written since the last look.
std::vector<std::wstring> debugTexts();

// Handles what is waiting for this thread, such as timer ticks and paints.
void pumpMessages();

// GDI objects of this process (Wine answers GetGuiResources with 0: its handle table is counted instead).
long gdiObjectCount();
