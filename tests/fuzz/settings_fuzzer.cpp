// libFuzzer target: any bytes as a settings file, through the reader and the writer. Besides the sanitizers,
// what was read must read back the same once written, and so must the same bytes taken as a UTF-16 name.
#include <cstdint>
#include <string>

#include "core/settings_text.h"
#include "require.h"

namespace {
// What a line keeps as it is: no line break, no half of a surrogate pair.
bool storable(const std::wstring& name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool pair = (name[i] & 0xFC00) == 0xD800 && i + 1 < name.size() && (name[i + 1] & 0xFC00) == 0xDC00;
    if (name[i] == L'\r' || name[i] == L'\n' || ((name[i] & 0xF800) == 0xD800 && !pair)) return false;
    i += pair ? 1 : 0;
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
  // A driver's name comes in any script; the brackets keep white space off its ends, where reading trims it.
  read.axis = L"[";
  for (std::size_t i = 0; i + 1 < size; i += 2) read.axis.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
  read.axis += L']';
  applySettingsText(settingsFileText(read), back);
  if (storable(read.axis)) require(back.axis == read.axis, "name round trip");
  return 0;
}
