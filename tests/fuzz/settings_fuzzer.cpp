// libFuzzer target: any bytes as a settings file, through the line reader and the curve-value parser.
// Besides the sanitizers, it checks what must hold for every input.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/settings_text.h"

namespace {
void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

bool isSettingsWhitespace(wchar_t c) { return settingsWhitespace.find(c) != std::wstring_view::npos; }

bool trimmed(const std::wstring& text) {
  return text.empty() || (!isSettingsWhitespace(text.front()) && !isSettingsWhitespace(text.back()));
}

// The same pieces read with the C library's strtoll, as the standard conversion does it.
bool referenceCurveValues(const std::wstring& text, std::vector<int>& values) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(L',', at);
    if (end == std::wstring::npos) end = text.size();
    if (end > at) {
      std::string piece;
      for (std::size_t i = at; i < end; ++i) piece.push_back(text[i] == 0 || text[i] > 127 ? '\x7f' : char(text[i]));
      char* stop = nullptr;
      errno = 0;
      const long long number = std::strtoll(piece.c_str(), &stop, 10);
      if (stop == piece.c_str() || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
      values.push_back(static_cast<int>(number));
    }
    at = end + 1;
  }
  return true;
}

void checkLine(const std::wstring& line) {
  std::wstring key;
  std::wstring value;
  splitSettingsLine(line, key, value);
  require(trimmed(key) && trimmed(value), "key and value are trimmed");
  for (const wchar_t c : key) require(c < L'A' || c > L'Z', "key has no upper-case letter");
  std::vector<int> values = {7};
  std::vector<int> expected = {7};
  const bool parsed = parseCurveValues(value, values);
  require(parsed == referenceCurveValues(value, expected), "curve list accepted as strtoll would");
  if (!parsed) {
    require(values.size() == 1 && values[0] == 7, "a damaged list appends nothing");
    return;
  }
  require(values == expected, "curve values as strtoll reads them");
  std::vector<int> again = {7};
  values.erase(values.begin());
  require(parseCurveValues(curveValuesText(values), again), "written curve values parse");
  again.erase(again.begin());
  require(again == values, "written curve values read back unchanged");
}

// What was read, written and read again, gives the same values.
void checkRoundTrip(const ZoomSettings& read) {
  ZoomSettings back;
  back.curveValues = {1};
  applySettingsText(settingsFileText(read), back);
  require(back.curveValues == read.curveValues, "curve round trip");
  require(back.inverted == read.inverted && back.chaseCamera == read.chaseCamera &&
              back.cockpitCamera == read.cockpitCamera && back.curvesEnabled == read.curvesEnabled &&
              back.autostart == read.autostart,
          "flag round trip");
  if (read.device.find(L'\r') == std::wstring::npos) require(back.device == read.device, "device round trip");
  if (read.axis.find(L'\r') == std::wstring::npos) require(back.axis == read.axis, "axis round trip");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ZoomSettings settings;
  settings.curveValues = {0, 20, 40, 60, 80, 100};
  applySettingsText(bytes, settings);
  checkRoundTrip(settings);

  const std::string_view whole = wholeLines(bytes);
  require(bytes.substr(0, whole.size()) == whole && (whole.empty() || whole.back() == '\n'), "whole lines");

  std::wstring line;
  for (const char byte : bytes) {
    if (byte == '\n') {
      checkLine(line);
      line.clear();
      continue;
    }
    line.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
  }
  checkLine(line);
  return 0;
}
