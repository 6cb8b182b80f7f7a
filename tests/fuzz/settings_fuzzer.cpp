// libFuzzer target: any bytes as a settings file, through the reader and the writer. Besides the sanitizers,
// what was read must read back the same once written, and so must the same bytes taken as a UTF-16 name.
#include <cstdint>
#include <string>

#include "core/settings_text.h"
#include "require.h"

namespace {
// What a line can keep as it is: no line break, no half of a surrogate pair, no white space at an end.
bool storable(const std::wstring& name) {
  const auto blank = [](wchar_t c) { return settingsWhitespace.find(c) != std::wstring_view::npos; };
  if (name.find_first_of(L"\r\n") != std::wstring::npos || (!name.empty() && (blank(name[0]) || blank(name.back()))))
    return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool high = (name[i] & 0xFC00) == 0xD800, lowNext = i + 1 < name.size() && (name[i + 1] & 0xFC00) == 0xDC00;
    if ((name[i] & 0xFC00) == 0xDC00 || (high && !lowNext)) return false;
    i += high ? 1 : 0;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZoomSettings read;
  read.curveValues = {0, 20, 40, 60, 80, 100};
  applySettingsText(std::string_view(reinterpret_cast<const char*>(data), size), read);
  ZoomSettings back;
  applySettingsText(settingsFileText(read), back);
  require(back.curveValues == read.curveValues, "curve round trip");
  require(back.inverted == read.inverted && back.chaseCamera == read.chaseCamera &&
              back.cockpitCamera == read.cockpitCamera && back.curvesEnabled == read.curvesEnabled &&
              back.autostart == read.autostart,
          "flag round trip");
  if (read.axis.find(L'\r') == std::wstring::npos) require(back.axis == read.axis, "axis round trip");
  // A driver's name comes in any script.
  read.axis.clear();
  for (std::size_t i = 0; i + 1 < size; i += 2) read.axis.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
  applySettingsText(settingsFileText(read), back);
  if (storable(read.axis)) require(back.axis == read.axis, "name round trip");
  return 0;
}
