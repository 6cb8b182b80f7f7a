// The one-way link to Flight Simulator through SimConnect: open, write the zoom, close.
#pragma once

// Looks for SimConnect.dll again if need be, opens the connection and adds the two zoom definitions; the
// outcome is in simHandle and the status bar.
void openSimLink();

// Writes the zoom value to the selected cameras; a failed write closes the link.
void sendZoomToSim(int value);

// Closes the connection, if any, and says so in the status bar. A link that was open had its library, so the
// text blames the simulator.
void closeSimLink();

// The status texts of the link.
inline constexpr const wchar_t* connectedText = L"Connected to Flight Simulator";
inline constexpr const wchar_t* notConnectedText = L"No connection to Flight Simulator";
inline constexpr const wchar_t* libraryMissingText = L"SimConnect.dll not found next to Tarvelix.exe";
inline constexpr const wchar_t* libraryUnusableText = L"SimConnect.dll next to Tarvelix.exe cannot be used";
