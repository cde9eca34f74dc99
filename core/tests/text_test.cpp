// Case mapping, trimming and lenient integers.
#include "core/text.h"
#include "core/utf16.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(Text, UpperAndLowerCaseKeepByteLengthAndMapLettersOfEveryScript) {
  struct Case { const char* in; const char* upper; const char* lower; };
  const Case cases[] = {
      {"abc XYZ 09", "ABC XYZ 09", "abc xyz 09"},
      {"C:\\Tëst Map\\Démo", "C:\\TËST MAP\\DÉMO", "c:\\tëst map\\démo"},
      {"ÿ æ ø å š ž œ ł", "Ÿ Æ Ø Å Š Ž Œ Ł", "ÿ æ ø å š ž œ ł"},
      {"× ÷ ß", "× ÷ ß", "× ÷ ß"},  // no case
      {"αβγ жизнь", "ΑΒΓ ЖИЗНЬ", "αβγ жизнь"},
      {"日本", "日本", "日本"},  // no case
      {"ƀ ǆ ǅ ǉ", "Ƀ Ǆ ǅ Ǉ", "ƀ ǆ ǅ ǉ"},  // Latin Extended-B; title-case ǅ maps one way only
      {"µ ς ά ϐ", "µ ς Ά ϐ", "µ ς ά ϐ"},  // one-way: Μ lower-cases to μ, Σ to σ, Β to β
      {"ı ſ i s", "ı ſ I S", "ı ſ i s"},   // one-way and another length: I, S
      {"աբ ⴀ ა", "ԱԲ Ⴀ Ა", "աբ ⴀ ა"},      // Armenian, Georgian (Nuskhuri, Mkhedruli)
      {"ꭰ ᏸ ⰰ", "Ꭰ Ᏸ Ⰰ", "ꭰ ᏸ ⰰ"},         // Cherokee, Glagolitic
      {"ａｂ ѣ ꙁ", "ＡＢ Ѣ Ꙁ", "ａｂ ѣ ꙁ"},    // fullwidth, old and extended Cyrillic
      {"ɐ ⱥ", "ɐ ⱥ", "ɐ ⱥ"},               // upper case of another length: Ɐ, Ⱥ
      {"Ɐ Ⱥ İ", "Ɐ Ⱥ İ", "Ɐ Ⱥ İ"},          // lower case of another length: ɐ, ⱥ, i
      {"\u03F4 \u1E9E \u2126", "\u03F4 \u1E9E \u2126", "\u03F4 \u1E9E \u2126"},  // ϴ ẞ ohm: θ ß ω map elsewhere
      {"\U00010428", "\U00010428", "\U00010428"},  // Deseret, beyond U+FFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UpperCase(c.in), c.upper) << c.in;
    EXPECT_EQ(LowerCase(c.upper), c.lower) << c.in;
    EXPECT_EQ(UpperCase(c.in).size(), std::string(c.in).size());
  }
  EXPECT_TRUE(SameText("Tëst", "TËST"));
  EXPECT_FALSE(SameText("Test", "Tests"));
}

TEST(Text, WindowsUpperCaseAlsoChangesTheLength) {
  struct Case { char32_t in, upper; };
  const Case cases[] = {{U'a', U'A'},         {U'\u00B5', U'\u00B5'}, {U'\u0131', U'\u0131'},
                        {U'\u0250', U'\u2C6F'}, {U'\u2C65', U'\u023A'}, {U'\uAB70', U'\u13A0'},
                        {U'\u01C5', U'\u01C5'}, {U'\u2C6F', U'\u2C6F'}, {U'\U00010428', U'\U00010428'}};
  for (const auto& c : cases) EXPECT_EQ(WindowsUpperCase(c.in), c.upper) << std::hex << unsigned(c.in);
}

TEST(Text, CaseMappingLeavesBrokenUtf8Alone) {
  std::string broken = "a\xC3";  // lead byte without its trail at the end
  EXPECT_EQ(UpperCase(broken), "A\xC3");
  EXPECT_EQ(UpperCase("\xC3(x"), "\xC3(X");
  EXPECT_EQ(UpperCase("\xE0\x81\xA1" "a"), "\xE0\x81\xA1" "A");  // overlong "a"
  EXPECT_EQ(UpperCase("\xD5\xA1\xE1\x83"), "\xD4\xB1\xE1\x83");  // ա, then a cut-off ა
}

