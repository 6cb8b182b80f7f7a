// The settings file's text: its eight lines as written, and the tolerant reading of a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ZoomSettings {
  std::wstring device;
  std::wstring axis;
  bool inverted = false;
  bool chaseCamera = true;
  bool cockpitCamera = true;
  bool curvesEnabled = false;
  std::vector<int> curveValues;
  bool autostart = false;
};

// Trimmed from both ends of keys and values: blank, tab, LF, CR, form feed, vertical tab.
inline constexpr std::wstring_view settingsWhitespace = L" \t\n\r\f\v";

// More than any settings file of ours could hold; the reader looks no further.
constexpr std::size_t settingsReadLimit = 1024 * 1024;

// The file's bytes, CR LF between the eight lines: a value one byte per character when all of its characters
// fit in ISO 8859-1, else in UTF-8; "?" for CR, LF and half a surrogate pair.
std::string settingsFileText(const ZoomSettings& settings);

// The curve heights in decimal, joined by commas; empty for an empty list.
std::wstring curveValuesText(const std::vector<int>& values);

// Splits a line at its first colon into the trimmed, lower-cased key and the trimmed value.
// A line without a colon is key and value at once.
void splitSettingsLine(std::wstring line, std::wstring& key, std::wstring& value);

// Appends the integers of a CurveVals value to values. When a piece holds no number or one
// outside the 32-bit range, nothing is appended and the answer is false.
bool parseCurveValues(std::wstring_view text, std::vector<int>& values);

// Applies one line of the file to the values; unknown keys change nothing.
void applySettingsLine(const std::wstring& line, ZoomSettings& settings);

// Applies every line of the file's bytes in order; the later line wins. A line that is UTF-8 beyond ASCII is read
// as UTF-8, any other one byte per character; a UTF-8 byte-order mark in front is skipped.
void applySettingsText(std::string_view bytes, ZoomSettings& settings);

// The bytes up to and including the last line feed: what is left when a read stopped part way.
std::string_view wholeLines(std::string_view bytes);
