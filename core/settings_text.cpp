#include "core/settings_text.h"

#include <cstdint>

namespace {
bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The length of the well-formed UTF-8 sequence at bytes[at], with its code point; 0 when it is ill-formed
// (a stray continuation byte, an overlong form, a surrogate, past U+10FFFF or cut off).
std::size_t utf8Sequence(std::string_view bytes, std::size_t at, char32_t& code) {
  const unsigned lead = static_cast<unsigned char>(bytes[at]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  code = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned next = static_cast<unsigned char>(bytes[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = code << 6 | (next & 0x3F);
  }
  constexpr char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
  return code < lowest[length] || code > 0x10FFFF || isSurrogate(code) ? 0 : length;
}

// Text in a Western code page almost never forms UTF-8 beyond ASCII by chance, and ASCII reads the same
// either way: well-formed UTF-8 is taken as UTF-8, anything else one character a byte.
bool isUtf8(std::string_view bytes) {
  char32_t code = 0;
  for (std::size_t at = 0, length = 0; at < bytes.size(); at += length) {
    length = utf8Sequence(bytes, at, code);
    if (length == 0) return false;
  }
  return true;
}

void appendUtf8(std::string& out, char32_t code) {
  const int length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  const unsigned lead = length == 1 ? 0 : (0xFF00u >> length) & 0xFF;
  out.push_back(static_cast<char>(lead | code >> (6 * (length - 1))));
  for (int i = length - 2; i >= 0; --i) out.push_back(static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F)));
}

// Wide text is UTF-16 here on every system, so that the native tests see what Windows sees.
void appendUtf16(std::wstring& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<wchar_t>(code));
    return;
  }
  out.push_back(static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10)));
  out.push_back(static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
}

// The characters of a value that the file can hold. CR and LF become "?": a driver's axis name must not
// break its line and pose as another key. Half a surrogate pair has no code point and becomes "?" too.
std::u32string storableCharacters(std::wstring_view text) {
  std::u32string codes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = static_cast<char32_t>(text[i]);
    const bool pairStart =
        c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (pairStart) {
      codes.push_back(0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00));
      continue;
    }
    codes.push_back(c == U'\r' || c == U'\n' || isSurrogate(c) || c > 0xFFFF ? U'?' : c);
  }
  return codes;
}

// One byte per character when every character has one, so that files of Western names stay as they always
// were; otherwise UTF-8. Latin-1 bytes that would read back as UTF-8, and so as other characters, go as
// UTF-8 too: then every value reads back as it was written.
void appendValue(std::string& out, std::wstring_view text) {
  const std::u32string codes = storableCharacters(text);
  const std::size_t start = out.size();
  bool oneByteEach = true;
  for (const char32_t c : codes) oneByteEach = oneByteEach && c <= 0xFF;
  if (oneByteEach) {
    for (const char32_t c : codes) out.push_back(static_cast<char>(c));
    if (!isUtf8(std::string_view(out).substr(start))) return;
    out.resize(start);
  }
  for (const char32_t c : codes) appendUtf8(out, c);
}

// A line as characters: UTF-8 when its bytes are, else one character a byte (ISO 8859-1). A key is ASCII, so
// the line decides as its value alone would.
void decodeLine(std::string_view raw, std::wstring& line) {
  line.clear();
  const bool utf8 = isUtf8(raw);
  for (std::size_t at = 0; at < raw.size();) {
    char32_t code = static_cast<unsigned char>(raw[at]);
    at += utf8 ? utf8Sequence(raw, at, code) : 1;
    appendUtf16(line, code);
  }
}

void appendLine(std::string& out, const char* literal, std::wstring_view value) {
  out += literal;
  appendValue(out, value);
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
  // Editors that save "UTF-8 with BOM" put these three bytes in front of the first key.
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::size_t start = 0;
  std::wstring line;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r' && end < bytes.size()) raw.remove_suffix(1);  // CR LF is one break
    decodeLine(raw, line);
    applySettingsLine(line, settings);
    start = end + 1;
  }
}

std::string_view wholeLines(std::string_view bytes) {
  const std::size_t lastBreak = bytes.rfind('\n');
  return lastBreak == std::string_view::npos ? std::string_view() : bytes.substr(0, lastBreak + 1);
}
