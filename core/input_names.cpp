#include "core/input_names.h"

#include <algorithm>

std::wstring_view boundedName(const wchar_t* buffer, std::size_t capacity) {
  const wchar_t* end = std::find(buffer, buffer + capacity, L'\0');
  return std::wstring_view(buffer, static_cast<std::size_t>(end - buffer));
}

bool nameBefore(std::wstring_view left, std::wstring_view right) {
  // wchar_t is signed on some hosts; code units compare as unsigned numbers everywhere.
  return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(), [](wchar_t a, wchar_t b) {
    return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b);
  });
}

std::wstring errorText(int step, std::int32_t result) {
  return L"Error at " + std::to_wstring(step) + L": " + std::to_wstring(result);
}

std::wstring deviceText(std::wstring_view name) { return L"device: " + std::wstring(name); }
