// Which value of the joystick state holds an axis, by the axis's instance number.
#pragma once

#include <cstdint>

// The state's first eight values in order: X, Y, Z, Rx, Ry, Rz, slider 0, slider 1.
constexpr int axisSlotCount = 8;

// The instance number of an object type: bits 8 to 23.
int instanceNumber(std::uint32_t objectType);

// The state value (0..7) that holds the axis of this object type, or -1 when the state has none for it.
int axisSlot(std::uint32_t objectType);
