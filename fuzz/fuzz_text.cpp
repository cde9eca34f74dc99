// Case mapping, trimming, number reading and UTF-8 ⇄ UTF-16 on arbitrary bytes.
#include "core/text.h"
#include "core/utf16.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

using namespace orvalis;

namespace {

// Well-formed UTF-8 after the table of well-formed byte sequences in the
// Unicode standard (chapter 3, table 3-7), written out range by range.
bool WellFormedUtf8(std::string_view s) {
  std::size_t i = 0;
  auto in = [&](std::size_t k, unsigned lo, unsigned hi) {
    if (i + k >= s.size()) return false;
    const auto b = static_cast<unsigned char>(s[i + k]);
    return b >= lo && b <= hi;
  };
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n;
    if (b <= 0x7F) n = 1;
    else if (b >= 0xC2 && b <= 0xDF && in(1, 0x80, 0xBF)) n = 2;
    else if (b == 0xE0 && in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF)) n = 3;
    else if (((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) && in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF)) n = 3;
    else if (b == 0xED && in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF)) n = 3;
    else if (b == 0xF0 && in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF)) n = 4;
    else if (b >= 0xF1 && b <= 0xF3 && in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF)) n = 4;
    else if (b == 0xF4 && in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF)) n = 4;
    else return false;
    i += n;
  }
  return true;
}

std::int32_t ReferenceInt(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < 100'000'000'000LL) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string upper = UpperCase(text), lower = LowerCase(text);
  FUZZ_CHECK(upper.size() == text.size() && lower.size() == text.size());
  FUZZ_CHECK(UpperCase(upper) == upper && LowerCase(lower) == lower);
  FUZZ_CHECK(UpperCase(lower) == upper);
  FUZZ_CHECK(SameText(text, upper) && SameText(text, lower) && SameText(upper, lower));
  // Bytes below 0x80 map as ASCII and nothing else turns into them.
  for (std::size_t i = 0; i < size; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const auto u = static_cast<unsigned char>(upper[i]);
    if (b < 0x80) FUZZ_CHECK(u == ((b >= 'a' && b <= 'z') ? b - 32 : b));
    else FUZZ_CHECK(u >= 0x80);
  }

  const std::string_view trimmed = Trim(text);
  FUZZ_CHECK(Trim(trimmed) == trimmed && TrimLeft(trimmed) == trimmed);
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  if (!trimmed.empty())
    FUZZ_CHECK(static_cast<unsigned char>(trimmed.front()) > 32 && static_cast<unsigned char>(trimmed.back()) > 32);
  FUZZ_CHECK(LenientInt(text) == ReferenceInt(text));

  // UTF-8 → UTF-16 accepts exactly the well-formed texts and comes back unchanged.
  const auto wide = Utf8ToUtf16(text);
  FUZZ_CHECK(wide.has_value() == WellFormedUtf8(text));
  if (wide) {
    FUZZ_CHECK(Utf16ToUtf8(*wide) == text);
    FUZZ_CHECK(wide->size() <= text.size());
    // Case mapping keeps well-formed text well formed.
    FUZZ_CHECK(WellFormedUtf8(upper) && WellFormedUtf8(lower));
  }

  // The bytes as UTF-16 code units: any sequence gives well-formed UTF-8, and
  // only unpaired surrogates change on the way back.
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
  const std::string narrow = Utf16ToUtf8(units);
  FUZZ_CHECK(WellFormedUtf8(narrow));
  const auto back = Utf8ToUtf16(narrow);
  FUZZ_CHECK(back.has_value() && back->size() == units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
    const bool pairedHigh = high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
    if (pairedHigh) {
      FUZZ_CHECK((*back)[i] == u && (*back)[i + 1] == units[i + 1]);
      ++i;
    } else {
      FUZZ_CHECK((*back)[i] == ((high || low) ? u'\uFFFD' : u));
    }
  }
  return 0;
}
