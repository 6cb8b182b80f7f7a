// libFuzzer target: any bytes as a settings file, through the line reader and the curve-value parser.
// Besides the sanitizers, it checks what must hold for every input.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/settings_text.h"

namespace {
void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

// The same pieces read with the C library's strtoll, as the standard conversion does it.
bool referenceCurveValues(const std::wstring& text, std::vector<int>& values) {
  for (std::size_t at = 0, end = 0; at < text.size(); at = end + 1) {
    end = std::min(text.find(L',', at), text.size());
    if (end == at) continue;
    std::string piece;
    for (std::size_t i = at; i < end; ++i) piece.push_back(text[i] == 0 || text[i] > 127 ? '\x7f' : char(text[i]));
    char* stop = nullptr;
    errno = 0;
    const long long number = std::strtoll(piece.c_str(), &stop, 10);
    if (stop == piece.c_str() || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
    values.push_back(static_cast<int>(number));
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ZoomSettings read;
  read.curveValues = {0, 20, 40, 60, 80, 100};
  applySettingsText(bytes, read);
  // What was read, written and read again, gives the same values.
  ZoomSettings back;
  applySettingsText(settingsFileText(read), back);
  require(back.curveValues == read.curveValues, "curve round trip");
  require(back.inverted == read.inverted && back.chaseCamera == read.chaseCamera &&
              back.cockpitCamera == read.cockpitCamera && back.curvesEnabled == read.curvesEnabled &&
              back.autostart == read.autostart,
          "flag round trip");
  if (read.axis.find(L'\r') == std::wstring::npos) require(back.axis == read.axis, "axis round trip");
  // Every line's value read as a curve list: accepted and read as strtoll reads it, or left alone.
  std::wstring line, key, value;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i < size && data[i] != '\n') {
      line.push_back(static_cast<wchar_t>(data[i]));
      continue;
    }
    splitSettingsLine(line, key, value);
    std::vector<int> values = {7}, expected = {7};
    const bool parsed = parseCurveValues(value, values);
    require(parsed == referenceCurveValues(value, expected), "curve list accepted as strtoll would");
    require(parsed ? values == expected : values == std::vector<int>{7}, "curve values as strtoll reads them");
    line.clear();
  }
  return 0;
}
