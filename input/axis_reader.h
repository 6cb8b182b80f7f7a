// The selected axis of the active controller: its range set-up and its reading.
#pragma once

// What readAxis gives when no position could be read.
constexpr int noAxisValue = 0x7FFFFFFF;
// What readAxis gives when the read had to acquire the device: until the device's first report after that, its
// state can be empty (zero, or the centre), so the position is not known yet.
constexpr int justAcquiredValue = 0x7FFFFFFE;

// Gives the selected axis the range 0..65535.
void setAxisRange();

// The selected axis's position, or noAxisValue, or justAcquiredValue when it had to acquire the device.
int readAxis();
