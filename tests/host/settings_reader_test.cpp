// The tolerant reading of the settings file's lines and curve values.
#include <gtest/gtest.h>

#include <sstream>

#include "settings/settings_text.h"

using namespace std::string_literals;

namespace {
std::string narrow(const std::wstring& text) {
  std::ostringstream out;
  for (const wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out << static_cast<char>(c);
    } else {
      out << "\\x" << std::hex << static_cast<unsigned>(c) << std::dec;
    }
  }
  return out.str();
}

std::string describe(const ZoomSettings& s) {
  std::ostringstream out;
  out << "device=" << narrow(s.device) << " axis=" << narrow(s.axis) << " inverted=" << s.inverted
      << " chase=" << s.chaseCamera << " cockpit=" << s.cockpitCamera << " curves=" << s.curvesEnabled
      << " autostart=" << s.autostart << " values=" << narrow(curveValuesText(s.curveValues))
      << " count=" << s.curveValues.size();
  return out.str();
}

// Presets unlike anything a file would set by accident: every flag the other way round.
ZoomSettings presets() {
  ZoomSettings s;
  s.device = L"preset device";
  s.axis = L"preset axis";
  s.inverted = true;
  s.chaseCamera = false;
  s.cockpitCamera = false;
  s.curvesEnabled = true;
  s.curveValues = {1, 2, 3, 4, 5, 6, 7};
  s.autostart = true;
  return s;
}

ZoomSettings read(const std::string& text) {
  ZoomSettings s = presets();
  applySettingsText(text, s);
  return s;
}

template <typename Change>
ZoomSettings presetsWith(Change change) {
  ZoomSettings s = presets();
  change(s);
  return s;
}

const std::wstring guid = L"{3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}";
}  // namespace

TEST(SettingsReader, LinesSplitAtTheFirstColonTrimmedWithLowerCaseKeys) {
  const struct {
    std::wstring line, key, value;
  } cases[] = {
      {L"Device: {AB}", L"device", L"{AB}"},
      {L"  Device :  {3c9a}  ", L"device", L"{3c9a}"},
      {L"Axis: Z: Rotation", L"axis", L"Z: Rotation"},
      {L"\t\v\fCurveVals\r:\n 1, 2 \f", L"curvevals", L"1, 2"},
      {L"autostart", L"autostart", L"autostart"},
      {L"  Mixed CASE  ", L"mixed case", L"Mixed CASE"},
      {L":", L"", L""},
      {L"", L"", L""},
      {L" \t ", L"", L""},
      {L"K\u00c4Y\u0130: v", L"k\u00c4y\u0130", L"v"},  // only A to Z change case
      {L"\xA0Key\xA0: v", L"\xA0key\xA0", L"v"},        // a no-break space is no white space here
  };
  for (const auto& c : cases) {
    std::wstring key = L"old";
    std::wstring value = L"old";
    splitSettingsLine(c.line, key, value);
    EXPECT_EQ(narrow(key), narrow(c.key)) << narrow(c.line);
    EXPECT_EQ(narrow(value), narrow(c.value)) << narrow(c.line);
  }
}

