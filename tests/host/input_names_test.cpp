// The order of controller and axis names.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

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
