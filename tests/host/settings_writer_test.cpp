// The settings file's bytes as the writer produces them.
#include <gtest/gtest.h>

#include "settings/settings_text.h"

namespace {
std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
  return text;
}

// The file's lines, split at CR LF.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}
}  // namespace

TEST(SettingsWriter, WorkedExampleComesOutByteForByte) {
  ZoomSettings settings;
  settings.device = L"{3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}";
  settings.axis = L"Slider";
  settings.inverted = false;
  settings.chaseCamera = false;
  settings.cockpitCamera = true;
  settings.curvesEnabled = true;
  settings.curveValues = {0, 12, 30, 52, 75, 100};
  settings.autostart = true;
  const std::string text = settingsFileText(settings);
  EXPECT_EQ(text,
            joined({"Device: {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}", "Axis: Slider", "Inverted: 0", "ChaseCamera: 0",
                    "CockpitCamera: 1", "CurvesEnabled: 1", "CurveVals: 0,12,30,52,75,100", "Autostart: 1"}));
  EXPECT_EQ(text.size(), 169u);
}

TEST(SettingsWriter, EmptyChoicesEndTheirLinesInTheBlank) {
  const ZoomSettings defaults;
  EXPECT_EQ(settingsFileText(defaults),
            joined({"Device: ", "Axis: ", "Inverted: 0", "ChaseCamera: 1", "CockpitCamera: 1", "CurvesEnabled: 0",
                    "CurveVals: ", "Autostart: 0"}));
}

TEST(SettingsWriter, CurveListsInDecimalJoinedByCommas) {
  const std::pair<std::vector<int>, std::string> cases[] = {
      {{}, "CurveVals: "},
      {{42}, "CurveVals: 42"},
      {{0, 20, 40, 60, 80, 100}, "CurveVals: 0,20,40,60,80,100"},
      {{-5, 0, 105}, "CurveVals: -5,0,105"},
      {{2147483647, -2147483647 - 1}, "CurveVals: 2147483647,-2147483648"},
  };
  for (const auto& [values, line] : cases) {
    ZoomSettings settings;
    settings.curveValues = values;
    EXPECT_EQ(linesOf(settingsFileText(settings))[6], line);
  }
}

TEST(SettingsWriter, AxisNamesKeepOneByteACharacterAndTheirLine) {
  const std::pair<std::wstring, std::string> cases[] = {
      {L"Z: Rotation", "Axis: Z: Rotation"},
      {L"Schieberegler \u00e4\u00ff", "Axis: Schieberegler \xe4\xff"},
      {L"\u0420\u0443\u043b\u044c X", "Axis: ???? X"},
      {L"\U0001F3AE pad", "Axis: ? pad"},  // a surrogate pair is one character
      {L"\xD800 lone", "Axis: ? lone"},
      {L"Slider\r\nDevice: {0}", "Axis: Slider??Device: {0}"},
      {L"Dial\nAutostart: 1", "Axis: Dial?Autostart: 1"},
  };
  for (const auto& [axis, line] : cases) {
    ZoomSettings settings;
    settings.axis = axis;
    const std::vector<std::string> lines = linesOf(settingsFileText(settings));
    ASSERT_EQ(lines.size(), 8u) << line;
    EXPECT_EQ(lines[1], line);
    EXPECT_EQ(lines[7], "Autostart: 0") << line;
  }
}