TEST(Text, TrimRemovesControlCharactersAndBlanks) {
  EXPECT_EQ(Trim("\t  demo.exe \r\n\x01"), "demo.exe");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(TrimLeft("  a b "), "a b ");
}

TEST(Text, LenientIntReadsLikeTheDescriptorRules) {
  struct Case { const char* in; std::int32_t value; };
  const Case cases[] = {{"1", 1},      {"  -42x", -42},      {"+7", 7},         {"", 0},
                        {"abc", 0},    {"12 34", 12},        {"-", 0},          {"2147483647", 2147483647},
                        {"99999999999", 2147483647}, {"-2147483648", -2147483647 - 1}, {"-99999999999", -2147483647 - 1}};
  for (const auto& c : cases) EXPECT_EQ(LenientInt(c.in), c.value) << c.in;
}

TEST(Utf8, DecodesEveryWellFormedLengthAndNothingElse) {
  struct Case { const char* bytes; std::size_t at; char32_t code; std::size_t size; };
  const Case cases[] = {
      {"A", 0, U'A', 1},
      {"\x7F", 0, 0x7F, 1},
      {"\xC2\x80", 0, 0x80, 2},                 // the first two-byte character
      {"\xDF\xBF", 0, 0x7FF, 2},
      {"\xE0\xA0\x80", 0, 0x800, 3},
      {"\xED\x9F\xBF", 0, 0xD7FF, 3},           // just below the surrogates
      {"\xEE\x80\x80", 0, 0xE000, 3},           // just above them
      {"\xF0\x90\x80\x80", 0, 0x10000, 4},
      {"\xF4\x8F\xBF\xBF", 0, 0x10FFFF, 4},
      {"x\xC3\xA9", 1, U'\u00E9', 2},            // at a later position
      {"\xC0\xAF", 0, 0, 0},                    // overlong "/"
      {"\xC1\xBF", 0, 0, 0},
      {"\xE0\x9F\xBF", 0, 0, 0},                // overlong three-byte form
      {"\xF0\x8F\xBF\xBF", 0, 0, 0},            // overlong four-byte form
      {"\xED\xA0\x80", 0, 0, 0},                // an encoded surrogate
      {"\xF4\x90\x80\x80", 0, 0, 0},            // beyond U+10FFFF
      {"\xF5\x80\x80\x80", 0, 0, 0},
      {"\x80", 0, 0, 0},                        // a continuation byte alone
      {"\xC3", 0, 0, 0},                        // cut off at the end
      {"\xE2\x82", 0, 0, 0},
      {"\xC3(", 0, 0, 0},                       // a lead without its continuation
      {"A", 1, 0, 0},                           // past the end
  };
  for (const auto& c : cases) {
    const Utf8Char got = DecodeUtf8At(c.bytes, c.at);
    EXPECT_EQ(got.size, c.size) << testing::PrintToString(c.bytes);
    EXPECT_EQ(got.code, c.code) << testing::PrintToString(c.bytes);
  }
}

TEST(Utf16, RoundTripsAndRejectsInvalidUtf8) {
  const char* samples[] = {"", "plain", "Tëst Map", "日本語", "emoji 😀"};
  for (const char* s : samples) {
    auto wide = Utf8ToUtf16(s);
    ASSERT_TRUE(wide.has_value()) << s;
    EXPECT_EQ(Utf16ToUtf8(*wide), s);
  }
  EXPECT_EQ(Utf8ToUtf16("😀")->size(), 2u);  // surrogate pair
  EXPECT_FALSE(Utf8ToUtf16("\xC3").has_value());
  EXPECT_FALSE(Utf8ToUtf16("\xC0\xAF").has_value());      // overlong "/"
  EXPECT_FALSE(Utf8ToUtf16("\xED\xA0\x80").has_value());  // encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace orvalis
