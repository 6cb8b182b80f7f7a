// The zoom pump: a 50 ms timer that turns axis readings into zoom values and sends them. Start and Stop lock
// and unlock the choices and caption the Start button; the tick's arithmetic is core/zoom_math's.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

constexpr UINT_PTR pumpTimerId = IDT_PUMP;

void startPump();
void stopPump();
// One tick; true when the controller is lost (its reading failed), which the caller answers.
bool pumpTick();
