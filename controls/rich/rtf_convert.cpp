// The rich text control's text rules, all on the RTF source text.
#include "controls/rich/rtf_convert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/text.h"
#include "core/utf16.h"
#include "services/field_list.h"

namespace orvalis::controls {
namespace {

constexpr std::string_view kPictureStart = "{\\pict\\wmetafile8";
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit in either case, or -1.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The digits at `pos` as a number, saturating instead of overflowing.
int DigitsAt(std::string_view text, std::size_t pos) {
  std::int64_t value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    value = std::min<std::int64_t>(value * 10 + (text[pos] - '0'), INT32_MAX);
    ++pos;
  }
  return int(value);
}

// A matcher that advances on the next character of its pattern and falls back
// to 0 on any other character; complete once the whole pattern has been seen.
class Counter {
 public:
  explicit Counter(std::string_view pattern) : pattern_(pattern) {}
  // True when `c` completes the pattern; the counter then starts again.
  bool Step(char c) {
    if (c != pattern_[count_]) {
      count_ = 0;
      return false;
    }
    if (++count_ < pattern_.size()) return false;
    count_ = 0;
    return true;
  }
  void Reset() { count_ = 0; }

 private:
  std::string_view pattern_;
  std::size_t count_ = 0;
};

// Code page 1252 for U+0080..U+009F's printable stand-ins; 0 where the code
// page has no character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code page 1252 byte of a character, or -1.
int Cp1252Byte(char32_t c) {
  if (c >= 0xA0 && c <= 0xFF) return int(c);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] != 0 && kCp1252High[i] == c) return 0x80 + i;
  return -1;
}

void AppendByteEscape(std::string& out, unsigned char b) {
  out += "\\'";
  out += kHexDigits[b >> 4];
  out += kHexDigits[b & 15];
}

void AppendUnicodeEscape(std::string& out, char16_t unit) {
  out += "\\u";
  out += std::to_string(int(std::int16_t(unit)));
  out += '?';
}

// True when `text` holds "\pict" as a control word, not as the escaped
// backslash "\\pict" of plain text.
bool HoldsPictControlWord(std::string_view text) {
  for (std::size_t pos = text.find("\\pict"); pos != std::string_view::npos; pos = text.find("\\pict", pos + 1))
    if (pos == 0 || text[pos - 1] != '\\') return true;
  return false;
}

// The header "{\pict...\picw..\pich..[\picwgoal..\pichgoal..]" ends at the
// first character that is neither a control word nor white space.
std::size_t SkipPictureHeader(std::string_view rtf, std::size_t pos, std::size_t end) {
  while (pos < end) {
    const char c = rtf[pos];
    if (c == ' ' || c == '\r' || c == '\n' || c == '\t') {
      ++pos;
    } else if (c == '\\') {
      ++pos;
      while (pos < end && ((rtf[pos] >= 'a' && rtf[pos] <= 'z') || (rtf[pos] >= 'A' && rtf[pos] <= 'Z'))) ++pos;
      if (pos < end && rtf[pos] == '-') ++pos;
      while (pos < end && IsDigit(rtf[pos])) ++pos;
    } else {
      break;
    }
  }
  return pos;
}

// The number after the first `word` inside [from, end) that is followed by a digit.
int ControlWordValue(std::string_view rtf, std::string_view word, std::size_t from, std::size_t end) {
  for (std::size_t pos = rtf.find(word, from); pos != std::string_view::npos && pos < end;
       pos = rtf.find(word, pos + 1)) {
    const std::size_t digits = pos + word.size();
    if (digits < end && IsDigit(rtf[digits])) return DigitsAt(rtf, digits);
  }
  return 0;
}

}  // namespace

bool IsRtf(std::string_view text) {
  return text.size() > 5 && UpperCase(text.substr(0, 5)) == "{\\RTF";
}

bool IsHtml(std::string_view text) {
  if (text.size() > 6 && LowerCase(text.substr(0, 6)) == "<html>") return true;
  return text.size() >= 21 && LowerCase(text.substr(0, 14)) == "<!doctype html";
}

std::string HtmlToRtf(std::string_view html) {
  std::string s(html);
  std::size_t body = LowerCase(s).find("<body>");
  if (body == std::string::npos) return {};
  s.erase(0, body + 6);
  if (s.empty()) return {};
  const std::size_t bodyEnd = LowerCase(s).find("</body>");
  if (bodyEnd == std::string::npos) return {};
  s.erase(bodyEnd);
  if (s.empty()) return {};

  std::string out;
  out.reserve(s.size());
  bool doubleQuoted = false;
  bool singleQuoted = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      doubleQuoted = !doubleQuoted;
      out += c;
      continue;
    }
    if (c == '\'') {
      singleQuoted = !singleQuoted;
      out += c;
      continue;
    }
    if (doubleQuoted || singleQuoted) {
      out += c;
      continue;
    }
    if (c == '<') {
      // The tag runs to the next ">" (to the end when there is none).
      std::size_t close = s.find('>', i);
      if (close == std::string::npos) close = s.size() - 1;
      const std::string tag = LowerCase(std::string_view(s).substr(i, close - i + 1));
      if (tag == "<br>" || tag == "</br>") out += "\\par ";
      else if (tag == "</p>") out += "\\par\\par ";
      else if (tag.size() == 4 && tag[1] == 'h' && tag[2] >= '1' && tag[2] <= '4' && tag[3] == '>') out += "\\b ";
      else if (tag.size() == 5 && tag[1] == '/' && tag[2] == 'h' && tag[3] >= '1' && tag[3] <= '4' && tag[4] == '>')
        out += "\\b0\\par ";
      i = close;
      continue;
    }
    if (c == '\r' || c == '\n' || c == '\t') continue;
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  if (out.empty()) return {};
  return "{\\rtf1 " + out + "\\par}";
}

