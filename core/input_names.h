// Controller and axis names as DirectInput hands them over, and the debugger texts about them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Room for a name in DirectInput's records, terminator included.
constexpr std::size_t nameCapacity = 260;

// The text in a fixed name buffer: up to its terminator, or all of it when a driver left none.
std::wstring_view boundedName(const wchar_t* buffer, std::size_t capacity = nameCapacity);

// Name order: UTF-16 code units as unsigned numbers, a prefix before the longer name, no case folding.
bool nameBefore(std::wstring_view left, std::wstring_view right);

// "Error at <step>: " and a DirectInput result as a signed decimal number.
std::wstring errorText(int step, std::int32_t result);

// "device: " and the name of an admitted controller.
std::wstring deviceText(std::wstring_view name);
