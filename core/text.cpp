// Case table and small text helpers for UTF-8 strings.
#include "core/text.h"

#include <limits>

namespace orvalis {
namespace {

// Decodes one UTF-8 sequence of two bytes; returns 0 when it is not one.
char32_t DecodeTwoByte(unsigned char lead, unsigned char trail) {
  if ((lead & 0xE0) != 0xC0 || (trail & 0xC0) != 0x80) return 0;
  return (char32_t(lead & 0x1F) << 6) | (trail & 0x3F);
}

// Maps one code point of two UTF-8 bytes to the other case, staying within two
// bytes. Returns the code point unchanged when it has no mapping.
char32_t MapCase(char32_t c, bool upper) {
  if (upper) {
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;  // Latin-1 à..þ
    if (c == 0xFF) return 0x178;                                    // ÿ → Ÿ
    if (c >= 0x100 && c <= 0x17F) {                                 // Latin Extended-A
      if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
      bool pairsOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
      if (pairsOdd) return (c % 2 == 0) ? c - 1 : c;
      return (c % 2 == 1) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;   // Greek α..ω
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                  // Cyrillic а..я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;                  // Cyrillic ѐ..џ
    return c;
  }
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    bool pairsOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (pairsOdd) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

std::string MapText(std::string_view text, bool upper) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    auto b = static_cast<unsigned char>(out[i]);
    if (b < 0x80) {
      if (upper && b >= 'a' && b <= 'z') out[i] = char(b - 32);
      if (!upper && b >= 'A' && b <= 'Z') out[i] = char(b + 32);
      continue;
    }
    if (i + 1 >= out.size()) break;
    char32_t c = DecodeTwoByte(b, static_cast<unsigned char>(out[i + 1]));
    if (c == 0) continue;  // not a two-byte sequence: leave its bytes alone
    char32_t m = MapCase(c, upper);
    if (m != c && m >= 0x80 && m < 0x800) {
      out[i] = char(0xC0 | (m >> 6));
      out[i + 1] = char(0x80 | (m & 0x3F));
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) { return MapText(text, true); }
std::string LowerCase(std::string_view text) { return MapText(text, false); }

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

std::string_view TrimLeft(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && static_cast<unsigned char>(text[b]) <= 32) ++b;
  return text.substr(b);
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  size_t e = text.size();
  while (e > 0 && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(0, e);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string ReplaceChar(std::string_view text, char from, char to) {
  std::string out(text);
  for (char& c : out)
    if (c == from) c = to;
  return out;
}

std::int32_t LenientInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) value = limit;
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(value >= limit ? limit - 1 : value);
}

}  // namespace orvalis