std::string MarkPageBreaks(std::string_view rtf) {
  static constexpr std::string_view kProtected = "\\protect [NEWPAGE]\\protect0 ";
  std::string s(rtf);
  Counter protect("\\protect "), unprotect("\\protect0 "), page("\\page ");
  bool inside = false;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (protect.Step(c)) inside = true;
    if (unprotect.Step(c)) inside = false;
    if (page.Step(c)) {
      // Scanning goes on over the inserted text, so its "\protect " and
      // "\protect0 " count as well.
      const std::size_t start = i + 1 - 6;
      s.replace(start, 6, inside ? kPageBreakMarker : kProtected);
      protect.Reset();
      unprotect.Reset();
      i = start;
      continue;
    }
    ++i;
  }
  return s;
}

std::string UnmarkPageBreaks(std::string_view rtf) {
  std::string s(rtf);
  Counter protect("protect "), unprotect("protect0 ");
  bool inside = false;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (protect.Step(c)) inside = true;
    if (unprotect.Step(c)) inside = false;
    if (c == '[' && inside) {
      const std::size_t close = s.find(']', i);
      if (close != std::string::npos && std::string_view(s).substr(i + 1, close - i - 1) == "NEWPAGE") {
        s.replace(i, close - i + 1, "\\page ");
        i += 6;
        continue;
      }
    }
    ++i;
  }
  return s;
}

std::string JoinRtfDocuments(std::string rtf) {
  std::size_t from = 0;
  for (std::size_t pos; (pos = rtf.find("}{\\rtf", from)) != std::string::npos;) {
    rtf.erase(pos, 2);
    from = pos >= 2 ? pos - 2 : 0;  // the deletion may have made a new "}{\rtf"
  }
  return rtf;
}

RichTextLoad PrepareRichText(std::string_view text) {
  std::string s = IsHtml(text) ? HtmlToRtf(text) : std::string(text);
  if (!IsRtf(s)) return {false, std::move(s)};
  return {true, JoinRtfDocuments(MarkPageBreaks(s))};
}

std::string RemoveBulletText(std::string_view rtf) {
  static constexpr std::string_view kHead = "\\par {\\pntext\\f";
  static constexpr std::string_view kTail = "\\'b7\\tab}\\pard";
  std::string s(rtf);
  for (std::size_t pos = s.find(kHead); pos != std::string::npos; pos = s.find(kHead, pos + 1)) {
    std::size_t p = pos + kHead.size();
    const std::size_t digits = p;
    while (p < s.size() && IsDigit(s[p])) ++p;
    if (p == digits) continue;
    if (LowerCase(std::string_view(s).substr(p, kTail.size())) != kTail) continue;
    s.replace(pos, p + kTail.size() - pos, "\\par \\pard");
  }
  return s;
}

int PictureCount(std::string_view rtf) {
  int count = 0;
  for (std::size_t pos = rtf.find(kPictureStart); pos != std::string_view::npos;
       pos = rtf.find(kPictureStart, pos + 1))
    ++count;
  return count;
}

std::optional<PictureSpan> FindPicture(std::string_view rtf, int index) {
  if (index < 0) return std::nullopt;
  std::size_t pos = rtf.find(kPictureStart);
  for (int k = 0; k < index && pos != std::string_view::npos; ++k) pos = rtf.find(kPictureStart, pos + 1);
  if (pos == std::string_view::npos) return std::nullopt;
  const std::size_t close = rtf.find('}', pos);
  if (close == std::string_view::npos) return std::nullopt;
  return PictureSpan{pos, close};
}

std::string PictureText(std::string_view metafileBits, int widthPixels, int heightPixels, int dpiX, int dpiY) {
  if (metafileBits.empty()) return {};
  if (dpiX <= 0) dpiX = 96;
  if (dpiY <= 0) dpiY = 96;
  auto scale = [](int pixels, int unitsPerInch, int dpi) {
    return std::lround(double(pixels) * unitsPerInch / dpi);
  };
  const long w = scale(widthPixels, 2540, dpiX), h = scale(heightPixels, 2540, dpiY);
  const long wGoal = scale(widthPixels, 1440, dpiX), hGoal = scale(heightPixels, 1440, dpiY);
  std::string out = std::string(kPictureStart) + "\\picw" + std::to_string(w) + "\\pich" + std::to_string(h);
  if (wGoal < 32768 && hGoal < 32768)
    out += "\\picwgoal" + std::to_string(wGoal) + "\\pichgoal" + std::to_string(hGoal);
  out += "\r\n";
  out.reserve(out.size() + metafileBits.size() * 2 + 3);
  for (char c : metafileBits) {
    const auto b = static_cast<unsigned char>(c);
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 15];
  }
  out += "}\r\n";
  return out;
}

