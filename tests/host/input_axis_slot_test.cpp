// Which joystick state value an axis is read from, by the instance number in its object type.
#include <gtest/gtest.h>

#include "input/axis_slot.h"

TEST(AxisSlot, InstanceNumberAloneChoosesTheStateValue) {
  struct Case {
    std::uint32_t objectType;
    int instance;
    int slot;
  };
  const Case cases[] = {
      {0x00000002, 0, 0},        // absolute axis, instance 0: X
      {0x00000102, 1, 1},        // Y
      {0x00000502, 5, 5},        // Rz
      {0x00000602, 6, 6},        // first slider value, whatever the object's kind
      {0x00000703, 7, 7},        // second slider value
      {0x00000802, 8, -1},       // the state has no ninth value
      {0x00FFFF02, 0xFFFF, -1},  // the highest instance number
      {0xFF000601, 6, 6},        // flag bits above 23 do not change the instance
      {0x00010002, 0x100, -1},   // bit 16 belongs to the instance: 256, not 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(instanceNumber(c.objectType), c.instance) << std::hex << c.objectType;
    EXPECT_EQ(axisSlot(c.objectType), c.slot) << std::hex << c.objectType;
  }
}
