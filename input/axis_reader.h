// The selected axis of the active controller: its range set-up and its reading.
#pragma once

// What readAxis gives when no position could be read.
constexpr int noAxisValue = 0x7FFFFFFF;

// Gives the selected axis the range 0..65535.
void setAxisRange();

// The selected axis's position, or noAxisValue; acquires the device when needed.
int readAxis();
