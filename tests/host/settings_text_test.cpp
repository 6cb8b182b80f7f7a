// The settings file's text: what a file sets when read, the bytes the writer makes, and both together.
#include <gtest/gtest.h>

#include <sstream>

#include "core/settings_text.h"

using namespace std::string_literals;

namespace {
// The settings in one line: device|axis|flags inverted, chase, cockpit, curves, autostart|curve values.
std::string describe(const ZoomSettings& s) {
  std::ostringstream out;
  for (const wchar_t c : s.device + L"|" + s.axis + L"|") {
    if (c >= 0x20 && c < 0x7F) out << static_cast<char>(c);
    if (c < 0x20 || c >= 0x7F) out << "\\x" << std::hex << static_cast<unsigned>(c) << std::dec;
  }
  out << s.inverted << s.chaseCamera << s.cockpitCamera << s.curvesEnabled << s.autostart << "|";
  for (const char c : curveValuesText(s.curveValues)) out << c;
  return out.str();
}

// Presets unlike anything a file would set by accident: every flag the other way round.
ZoomSettings presets() { return {L"D", L"A", true, false, false, true, {7}, true}; }

std::string read(const std::string& text) {
  ZoomSettings s = presets();
  applySettingsText(text, s);
  return describe(s);
}

std::string utf16(const std::string& text, bool littleEndian) {
  std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char c : text) out += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
  return out;
}
}  // namespace

TEST(SettingsText, FilesSetWhatTheirWholeKeysNameAndNothingElse) {
  const std::string guid = "{3C9A5E27-81B4-4F6D-A2E0-5B7C19D4E8F3}";
  const std::pair<std::string, std::string> cases[] = {
      {"", "D|A|10011|7"},
      {"  Device :  " + guid + "  ", guid + "|A|10011|7"},
      {"device: {3c9a5e27-81b4}\nAXIS:Z: Rotation", "{3c9a5e27-81b4}|Z: Rotation|10011|7"},
      {"Axis: Schieber \xe4\xfc\xdf", "D|Schieber \\xe4\\xfc\\xdf|10011|7"},
      {"Device: \r\nAxis:", "||10011|7"},
      {"INVERTED:0\nChaseCamera: 1\ncockpitcamera:1\n\tcurvesENABLED \f: \v0\r\nautostart : 0", "D|A|01100|7"},
      {"Inverted: yes\r\nChaseCamera: 2\r\nCockpitCamera:\r\nCurvesEnabled: 1 1\r\nAutostart: 01", "D|A|00000|7"},
      {"autostart", "D|A|10010|7"},
      {"AUTOSTART: 0\nautostart:1", "D|A|10011|7"},
      {"Devices: X\nAxisName: Y\nInvertedX: 0\nAutostarted: 0\nCurveValues: 1,2", "D|A|10011|7"},
      {"Axis: A\r\r\nInverted: 0\r", "D|A|00011|7"},
      {"Axis: A\rInverted: 0", "D|A\\xdInverted: 0|10011|7"},
      {"Axis: nul\0inside"s, "D|nul\\x0inside|10011|7"},
      // UTF-8 beyond ASCII reads as UTF-8 (a character past U+FFFF as a surrogate pair), anything else as Latin-1.
      {"Device: \xF4\x8F\xBF\xBF\r\nAxis: \xD0\x9E\xD1\x81\xD1\x8C Z", "\\xdbff\\xdfff|\\x41e\\x441\\x44c Z|10011|7"},
      {"Device: O\xC5\x9B X\r\nAxis: \xEF\xBC\xB8\xE8\xBB\xB8", "O\\x15b X|\\xff38\\x8ef8|10011|7"},
      {"Device: \xC3\xA9\xE0\x80\xAF\r\nAxis: \xED\xA0\x80", "\\xc3\\xa9\\xe0\\x80\\xaf|\\xed\\xa0\\x80|10011|7"},
      {"Device: \xF4\x90\x80\x80\r\nAxis: \xE8\xBB", "\\xf4\\x90\\x80\\x80|\\xe8\\xbb|10011|7"},
      // A byte-order mark is skipped in front only.
      {"\xEF\xBB\xBF"s + "Device: {AB}\r\n\xEF\xBB\xBFInverted: 0\r\nAxis: X", "{AB}|X|10011|7"},
      {utf16("Device: X\r\nInverted: 0\r\nCurveVals: 5", true) + utf16("Axis: Y", false), "D|A|10011|7"},
      {"CurveVals:", "D|A|10011|"},
      {"CurveVals: 0, 50 ,100", "D|A|10011|0,50,100"},
      {"CurveVals: ,,5,,7,\r\nCurveVals: 10 20", "D|A|10011|10"},
      {"CurveVals: +5,-0,007,\t\v-3,2147483647,-2147483648", "D|A|10011|5,0,7,-3,2147483647,-2147483648"},
      {"CurveVals: 12abc,3.9,4e5,5-6,0x1F,000000000000000000000042", "D|A|10011|12,3,4,5,0,42"},
      // A damaged list keeps the curve there was.
      {"CurveVals: 10,20\r\nCurveVals: 1, ,2\r\nCurveVals: a,b\r\nCurveVals: 1,-,2\r\nCurveVals: 1,+\r\n"
       "CurveVals: 2147483648\r\nCurveVals: -2147483649\r\nCurveVals: 99999999999999999999\r\nCurveVals: 5,\xA0"
       "6\r\nAxis: after",
       "D|after|10011|10,20"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(read(text), expected) << text;
}

TEST(SettingsText, WriterKeepsOneByteACharacterWhereAllFitAndEveryValueOnItsLine) {
  ZoomSettings settings;
  const std::pair<std::wstring, std::string> axes[] = {
      {L"Schieberegler \u00e4\u00ff", "Schieberegler \xe4\xff"},
      {L"\u00c3\u00a9", "\xc3\x83\xc2\xa9"},  // one byte each, these would read back as UTF-8
      {L"\u041e\u0441\u044c Z", "\xd0\x9e\xd1\x81\xd1\x8c Z"},
      {L"O\u015b X \uff38\u8ef8", "O\xc5\x9b X \xef\xbc\xb8\xe8\xbb\xb8"},
      {L"\xD83C\xDFAE pad", "\xf0\x9f\x8e\xae pad"},  // a surrogate pair is one character
      {L"\xD800 lone", "? lone"},
      {L"Slider\r\nDevice: {0} \u0416", "Slider??Device: {0} \xd0\x96"},
  };
  for (const auto& [axis, bytes] : axes) {
    settings.axis = axis;
    EXPECT_EQ(settingsFileText(settings).substr(16, bytes.size() + 2), bytes + "\r\n");
  }
  settings.curveValues = {-5, 0, 105, 2147483647, -2147483647 - 1};
  const std::string text = settingsFileText(settings);
  EXPECT_EQ(text.substr(text.find("CurveVals")), "CurveVals: -5,0,105,2147483647,-2147483648\r\nAutostart: 0");
}

TEST(SettingsText, CutReadsKeepWholeLines) {
  const std::pair<std::string, std::string> cuts[] = {
      {"Axis: Sli", ""}, {"Axis: X\r\nInvert", "Axis: X\r\n"}, {"Axis: X\nInverted: 1\n", "Axis: X\nInverted: 1\n"}};
  for (const auto& [bytes, kept] : cuts) EXPECT_EQ(wholeLines(bytes), kept) << bytes;
}
