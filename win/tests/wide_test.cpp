// The UTF-16 boundary: text that cannot be converted becomes U+FFFD both ways.
#include "win/wide.h"

#include <gtest/gtest.h>

namespace orvalis::win {
namespace {

TEST(Wide, ConvertsBothWaysAndReplacesWhatIsNotText) {
  EXPECT_EQ(Wide(""), L"");
  EXPECT_EQ(Narrow(L""), "");
  EXPECT_EQ(Wide("Gr\xC3\xBC\xC3\x9F \xF0\x9F\x93\x81"), L"Gr\u00FC\u00DF \xD83D\xDCC1");
  EXPECT_EQ(Narrow(L"Gr\u00FC\u00DF \xD83D\xDCC1"), "Gr\xC3\xBC\xC3\x9F \xF0\x9F\x93\x81");

  struct {
    const char* utf8;
    const wchar_t* utf16;
  } invalidUtf8[] = {
      {"a\xFF" "b", L"a\xFFFD" L"b"},  // a byte that starts nothing
      {"a\x80", L"a\xFFFD"},           // a lone continuation byte
      {"a\xE2\x82", L"a\xFFFD"},       // a sequence cut off at the end
  };
  for (const auto& c : invalidUtf8) EXPECT_EQ(Wide(c.utf8), c.utf16) << c.utf8;

  struct {
    std::wstring utf16;
    const char* utf8;
  } loneSurrogates[] = {
      {std::wstring{L'a', wchar_t(0xD800), L'b'}, "a\xEF\xBF\xBD" "b"},  // high without its low half
      {std::wstring{L'a', wchar_t(0xDC00)}, "a\xEF\xBF\xBD"},            // low without a high half
  };
  for (const auto& c : loneSurrogates) EXPECT_EQ(Narrow(c.utf16), c.utf8);
}

}  // namespace
}  // namespace orvalis::win
