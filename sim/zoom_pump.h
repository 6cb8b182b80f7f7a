// The zoom pump: a 50 ms timer that turns axis readings into zoom values and sends them.
#pragma once

void startPump();
void stopPump();
void pumpTick();
