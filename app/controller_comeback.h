// A controller that drops out while the pump runs is awaited back: when a device change brings the same
// device again, the pump resumes on the same axis by itself. Any choice of the user's forgets it.
#pragma once

// The lost-input path of the pump, before it stops: notes the active device and axis; false when they
// cannot be told.
bool noteLostController();

// After the lost path's refresh: waits for the noted controller, and says so in the status bar.
void awaitLostController();

// WM_DEVICECHANGE: while a controller is awaited and the pump is stopped, the list is refreshed; the same
// device is selected again with the same axis, and the pump started.
void controllerMayBeBack();

// The user changed the choice (Start, Stop, Refresh, a list, Exit): nothing is awaited any longer.
void forgetLostController();
