// libFuzzer target: any bytes as a settings file, through the reader and the writer. Besides the sanitizers,
// what was read must read back the same once written.
#include <cstdint>
#include <string>

#include "core/settings_text.h"
#include "require.h"

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
  return 0;
}
