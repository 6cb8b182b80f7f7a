// libFuzzer target: any bytes as a settings file, through the line reader and the curve-value parser.
// Besides the sanitizers, it checks what must hold for every input.
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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZoomSettings read;
  read.curveValues = {0, 20, 40, 60, 80, 100};
  applySettingsText(std::string_view(reinterpret_cast<const char*>(data), size), read);
  // What was read, written and read again, gives the same values.
  ZoomSettings back;
  applySettingsText(settingsFileText(read), back);
  require(back.curveValues == read.curveValues, "curve round trip");
  require(back.inverted == read.inverted && back.chaseCamera == read.chaseCamera &&
              back.cockpitCamera == read.cockpitCamera && back.curvesEnabled == read.curvesEnabled &&
              back.autostart == read.autostart,
          "flag round trip");
  if (read.axis.find(L'\r') == std::wstring::npos) require(back.axis == read.axis, "axis round trip");
  // Every line's value as a curve list: refused and the list untouched, or read and written back the same.
  std::wstring line, key, value;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i < size && data[i] != '\n') {
      line.push_back(static_cast<wchar_t>(data[i]));
      continue;
    }
    splitSettingsLine(line, key, value);
    std::vector<int> values = {7}, again;
    std::wstring written;
    if (!parseCurveValues(value, values)) require(values == std::vector<int>{7}, "a refused list changes nothing");
    for (int v : values) written += (written.empty() ? L"" : L",") + std::to_wstring(v);
    require(parseCurveValues(written, again) && again == values, "a read list reads back the same");
    line.clear();
  }
  return 0;
}
