#include "core/settings_text.h"

#include <cstdint>

namespace {
// Appends text one byte per character. What has no byte of its own becomes "?", and so do CR
// and LF: a driver's axis name must not break its line and pose as another key.
void appendBytes(std::string& out, std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    const bool pairStart =
        c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (pairStart) ++i;  // one character outside the 16-bit plane, one "?"
    const bool fits = static_cast<unsigned>(c) <= 0xFF && c != L'\r' && c != L'\n';
    out.push_back(fits ? static_cast<char>(static_cast<unsigned char>(c)) : '?');
  }
}

void appendLine(std::string& out, const char* literal, std::wstring_view value) {
  out += literal;
  appendBytes(out, value);
}

const wchar_t* flagText(bool flag) { return flag ? L"1" : L"0"; }

void trim(std::wstring& text) {
  const std::size_t last = text.find_last_not_of(settingsWhitespace);
  if (last == std::wstring::npos) {
    text.clear();
    return;
  }
  text.erase(last + 1);
  text.erase(0, text.find_first_not_of(settingsWhitespace));
}

// Reads a piece as the standard string-to-integer conversion does: leading white space, an
// optional sign, at least one digit; what follows the digits is ignored.
bool parseLeadingInt(std::wstring_view piece, int& number) {
  std::size_t at = 0;
  while (at < piece.size() && settingsWhitespace.find(piece[at]) != std::wstring_view::npos) ++at;
  bool negative = false;
  if (at < piece.size() && (piece[at] == L'+' || piece[at] == L'-')) negative = piece[at++] == L'-';
  const std::size_t firstDigit = at;
  std::int64_t magnitude = 0;
  for (; at < piece.size() && piece[at] >= L'0' && piece[at] <= L'9'; ++at) {
    magnitude = magnitude * 10 + (piece[at] - L'0');
    if (magnitude > 2147483648LL) return false;
  }
  if (at == firstDigit) return false;
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > 2147483647LL) return false;
  number = static_cast<int>(signedValue);
  return true;
}
}  // namespace

std::wstring curveValuesText(const std::vector<int>& values) {
  std::wstring text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += L',';
    text += std::to_wstring(values[i]);
  }
  return text;
}

std::string settingsFileText(const ZoomSettings& settings) {
  std::string out;
  appendLine(out, "Device: ", settings.device);
  appendLine(out, "\r\nAxis: ", settings.axis);
  appendLine(out, "\r\nInverted: ", flagText(settings.inverted));
  appendLine(out, "\r\nChaseCamera: ", flagText(settings.chaseCamera));
  appendLine(out, "\r\nCockpitCamera: ", flagText(settings.cockpitCamera));
  appendLine(out, "\r\nCurvesEnabled: ", flagText(settings.curvesEnabled));
  appendLine(out, "\r\nCurveVals: ", curveValuesText(settings.curveValues));
  appendLine(out, "\r\nAutostart: ", flagText(settings.autostart));
  return out;
}

void splitSettingsLine(std::wstring line, std::wstring& key, std::wstring& value) {
  const std::size_t colon = line.find(L':');
  key = colon == std::wstring::npos ? line : line.substr(0, colon);
  value = colon == std::wstring::npos ? line : line.substr(colon + 1);
  trim(key);
  trim(value);
  for (wchar_t& c : key) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
}

bool parseCurveValues(std::wstring_view text, std::vector<int>& values) {
  std::vector<int> parsed;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && text[at] == L',') ++at;
    if (at == text.size()) break;
    std::size_t end = text.find(L',', at);
    if (end == std::wstring_view::npos) end = text.size();
    int number = 0;
    if (!parseLeadingInt(text.substr(at, end - at), number)) return false;
    parsed.push_back(number);
    at = end;
  }
  values.insert(values.end(), parsed.begin(), parsed.end());
  return true;
}

void applySettingsLine(const std::wstring& line, ZoomSettings& settings) {
  std::wstring key;
  std::wstring value;
  splitSettingsLine(line, key, value);
  const bool on = value == L"1";
  if (key == L"device") settings.device = value;
  if (key == L"axis") settings.axis = value;
  if (key == L"inverted") settings.inverted = on;
  if (key == L"curvesenabled") settings.curvesEnabled = on;
  if (key == L"autostart") settings.autostart = on;
  if (key == L"chasecamera") settings.chaseCamera = on;
  if (key == L"cockpitcamera") settings.cockpitCamera = on;
  if (key != L"curvevals") return;
  // A damaged list keeps the curve that was there, rather than half of a new one.
  std::vector<int> values;
  if (parseCurveValues(value, values)) settings.curveValues = std::move(values);
}

void applySettingsText(std::string_view bytes, ZoomSettings& settings) {
  std::size_t start = 0;
  std::wstring line;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r' && end < bytes.size()) raw.remove_suffix(1);  // CR LF is one break
    line.clear();
    for (const char byte : raw) line.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    applySettingsLine(line, settings);
    start = end + 1;
  }
}

std::string_view wholeLines(std::string_view bytes) {
  const std::size_t lastBreak = bytes.rfind('\n');
  return lastBreak == std::string_view::npos ? std::string_view() : bytes.substr(0, lastBreak + 1);
}
