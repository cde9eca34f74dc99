// Case mapping and small text helpers for UTF-8 strings.
#include "core/text.h"

#include "case_table.h"  // generated from UnicodeData.txt by core/case_table.py
#include "core/utf16.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>

namespace orvalis {
namespace {

// The resource loader upper-cases the name it is asked for with
// RtlUpcaseUnicodeChar, a 16-bit table that LCMapStringEx's non-linguistic
// upper case agrees with. It holds the simple case mappings of Unicode that go
// both ways: a letter and its upper case where that upper case lower-cases back
// to the letter. One-way mappings are not in it: µ U+00B5 stays (Μ lower-cases
// to μ), and so do ı U+0131, ſ U+017F, final ς and the title-case digraphs
// ǅ ǈ ǋ ǲ. Wine builds its table that way, and on Windows itself ǲ is
// reported unchanged (https://github.com/dotnet/runtime/issues/59661). The
// generated table holds exactly these pairs. Upper-casing one-way letters too
// would still be found by the loader, but would rename installed files, whose
// names are the stored ones lower-cased (µ.txt would become μ.txt).

char32_t TableUpper(char32_t c) {
  const auto& table = case_table::kByLower;
  auto at = std::lower_bound(std::begin(table), std::end(table), c,
                             [](const case_table::Pair& pair, char32_t key) { return pair.lower < key; });
  return at != std::end(table) && at->lower == c ? at->upper : c;
}

char32_t TableLower(char32_t c) {
  const auto& table = case_table::kByUpper;
  auto at = std::lower_bound(std::begin(table), std::end(table), c,
                             [](const case_table::Pair& pair, char32_t key) { return pair.upper < key; });
  return at != std::end(table) && at->upper == c ? at->lower : c;
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

// Writes `c` over the `size` bytes at `out`; `size` is its UTF-8 length, 1 to 3.
void EncodeOver(char32_t c, std::size_t size, char* out) {
  if (size == 1) {
    out[0] = char(c);
  } else if (size == 2) {
    out[0] = char(0xC0 | (c >> 6));
    out[1] = char(0x80 | (c & 0x3F));
  } else {
    out[0] = char(0xE0 | (c >> 12));
    out[1] = char(0x80 | ((c >> 6) & 0x3F));
    out[2] = char(0x80 | (c & 0x3F));
  }
}

// Maps every well-formed character whose other case keeps its UTF-8 length;
// the rest (ɐ → Ɐ U+2C6F) stay, since callers use positions found in a mapped
// copy. Payload names with such letters are refused by the packer instead.
std::string MapText(std::string_view text, char32_t (*map)(char32_t)) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size();) {
    const Utf8Char s = DecodeUtf8At(out, i);
    if (s.size == 0) {  // not UTF-8: leave the byte alone
      ++i;
      continue;
    }
    const char32_t m = map(s.code);
    if (m != s.code && Utf8Length(m) == s.size) EncodeOver(m, s.size, &out[i]);
    i += s.size;
  }
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) { return MapText(text, TableUpper); }
std::string LowerCase(std::string_view text) { return MapText(text, TableLower); }

char32_t WindowsUpperCase(char32_t c) { return TableUpper(c); }

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

char* PutPaddedNumber(char* out, std::uint64_t value, int width, int base) noexcept {
  char digits[64];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, base);
  const int count = ec == std::errc() ? int(end - digits) : 0;
  for (int i = count; i < width; ++i) *out++ = '0';
  for (int i = 0; i < count; ++i) {
    const char c = digits[i];
    *out++ = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
  }
  return out;
}

std::string PaddedNumber(std::uint64_t value, int width, int base) {
  std::string text(std::size_t(std::max(width, 64)), '\0');
  text.resize(std::size_t(PutPaddedNumber(text.data(), value, width, base) - text.data()));
  return text;
}

}  // namespace orvalis
