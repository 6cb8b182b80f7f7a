#include "core/axis_slot.h"

int instanceNumber(std::uint32_t objectType) { return static_cast<int>((objectType >> 8) & 0xFFFF); }

int axisSlot(std::uint32_t objectType) {
  const int instance = instanceNumber(objectType);
  return instance < axisSlotCount ? instance : -1;
}
