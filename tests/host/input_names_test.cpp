// Controller and axis names: their order, their bounds in fixed buffers, and the debugger texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "input/input_names.h"

TEST(InputNames, SortByCodeUnitPutsCapitalsFirstAndAccentsLast) {
  std::vector<std::wstring> names = {L"Zed", L"alpha", L"\u00C9mile", L"Alpha", L"Alpha 2", L"", L"Alph"};
  std::sort(names.begin(), names.end(), nameBefore);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"Alph", L"Alpha", L"Alpha 2", L"Zed", L"alpha", L"\u00C9mile"}));
}

TEST(InputNames, CodeUnitsCompareAsUnsignedNumbers) {
  struct Case {
    std::wstring left, right;
    bool before;
  };
  const Case cases[] = {
      {L"a", L"b", true},
      {L"b", L"a", false},
      {L"same", L"same", false},
      {L"same", L"same ", true},
      {L"same ", L"same", false},
      {L"\u007F", L"\u0080", true},
      {L"\u00FF", L"\u0100", true},
      {std::wstring(1, static_cast<wchar_t>(0xD83D)), L"\uE000", true},  // a surrogate unit sorts below U+E000
      {L"\uFFFD", L"z", false},
      {L"X Axis", L"X Rotation", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(nameBefore(c.left, c.right), c.before) << c.left.size() << "/" << c.right.size();
}

TEST(InputNames, BoundedNameStopsAtTerminatorOrCapacity) {
  wchar_t buffer[nameCapacity];
  std::fill(std::begin(buffer), std::end(buffer), L'n');
  EXPECT_EQ(boundedName(buffer).size(), nameCapacity);
  buffer[259] = L'\0';
  EXPECT_EQ(boundedName(buffer), std::wstring(259, L'n'));
  buffer[4] = L'\0';
  EXPECT_EQ(boundedName(buffer), L"nnnn");
  buffer[0] = L'\0';
  EXPECT_TRUE(boundedName(buffer).empty());
  const wchar_t shortBuffer[3] = {L'a', L'b', L'c'};
  EXPECT_EQ(boundedName(shortBuffer, 3), L"abc");
}

TEST(InputNames, ErrorTextsCarryTheResultAsSignedDecimal) {
  struct Case {
    int step;
    std::uint32_t result;
    std::wstring text;
  };
  const Case cases[] = {
      {1, 0x80070057u, L"Error at 1: -2147024809"},
      {3, 0x80004005u, L"Error at 3: -2147467259"},
      {4, 0x8007001Eu, L"Error at 4: -2147024866"},
      {1, 0x80000000u, L"Error at 1: -2147483648"},
      {1, 1u, L"Error at 1: 1"},
      {3, 0u, L"Error at 3: 0"},
      {4, 0x7FFFFFFFu, L"Error at 4: 2147483647"},
  };
  for (const Case& c : cases) EXPECT_EQ(errorText(c.step, static_cast<std::int32_t>(c.result)), c.text);
  EXPECT_EQ(deviceText(L"\u00C9mile Pad"), L"device: \u00C9mile Pad");
}
