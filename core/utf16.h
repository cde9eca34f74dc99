// UTF-8 decoding and UTF-8 ⇄ UTF-16 conversion without the Windows API, for
// code that runs on both sides (the packer writes UTF-16 resource names; Win32
// calls take wide text).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvalis {

// One character of UTF-8 text: its code point and its length in bytes.
struct Utf8Char {
  char32_t code = 0;
  std::size_t size = 0;
};
// The well-formed UTF-8 sequence at byte `at` of `text`; a size of 0 when the
// bytes there are not one: a continuation or stray byte, an overlong form, a
// surrogate, a value beyond U+10FFFF, a sequence cut off, or `at` at the end.
[[nodiscard]] Utf8Char DecodeUtf8At(std::string_view text, std::size_t at);

// Invalid UTF-8 yields std::nullopt: callers decide whether that is an error.
[[nodiscard]] std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace orvalis