TEST(SettingsReader, FilesSetWhatTheirKeysNameAndNothingElse) {
  const std::pair<std::string, ZoomSettings> cases[] = {
      {"", presets()},
      {"  Device :  {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}  ", presetsWith([](ZoomSettings& s) { s.device = guid; })},
      {"device: {3c9a5e27-81b4-4f6d-a2e0-5b7c19d4e8f3}",
       presetsWith([](ZoomSettings& s) { s.device = L"{3c9a5e27-81b4-4f6d-a2e0-5b7c19d4e8f3}"; })},
      {"Axis: Z: Rotation", presetsWith([](ZoomSettings& s) { s.axis = L"Z: Rotation"; })},
      {"Axis: Schieber \xe4\xff", presetsWith([](ZoomSettings& s) { s.axis = L"Schieber \u00e4\u00ff"; })},
      {"Device: \r\nAxis:", presetsWith([](ZoomSettings& s) { s.device = s.axis = L""; })},
      {"INVERTED:1\nChaseCamera: 1\ncockpitcamera:1",
       presetsWith([](ZoomSettings& s) { s.inverted = s.chaseCamera = s.cockpitCamera = true; })},
      {"Inverted: yes", presetsWith([](ZoomSettings& s) { s.inverted = false; })},
      {"Inverted: 2", presetsWith([](ZoomSettings& s) { s.inverted = false; })},
      {"Inverted:", presetsWith([](ZoomSettings& s) { s.inverted = false; })},
      {"Inverted: true\r\nAutostart: 01\r\nCurvesEnabled: 1 1",
       presetsWith([](ZoomSettings& s) { s.inverted = s.autostart = s.curvesEnabled = false; })},
      {"autostart", presetsWith([](ZoomSettings& s) { s.autostart = false; })},
      {"AUTOSTART: 0\nautostart:1", presets()},
      {"Autostart: 0\r\nAutostart: 1\r\nAutostart: 0", presetsWith([](ZoomSettings& s) { s.autostart = false; })},
      {"CurveVals:", presetsWith([](ZoomSettings& s) { s.curveValues.clear(); })},
      {"CurveVals: 9,9\r\nCurveVals: ,,", presetsWith([](ZoomSettings& s) { s.curveValues.clear(); })},
      {"CurveVals: 0, 50 ,100", presetsWith([](ZoomSettings& s) {
         s.curveValues = {0, 50, 100};
       })},
      {"CurveVals: 10 20", presetsWith([](ZoomSettings& s) { s.curveValues = {10}; })},
      {"CurveVals: 7x", presetsWith([](ZoomSettings& s) { s.curveValues = {7}; })},
      {"Version: 2\nColour: red\n# Axis: X\nDevice", presetsWith([](ZoomSettings& s) { s.device = L"Device"; })},
      {"Axis: A\n\n\nAxis: B\n", presetsWith([](ZoomSettings& s) { s.axis = L"B"; })},
      {"Axis: A\r\r\nInverted: 0\r", presetsWith([](ZoomSettings& s) {
         s.axis = L"A";
         s.inverted = false;
       })},
      {"Axis: A\rInverted: 0", presetsWith([](ZoomSettings& s) { s.axis = L"A\rInverted: 0"; })},
      {"Axis: nul\0inside"s, presetsWith([](ZoomSettings& s) { s.axis = std::wstring(L"nul\0inside", 10); })},
      {"\xEF\xBB\xBF"
       "Device: {AB}\r\nAxis: X",
       presetsWith([](ZoomSettings& s) { s.axis = L"X"; })},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(describe(read(text)), describe(expected)) << text;
}

TEST(SettingsReader, HandEditedFormsReadLikeTheWrittenOne) {
  const std::string written =
      "Device: {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}\r\nAxis: Slider\r\nInverted: 0\r\nChaseCamera: 0\r\n"
      "CockpitCamera: 1\r\nCurvesEnabled: 1\r\nCurveVals: 0,12,30,52,75,100\r\nAutostart: 1";
  const std::string edited[] = {
      "Device: {3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}\nAxis: Slider\nInverted: 0\nChaseCamera: 0\n"
      "CockpitCamera: 1\nCurvesEnabled: 1\nCurveVals: 0,12,30,52,75,100\nAutostart: 1\n",
      "AUTOSTART: 1\r\ncurvevals:0 , 12,30,52 ,75,100,\r\nCURVESENABLED :1\r\n\r\n cockpitCamera:1\r\n"
      "chasecamera : 0\r\ninverted\t: 0\r\naxis:Slider\r\ndevice:{3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}\r\n",
  };
  const ZoomSettings expected = read(written);
  EXPECT_EQ(describe(expected), describe(presetsWith([](ZoomSettings& s) {
              s.device = guid;
              s.axis = L"Slider";
              s.inverted = s.chaseCamera = false;
              s.cockpitCamera = s.curvesEnabled = s.autostart = true;
              s.curveValues = {0, 12, 30, 52, 75, 100};
            })));
  for (const std::string& text : edited) EXPECT_EQ(describe(read(text)), describe(expected)) << text;
}

TEST(SettingsReader, Utf16FileMatchesNoKey) {
  const std::string text = "Device: X\r\nAutostart: 0\r\nInverted: 0\r\nCurveVals: 5";
  std::string utf16le = "\xFF\xFE";
  std::string utf16be = "\xFE\xFF";
  for (const char c : text) {
    utf16le += std::string{c, '\0'};
    utf16be += std::string{'\0', c};
  }
  EXPECT_EQ(describe(read(utf16le)), describe(presets()));
  EXPECT_EQ(describe(read(utf16be)), describe(presets()));
}

TEST(SettingsReader, CurveValuesFollowTheIntegerConversionRules) {
  const std::pair<std::wstring, std::vector<int>> cases[] = {
      {L"0,12,30", {0, 12, 30}},
      {L"10, 20 ,30", {10, 20, 30}},
      {L",,5,,7,", {5, 7}},
      {L"", {}},
      {L",,,", {}},
      {L"+5,-0,007,\t\v-3", {5, 0, 7, -3}},
      {L"2147483647,-2147483648", {2147483647, -2147483647 - 1}},
      {L"000000000000000000000042", {42}},
      {L"12abc,3.9,4e5,5-6", {12, 3, 4, 5}},
      {L"0x1F", {0}},
  };
  for (const auto& [text, expected] : cases) {
    std::vector<int> values = {99};
    EXPECT_TRUE(parseCurveValues(text, values)) << narrow(text);
    std::vector<int> withPrefix = {99};
    withPrefix.insert(withPrefix.end(), expected.begin(), expected.end());
    EXPECT_EQ(values, withPrefix) << narrow(text);
  }
}

TEST(SettingsReader, DamagedCurveListsAppendNothing) {
  const std::wstring damaged[] = {
      L"a,b",
      L"1, ,2",
      L"1,-,2",
      L"1,+",
      L"2147483648",
      L"-2147483649",
      L"99999999999999999999",
      L"1,x2",
      L"5,\xA0"
      L"6",
      L"1,2,3,\x663",
      L"\x2003"
      L"4",
  };
  for (const std::wstring& text : damaged) {
    std::vector<int> values = {99, 98};
    EXPECT_FALSE(parseCurveValues(text, values)) << narrow(text);
    EXPECT_EQ(values, (std::vector<int>{99, 98})) << narrow(text);
  }
}

TEST(SettingsReader, DamagedCurveLineKeepsTheCurveBeforeIt) {
  const std::pair<std::string, std::vector<int>> cases[] = {
      {"CurveVals: 0,a,100", {1, 2, 3, 4, 5, 6, 7}},
      {"CurveVals: 10,20,30\r\nCurveVals: 40, ,60", {10, 20, 30}},
      {"CurveVals: 40,99999999999\r\nCurveVals: 1,2", {1, 2}},
      {"CurveVals: -2147483649", {1, 2, 3, 4, 5, 6, 7}},
  };
  for (const auto& [text, expected] : cases) {
    const ZoomSettings s = read(text + "\r\nAxis: after");
    EXPECT_EQ(s.curveValues, expected) << text;
    EXPECT_EQ(s.axis, L"after") << text;
  }
}

TEST(SettingsReader, WrittenFilesReadBackUnchanged) {
  ZoomSettings example;
  example.device = guid;
  example.axis = L"Slider";
  example.chaseCamera = false;
  example.curvesEnabled = true;
  example.curveValues = {0, 12, 30, 52, 75, 100};
  example.autostart = true;
  ZoomSettings odd;
  odd.axis = L"Z: Rotation \u00e9";
  odd.inverted = true;
  odd.cockpitCamera = false;
  odd.curveValues = {-2147483647 - 1, -1, 0, 2147483647, 1000};
  ZoomSettings single;
  single.curveValues = {50};
  for (const ZoomSettings& original : {example, odd, single, ZoomSettings{}}) {
    EXPECT_EQ(describe(read(settingsFileText(original))), describe(original));
  }
}

TEST(SettingsReader, CutReadsKeepWholeLinesOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Axis: Sli", ""},
      {"Axis: X\r\nInvert", "Axis: X\r\n"},
      {"Axis: X\nInverted: 1\n", "Axis: X\nInverted: 1\n"},
  };
  for (const auto& [bytes, kept] : cases) EXPECT_EQ(wholeLines(bytes), kept) << bytes;
}
