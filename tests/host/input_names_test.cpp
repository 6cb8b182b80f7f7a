// The order of controller and axis names, and the joystick state value an axis is read from.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/axis_slot.h"
#include "core/input_names.h"

TEST(InputNames, CodeUnitsOrderNamesAsUnsignedNumbersWithoutCaseFolding) {
  std::vector<std::wstring> names = {L"Zed", L"alpha", L"\u00C9mile", L"Alpha", L"Alpha 2", L"", L"Alph"};
  std::sort(names.begin(), names.end(), nameBefore);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"Alph", L"Alpha", L"Alpha 2", L"Zed", L"alpha", L"\u00C9mile"}));
  const std::tuple<std::wstring, std::wstring, bool> pairs[] = {
      {L"same", L"same", false},
      {L"\u007F", L"\u0080", true},
      {L"\u00FF", L"\u0100", true},
      {std::wstring(1, static_cast<wchar_t>(0xD83D)), L"\uE000", true},
      {L"\uFFFD", L"z", false}};
  for (const auto& [left, right, before] : pairs) EXPECT_EQ(nameBefore(left, right), before) << left.size();
}

TEST(AxisSlot, InstanceNumberAloneChoosesTheStateValue) {
  const std::tuple<std::uint32_t, int> types[] = {
      {0x00000002, 0},  {0x00000502, 5},  {0x00000602, 6},
      {0x00000703, 7},  {0x00000802, -1},  // the state has no ninth value
      {0x00FFFF02, -1}, {0xFF000601, 6},   // flag bits above 23 are no part of it
      {0x00010002, -1},                    // bit 16 is: instance 256
  };
  for (const auto& [type, slot] : types) EXPECT_EQ(axisSlot(type), slot) << std::hex << type;
}
