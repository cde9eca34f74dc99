// Registry operations against the real registry, in a scratch key of the
// current user that is removed afterwards.
#include "services/registry.h"

#include <gtest/gtest.h>

#include <string>

#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  const std::string base_ = "Software\\OrvalisTest\\Registry" + std::to_string(::GetCurrentProcessId());
  void TearDown() override { DeleteRegKey(HKEY_CURRENT_USER, base_); }

  bool KeyExists(const std::string& key) {
    win::unique_hkey handle;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, win::Wide(key).c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
  }
  // Type and byte size of a value as the registry holds it; type REG_NONE - 1 when missing.
  std::pair<DWORD, DWORD> Stored(const std::string& key, const std::string& name) {
    win::unique_hkey handle;
    DWORD type = DWORD(-1);
    DWORD size = 0;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, win::Wide(key).c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS &&
        ::RegQueryValueExW(handle.get(), win::Wide(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      type = DWORD(-1);
    return {type, size};
  }
  void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
    win::unique_hkey handle;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, win::Wide(base_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                handle.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(handle.get(), win::Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
};

TEST_F(RegistryTest, WrittenValuesReadBackWithTheirTypes) {
  const std::string key = base_ + "\\Deep\\Er";  // parents are created
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Path", false, "C:\\Tëst Map\\"));
  ASSERT_TRUE(WriteRegInteger(HKEY_CURRENT_USER, key, "Number", false, -7));
  ASSERT_TRUE(WriteRegBinary(HKEY_CURRENT_USER, key, "Bytes", false, std::string("\0\x01\xFF", 3)));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "", false, "default"));

  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Path"), "C:\\Tëst Map\\");
  EXPECT_EQ(ReadRegInteger(HKEY_CURRENT_USER, key, "Number"), -7);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Bytes"), std::string("\0\x01\xFF", 3));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, ""), "default");
  EXPECT_EQ(Stored(key, "Path"), std::make_pair(DWORD(REG_SZ), DWORD(13 * sizeof(wchar_t))))
      << "text is stored with its terminating zero";
  EXPECT_EQ(Stored(key, "Number").first, DWORD(REG_DWORD));
  EXPECT_EQ(Stored(key, "Bytes"), std::make_pair(DWORD(REG_BINARY), DWORD(3)));
  EXPECT_EQ(ReadRegInteger(HKEY_CURRENT_USER, key, "Path"), 0) << "text is no integer";
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Number"), "") << "an integer reads as empty text";
}

TEST_F(RegistryTest, MissingKeysAndValuesGiveNeutralResults) {
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, base_ + "\\Nope", "X"), "");
  EXPECT_EQ(ReadRegInteger(HKEY_CURRENT_USER, base_ + "\\Nope", "X"), 0);
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, base_ + "\\Nope", "X"));
  EXPECT_FALSE(KeyExists(base_ + "\\Nope")) << "readers never create keys";
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_, "A", false, "1"));
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, base_, "B"));
  EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, base_, "A"));
}

TEST_F(RegistryTest, OtherTypesReadAsTheTextRulesSay) {
  std::wstring expand = L"%TEMP%";
  SetRaw("Expand", REG_EXPAND_SZ, expand.c_str(), DWORD((expand.size() + 1) * 2));
  const wchar_t multi[] = L"a\0b\0";
  SetRaw("Multi", REG_MULTI_SZ, multi, sizeof multi);
  std::string big(3000, 'x');
  SetRaw("Big", REG_BINARY, big.data(), DWORD(big.size()));
  SetRaw("Text1", REG_SZ, L"1", 4);

  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, base_, "Expand"), "");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, base_, "Multi"),
            std::string(reinterpret_cast<const char*>(multi), sizeof multi));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, base_, "Big"), big);
  EXPECT_EQ(ReadRegInteger(HKEY_CURRENT_USER, base_, "Text1"), 0);
}

TEST_F(RegistryTest, DeleteOptionRemovesEmptyAndZeroValuesInsteadOfStoringThem) {
  struct Case {
    const char* name;
    bool (*write)(const std::string& key, bool deleteOption);
  };
  const Case cases[] = {
      {"string", [](const std::string& k, bool d) { return WriteRegString(HKEY_CURRENT_USER, k, "V", d, ""); }},
      {"integer", [](const std::string& k, bool d) { return WriteRegInteger(HKEY_CURRENT_USER, k, "V", d, 0); }},
      {"binary", [](const std::string& k, bool d) { return WriteRegBinary(HKEY_CURRENT_USER, k, "V", d, ""); }},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_, "V", false, "old")) << c.name;
    EXPECT_TRUE(c.write(base_, true)) << c.name;
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, base_, "V")) << c.name;
    EXPECT_TRUE(c.write(base_, false)) << c.name;
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, base_, "V")) << c.name << ": empty or zero is stored";
  }
  EXPECT_EQ(Stored(base_, "V"), std::make_pair(DWORD(REG_BINARY), DWORD(0)));
}

TEST_F(RegistryTest, ValueNamePrefixAddressesASubkey) {
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_, "Sub\\Name", false, "s"));
  EXPECT_EQ(Stored(base_ + "\\Sub", "Name").first, DWORD(REG_SZ));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_, "A\\B\\C", false, "abc"));
  EXPECT_EQ(Stored(base_ + "\\A", "B\\C").first, DWORD(REG_SZ)) << "only the first backslash splits";
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, base_ + "\\A", "B\\C"), "")
      << "read back the same way, the name addresses key A\\B";
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, base_, "A\\B\\C"), "abc");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, "\\" + base_, "Sub\\Name"), "s") << "a leading backslash is allowed";
}

TEST_F(RegistryTest, DeleteRegValueLeavesOrRemovesAnEmptyKey) {
  const std::string section = base_ + "\\Section";
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, section, "Missing", false));
  EXPECT_TRUE(KeyExists(section)) << "the key is opened with creation";
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, section, "Missing", true));
  EXPECT_FALSE(KeyExists(section));

  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, section, "A", false, "a"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, section, "B", false, "b"));
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, section, "A", true));
  EXPECT_TRUE(KeyExists(section)) << "B is still there";
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, section, "B", true));
  EXPECT_FALSE(KeyExists(section));
}

TEST_F(RegistryTest, DeleteRegKeyRemovesTheWholeTreeAndIgnoresMissingKeys) {
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_ + "\\T\\A\\B", "V", false, "x"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_ + "\\T", "V", false, "x"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, base_ + "\\Keep", "V", false, "x"));
  EXPECT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, base_ + "\\T"));
  EXPECT_FALSE(KeyExists(base_ + "\\T"));
  EXPECT_TRUE(KeyExists(base_ + "\\Keep"));
  EXPECT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, base_ + "\\T"));
  EXPECT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, ""));
  EXPECT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, "\\"));
  EXPECT_TRUE(KeyExists(base_ + "\\Keep")) << "an empty path deletes nothing";
}

TEST_F(RegistryTest, WritesThatCannotOpenTheirKeyReportFalse) {
  const HKEY noRoot = reinterpret_cast<HKEY>(uintptr_t(0x80000099));
  EXPECT_FALSE(WriteRegString(noRoot, "x", "V", false, "x"));
  EXPECT_FALSE(WriteRegInteger(noRoot, "x", "V", false, 1));
  EXPECT_FALSE(WriteRegBinary(noRoot, "x", "V", false, "b"));
  EXPECT_TRUE(DeleteRegValue(noRoot, "x", "V", true)) << "deleting always reports true";
}

}  // namespace
}  // namespace orvalis