std::optional<MetafileData> ReadPicture(std::string_view rtf, PictureSpan span) {
  if (span.end >= rtf.size() || span.start >= span.end || rtf[span.start] != '{') return std::nullopt;
  MetafileData data;
  data.width = ControlWordValue(rtf, "\\picw", span.start, span.end);
  data.height = ControlWordValue(rtf, "\\pich", span.start, span.end);
  int high = -1;
  for (std::size_t i = SkipPictureHeader(rtf, span.start + 1, span.end); i < span.end; ++i) {
    const int v = HexValue(rtf[i]);
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      data.bytes += char(high << 4 | v);
      high = -1;
    }
  }
  return data;
}

std::string StoredRichText(std::string rtf, std::string_view plainText, const PictureLabelReader& readLabel) {
  const int pictures = PictureCount(rtf);
  int index = 0;
  for (int visit = 0; visit < pictures; ++visit) {
    const std::optional<PictureSpan> span = FindPicture(rtf, index);
    if (!span) break;
    const std::size_t length = span->end - span->start + 1;
    std::optional<PictureLabel> label;
    if (readLabel) label = readLabel(std::string_view(rtf).substr(span->start, length));
    if (label && StartsWith(label->author, kPictureTag) && !label->description.empty()) {
      // The next picture now has this index.
      rtf.replace(span->start, length, "\\protect [" + EscapeRtfText(label->description) + "]\\protect0 ");
    } else {
      ++index;
    }
  }
  rtf = RemoveBulletText(rtf);
  if (Trim(plainText).empty() && pictures == 0 && !HoldsPictControlWord(rtf)) return {};
  return UnmarkPageBreaks(rtf);
}

std::string LinkFromPictureLabel(const PictureLabel& label) {
  if (label.description.empty() || !StartsWith(label.author, kPictureTag)) return {};
  if (label.author.size() <= kPictureTag.size() || label.author[kPictureTag.size()] != 'L') return {};
  std::string_view hex = label.description;
  if (const std::size_t comma = hex.find(','); comma != std::string_view::npos) hex.remove_prefix(comma + 1);
  hex = Trim(hex);
  if (hex.size() % 2 != 0) return {};
  std::string link;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return {};
    link += char(high << 4 | low);
  }
  return link;
}

std::string ColorList(std::string_view rtf) {
  std::string list = "0";
  if (!IsRtf(rtf)) return list;
  const std::size_t start = rtf.find("{\\colortbl ");
  if (start == std::string_view::npos) return list;
  const std::size_t close = rtf.find('}', start);
  if (close == std::string_view::npos) return list;
  const std::string_view table = rtf.substr(start, close - start);
  const int entries = CountFields(table, ";", kFieldsPlain);
  // The first entry is the automatic colour, the last the text after the final ";".
  for (int e = 1; e < entries - 1; ++e) {
    const std::string entry = GetDelimitedField(table, e, ";", kFieldsPlain);
    int red = 0, green = 0, blue = 0;
    const int parts = CountFields(entry, "\\", kFieldsPlain);
    for (int p = 0; p < parts; ++p) {
      const std::string part = UpperCase(GetDelimitedField(entry, p, "\\", kFieldsPlain));
      auto component = [&](std::string_view name, int& value) {
        if (StartsWith(part, name)) value = std::clamp(DigitsAt(part, name.size()), 0, 255);
      };
      component("RED", red);
      component("GREEN", green);
      component("BLUE", blue);
    }
    AddNumber(list, blue * 65536 + green * 256 + red, ",");
  }
  return list;
}

std::string PlainTextToHtml(std::string_view text) {
  std::string out = "<HTML>\r\n<BODY>\r\n";
  for (char c : text) {
    out += c;
    if (c == '\n') out += "<BR>";
  }
  out += "\r\n</BODY>\r\n</HTML>\r\n";
  return out;
}

std::string EscapeRtfText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out += char(b);
      ++i;
      continue;
    }
    const Utf8Char ch = DecodeUtf8At(utf8, i);
    if (ch.size == 0) {
      AppendByteEscape(out, b);  // not UTF-8: taken as a code page 1252 byte
      ++i;
      continue;
    }
    i += ch.size;
    const char32_t cp = ch.code;
    if (const int byte = Cp1252Byte(cp); byte >= 0) {
      AppendByteEscape(out, static_cast<unsigned char>(byte));
    } else if (cp < 0x10000) {
      AppendUnicodeEscape(out, char16_t(cp));
    } else {
      const char32_t v = cp - 0x10000;
      AppendUnicodeEscape(out, char16_t(0xD800 + (v >> 10)));
      AppendUnicodeEscape(out, char16_t(0xDC00 + (v & 0x3FF)));
    }
  }
  return out;
}

}  // namespace orvalis::controls
