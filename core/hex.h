// Hex text for colours and byte strings kept in text (custom colours, field
// names, links). Digits are 0-9, A-F and a-f; anything else reads as 0 or is
// skipped, as each helper says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

// Fills out[0 … n-1] from the end of the text: out[i] comes from the digit pair
// at len - 2(i+1), so "800000" gives 00 00 80 00 for n = 4. A position before
// the start of the text, or a character that is no hex digit, counts as 0.
void HexToBytes(std::string_view text, std::uint8_t* out, std::size_t n);
// The text as a 32-bit value, least significant byte last in the text:
// "800000" is 0x800000, "80" is 0x80.
[[nodiscard]] std::uint32_t HexToColor(std::string_view text);
// Every byte as two upper-case digits, high digit first.
[[nodiscard]] std::string BytesToHex(std::string_view bytes);
// The bytes of every pair of hex digits, read from the start; a pair holding
// another character moves on by one, so "4G41" gives the single byte 0x41.
[[nodiscard]] std::string HexToByteString(std::string_view text);

}  // namespace orvalis
