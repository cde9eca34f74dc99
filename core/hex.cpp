// Hex text for colours and byte strings.
#include "core/hex.h"

namespace orvalis {
namespace {

// The value of a hex digit, or -1.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The digit at a position that may lie outside the text; 0 when it does or is no digit.
int DigitAt(std::string_view text, std::ptrdiff_t pos) {
  if (pos < 0 || pos >= std::ptrdiff_t(text.size())) return 0;
  int v = DigitValue(text[std::size_t(pos)]);
  return v < 0 ? 0 : v;
}

}  // namespace

void HexToBytes(std::string_view text, std::uint8_t* out, std::size_t n) {
  const auto len = std::ptrdiff_t(text.size());
  for (std::size_t i = 0; i < n; ++i) {
    std::ptrdiff_t first = len - 2 * std::ptrdiff_t(i + 1);
    out[i] = std::uint8_t(16 * DigitAt(text, first) + DigitAt(text, first + 1));
  }
}

std::uint32_t HexToColor(std::string_view text) {
  std::uint8_t bytes[4] = {};
  HexToBytes(text, bytes, 4);
  return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
         std::uint32_t(bytes[3]) << 24;
}

std::string BytesToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string HexToByteString(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i + 1 < text.size()) {
    int high = DigitValue(text[i]), low = DigitValue(text[i + 1]);
    if (high >= 0 && low >= 0) {
      out += char(high * 16 + low);
      i += 2;
    } else {
      ++i;
    }
  }
  return out;
}

}  // namespace orvalis
