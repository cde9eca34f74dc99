// The settings store under a product key of its own, removed afterwards.
#include "services/settings.h"

#include <gtest/gtest.h>

#include "services/registry.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ProductKey();
    SetProductKey("OrvalisTest" + std::to_string(::GetCurrentProcessId()));
  }
  void TearDown() override {
    DeleteRegKey(HKEY_CURRENT_USER, SettingsKey());
    SetProductKey(saved_);
  }
  bool SectionExists(const std::string& section) {
    win::unique_hkey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, win::Wide(SettingsSectionKey(section)).c_str(), 0, KEY_READ,
                           key.put()) == ERROR_SUCCESS;
  }
  std::string saved_;
};

TEST_F(SettingsTest, ValuesLiveUnderTheProductsSectionKey) {
  ASSERT_TRUE(WriteSetting("Setup", "Path", "C:\\Tëst Map\\", false));
  ASSERT_TRUE(WriteSettingInt("Setup", "Custom", 1, false));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, SettingsKey() + "\\Setup", "Path"), "C:\\Tëst Map\\");
  EXPECT_EQ(ReadSetting("Setup", "Path"), "C:\\Tëst Map\\");
  EXPECT_EQ(ReadSettingInt("Setup", "Custom"), 1);
  EXPECT_TRUE(SettingExists("Setup", "Custom"));
  EXPECT_FALSE(SettingExists("Other", "Custom"));
  ASSERT_TRUE(WriteSetting("", "Language", "ENG", true));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, SettingsKey(), "Language"), "ENG") << "no section: the product key";
}

TEST_F(SettingsTest, DeleteOptionRemovesInsteadOfStoringEmptyOrZero) {
  ASSERT_TRUE(WriteSetting("Setup", "Path", "x", false));
  EXPECT_TRUE(WriteSetting("Setup", "Path", "", true));
  EXPECT_FALSE(SettingExists("Setup", "Path"));
  EXPECT_TRUE(WriteSetting("Setup", "Path", "", false));
  EXPECT_TRUE(SettingExists("Setup", "Path"));
  EXPECT_EQ(ReadSetting("Setup", "Path"), "");

  ASSERT_TRUE(WriteSettingInt("Setup", "NoLink", 1, false));
  EXPECT_TRUE(WriteSettingInt("Setup", "NoLink", 0, true));
  EXPECT_FALSE(SettingExists("Setup", "NoLink"));
  EXPECT_EQ(ReadSettingInt("Setup", "NoLink"), 0);
  EXPECT_TRUE(WriteSettingInt("Setup", "NoLink", 0, false));
  EXPECT_TRUE(SettingExists("Setup", "NoLink"));
  EXPECT_EQ(ReadSettingInt("Setup", "NoLink"), 0);
}

TEST_F(SettingsTest, IntegerOfATextValueIsZero) {
  ASSERT_TRUE(WriteSetting("Setup", "NoRun", "1", false));
  EXPECT_EQ(ReadSettingInt("Setup", "NoRun"), 0);
  EXPECT_EQ(ReadSetting("Setup", "NoRun"), "1");
}

TEST_F(SettingsTest, DeletingFromAMissingSectionLeavesItEmptyUnlessAskedToRemoveIt) {
  EXPECT_TRUE(DeleteSetting("Ghost", "X", false));
  EXPECT_TRUE(SectionExists("Ghost"));
  EXPECT_TRUE(DeleteSetting("Ghost2", "X", true));
  EXPECT_FALSE(SectionExists("Ghost2"));
}

}  // namespace
}  // namespace orvalis
