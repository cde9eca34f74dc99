// Strict UTF-8 decoding and UTF-16 encoding.
#include "core/utf16.h"

namespace orvalis {

Utf8Char DecodeUtf8At(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t k) -> char32_t {
    return at + k < text.size() ? static_cast<unsigned char>(text[at + k]) : 0;
  };
  auto trails = [&](std::size_t n) {
    for (std::size_t k = 1; k <= n; ++k)
      if ((byte(k) & 0xC0) != 0x80) return false;
    return true;
  };
  if (at >= text.size()) return {};
  const char32_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  if (lead >= 0xC2 && lead <= 0xDF && trails(1)) return {(lead & 0x1F) << 6 | (byte(1) & 0x3F), 2};
  if (lead >= 0xE0 && lead <= 0xEF && trails(2)) {
    const char32_t c = (lead & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) return {c, 3};
  }
  if (lead >= 0xF0 && lead <= 0xF4 && trails(3)) {
    const char32_t c = (lead & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    if (c >= 0x10000 && c <= 0x10FFFF) return {c, 4};
  }
  return {};
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char ch = DecodeUtf8At(text, i);
    if (ch.size == 0) return std::nullopt;
    if (ch.code >= 0x10000) {
      const char32_t v = ch.code - 0x10000;
      out.push_back(char16_t(0xD800 + (v >> 10)));
      out.push_back(char16_t(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(char16_t(ch.code));
    }
    i += ch.size;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | (c >> 12)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (c >> 18)));
      out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace orvalis
