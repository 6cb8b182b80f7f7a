// A controller that drops out while the pump runs is awaited back, and so is a saved controller that is not
// yet switched on at a launch with Autostart: when a device change brings it, it is chosen with its axis and
// the pump started by itself. Any choice of the user's forgets it.
#pragma once

#include <string>

#include "resources/resource_ids.h"

constexpr unsigned comebackTimerId = IDT_COMEBACK;

// The pump's tick found the controller gone: the pump stops, the list is read again and the controller is
// awaited and looked for as after a device message, when it can be told which one it was.
void controllerLost();

// Start-up with Autostart found the saved controller (instance GUID text) missing: it is awaited with the axis.
void awaitSavedController(const std::wstring& device, const std::wstring& axis);

// WM_DEVICECHANGE: while a controller is awaited and the pump is stopped, it is looked for half a second later,
// since DirectInput lists a new device only after the first messages, and then every second for 10 s.
void deviceNodesChanged();

// The look timer: the list is read again; the awaited controller, when found, is chosen and the pump started.
void lookForAwaitedController();

// The status bar's text while a controller is awaited.
std::wstring awaitedStatus();

// The user changed the choice (Start, Stop, Refresh, a list, Exit): nothing is awaited any longer.
void forgetLostController();
