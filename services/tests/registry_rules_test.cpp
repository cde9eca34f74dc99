// Value-name split, stored value texts and the settings key.
#include "services/registry_rules.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(RegistryRules, ValueNamePrefixMovesIntoTheKeyPath) {
  struct Case { const char* key; const char* name; ValueAddress expected; };
  const Case cases[] = {
      {"K", "Name", {"K", "Name"}},
      {"K", "Sub\\Name", {"K\\Sub", "Name"}},
      {"K", "A\\B\\C", {"K\\A", "B\\C"}},
      {"\\SOFTWARE\\X", "V", {"SOFTWARE\\X", "V"}},
      {"\\SOFTWARE\\X", "S\\V", {"SOFTWARE\\X\\S", "V"}},
      {"K", "", {"K", ""}},
      {"K", "Sub\\", {"K\\Sub", ""}},
      {"", "Sub\\Name", {"Sub", "Name"}},
      {"", "Name", {"", "Name"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitValueName(c.key, c.name), c.expected) << c.key << " | " << c.name;
}

std::string Utf16Bytes(std::u16string_view text, bool terminate = true) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  if (terminate) bytes += std::string(2, '\0');
  return bytes;
}

TEST(RegistryRules, StoredValueTextFollowsTheValueType) {
  using namespace std::string_literals;
  struct Case { const char* name; std::uint32_t type; std::string bytes; std::string text; };
  const Case cases[] = {
      {"text", kRegString, Utf16Bytes(u"C:\\Tëst Map"), "C:\\Tëst Map"},
      {"text without its zero", kRegString, Utf16Bytes(u"abc", false), "abc"},
      {"text cut at the first zero", kRegString, Utf16Bytes(u"ab\0cd"s), "ab"},
      {"empty text", kRegString, Utf16Bytes(u""), ""},
      {"expandable text", kRegExpandString, Utf16Bytes(u"%TEMP%"), ""},
      {"integer", kRegDword, "\x01\x00\x00\x00"s, ""},
      {"binary", kRegBinary, "\x00\x01\xFF"s, "\x00\x01\xFF"s},
      {"multi text as stored", kRegMultiString, Utf16Bytes(u"a\0b\0"s), Utf16Bytes(u"a\0b\0"s)},
      {"no type", kRegNone, "xy", "xy"},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredValueText(c.type, c.bytes), c.text) << c.name;
}

TEST(RegistryRules, SettingsKeyFollowsTheProductKey) {
  std::string saved = ProductKey();
  SetProductKey("XXX");
  EXPECT_EQ(SettingsKey(), "Software\\Orvalis\\XXX");
  SetProductKey("Demo");
  EXPECT_EQ(SettingsKey(), "Software\\Orvalis\\Demo");
  EXPECT_EQ(SettingsSectionKey("Setup"), "Software\\Orvalis\\Demo\\Setup");
  EXPECT_EQ(SettingsSectionKey(""), "Software\\Orvalis\\Demo");
  SetProductKey(saved);
}

}  // namespace
}  // namespace orvalis
