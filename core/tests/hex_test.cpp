// Hex helpers: reading from the end, short and odd texts, non-digits, and the
// byte string pairing that a stray character shifts.
#include "core/hex.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalis {
namespace {

TEST(HexToBytes, ReadsPairsFromTheEndAndZeroFillsTheRest) {
  struct Case {
    const char* text;
    std::vector<std::uint8_t> expected;  // n = its size
  } cases[] = {
      {"800000", {0x00, 0x00, 0x80, 0x00}},
      {"0A0B0C0D", {0x0D, 0x0C, 0x0B, 0x0A}},
      {"ffEe", {0xEE, 0xFF, 0x00}},
      {"", {0x00, 0x00}},
      {"ABC", {0xBC, 0x0A}},   // odd length: the first digit stands alone, low nibble
      {"1G", {0x10}},          // a non-digit counts as 0
      {"123456", {0x56}},      // only n bytes are written
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> out(c.expected.size(), 0xCC);
    out.push_back(0xCC);  // a guard byte that must stay
    HexToBytes(c.text, out.data(), c.expected.size());
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.end() - 1), c.expected) << c.text;
    EXPECT_EQ(out.back(), 0xCC) << c.text;
  }
}

TEST(HexToColor, MostSignificantDigitsFirstAndMissingOnesZero) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"800000", 0x800000}, {"C0C0C0", 0xC0C0C0}, {"80", 0x80},         {"8", 0x8},
      {"", 0},              {"zz00ff", 0x0000FF}, {"80000005", 0x80000005}, {"1FFFFFFFF", 0xFFFFFFFF},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(HexToColor(text), expected) << text;
}

TEST(BytesToHex, UpperCaseHighDigitFirstAndBack) {
  const std::string bytes("\x00\x7F\x80\xFF\x0a", 5);
  EXPECT_EQ(BytesToHex(bytes), "007F80FF0A");
  EXPECT_EQ(BytesToHex(""), "");
  EXPECT_EQ(HexToByteString(BytesToHex(bytes)), bytes);
}

TEST(HexToByteString, PairsDigitsAndStepsOverStrayCharacters) {
  const std::pair<const char*, std::string> cases[] = {
      {"4G41", "\x41"},
      {"4142", "AB"},
      {"41 42", "AB"},
      {"414", "A"},  // a last single digit makes no byte
      {"4", ""},
      {"", ""},
      {"x4142x", "AB"},
      {"6a6B", "jk"},
      {"00", std::string(1, '\0')},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(HexToByteString(text), expected) << text;
}

}  // namespace
}  // namespace orvalis
