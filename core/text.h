// Text rules shared by every layer: case mapping, trimming and number parsing.
// Strings are UTF-8; case mapping follows the table Windows upper-cases names
// with (file names, resource names), so names in any script compare as Windows
// would.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

// Upper- and lower-case every letter the case table knows. The byte length of
// the text never changes, so positions found in a mapped copy hold in the
// original: the few letters whose other case has another UTF-8 length (ɐ and
// Ɐ U+2C6F, ⱥ U+2C65 and Ⱥ) stay as they are. LowerCase never changes what a
// text upper-cases to.
[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);

// The upper case of one character in Windows's table, which the resource
// loader upper-cases a name with before it compares; unlike UpperCase, also
// where the UTF-8 length changes. Characters beyond U+FFFF map to themselves.
[[nodiscard]] char32_t WindowsUpperCase(char32_t c);

// True when both texts are equal after upper-casing.
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);

// Removes characters with codes 0 to 32 from both ends (or one end).
[[nodiscard]] std::string_view Trim(std::string_view text);
[[nodiscard]] std::string_view TrimLeft(std::string_view text);

[[nodiscard]] bool StartsWith(std::string_view text, std::string_view prefix);
[[nodiscard]] bool EndsWith(std::string_view text, std::string_view suffix);

// Replaces every occurrence of one character.
[[nodiscard]] std::string ReplaceChar(std::string_view text, char from, char to);

// Reads a decimal integer the lenient way: leading blanks skipped, an optional
// sign, digits up to the first non-digit; no digits give 0. Saturates at the
// 32-bit range instead of overflowing.
[[nodiscard]] std::int32_t LenientInt(std::string_view text);

// `value` with at least `width` digits, zeros in front; base 16 writes upper
// case. The formatting of dates, times and codes, without the C library's
// printf family.
[[nodiscard]] std::string PaddedNumber(std::uint64_t value, int width = 1, int base = 10);
// The same written at `out`, which has room for max(width, 64) characters;
// returns the end. Allocates nothing.
char* PutPaddedNumber(char* out, std::uint64_t value, int width = 1, int base = 10) noexcept;

}  // namespace orvalis
