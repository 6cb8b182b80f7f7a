// The link to Flight Simulator through SimConnect: open, listen to what the simulator sends back, write the zoom,
// close.
#pragma once

#include "core/sim_link_state.h"

// Looks for SimConnect.dll again if need be, opens the connection and adds the two zoom definitions; the
// outcome is in simHandle, simLink and the status bar.
void openSimLink();

// Takes what the simulator sent since the last tick: its answer, its exit, a refusal; a broken pipe closes the
// link. True when the simulator has just answered, so that the current zoom goes out at once.
bool listenToSim();

// Writes the zoom value to the selected cameras once the simulator has answered; a failed write closes the link.
void sendZoomToSim(int value);

// Closes the connection, if any, and says so in the status bar. A link that was open had its library, so the
// text blames the simulator.
void closeSimLink();

// The status texts of the library's own trouble.
inline constexpr const wchar_t* libraryMissingText = L"SimConnect.dll not found next to Tarvelix.exe";
inline constexpr const wchar_t* libraryUnusableText = L"SimConnect.dll next to Tarvelix.exe cannot be used";
