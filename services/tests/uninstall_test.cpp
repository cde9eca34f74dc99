// The uninstall entry in the user's and the machine's software list.
#include "services/uninstall.h"

#include <gtest/gtest.h>

#include "services/registry.h"
#include "services/uninstall_entry.h"

namespace orvalis {
namespace {

class UninstallTest : public ::testing::Test {
 protected:
  const std::string entry_ = "OrvalisTest" + std::to_string(::GetCurrentProcessId());
  void TearDown() override {
    DeleteRegKey(HKEY_CURRENT_USER, UninstallKeyPath(entry_));
    DeleteRegKey(HKEY_LOCAL_MACHINE, UninstallKeyPath(entry_));
  }
};

TEST_F(UninstallTest, WritesTheValuesUnderTheChosenRootOnly) {
  const std::string command = UninstallCommand("C:\\Program Files\\Orvalis\\Tëst\\", "demo.exe");
  const UninstallDetails details{"1.2.3", "C:\\Program Files\\Orvalis\\Tëst\\",
                                 "C:\\Program Files\\Orvalis\\Tëst\\demo.exe", 0xFFFFFFF0u, "20250114"};
  struct Case { bool perUser; HKEY written; HKEY untouched; };
  for (const Case c : {Case{true, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE},
                       Case{false, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}}) {
    TearDown();
    EXPECT_TRUE(RegisterUninstall(command, entry_, c.perUser, "Orvalis Tëst", details));
    const std::string key = UninstallKeyPath(entry_);
    EXPECT_EQ(ReadRegString(c.written, key, "DisplayName"), "Orvalis Tëst");
    EXPECT_EQ(ReadRegString(c.written, key, "UninstallString"),
              "\"C:\\Program Files\\Orvalis\\Tëst\\demo.exe\" /UnInstall");
    EXPECT_EQ(ReadRegString(c.written, key, "Publisher"), "Orvalis");
    EXPECT_EQ(ReadRegString(c.written, key, "HelpLink"), kMakerWebAddress);
    EXPECT_EQ(ReadRegString(c.written, key, "URLInfoAbout"), kMakerWebAddress);
    EXPECT_EQ(ReadRegString(c.written, key, "DisplayVersion"), "1.2.3");
    EXPECT_EQ(ReadRegString(c.written, key, "InstallLocation"), details.installLocation);
    EXPECT_EQ(ReadRegString(c.written, key, "DisplayIcon"), details.displayIcon);
    EXPECT_EQ(static_cast<std::uint32_t>(ReadRegInteger(c.written, key, "EstimatedSize")), 0xFFFFFFF0u);
    EXPECT_EQ(ReadRegString(c.written, key, "InstallDate"), "20250114");
    EXPECT_EQ(ReadRegInteger(c.written, key, "NoModify"), 1);
    EXPECT_EQ(ReadRegInteger(c.written, key, "NoRepair"), 1);
    EXPECT_FALSE(RegValueExists(c.untouched, key, "DisplayName")) << c.perUser;
  }
}

TEST_F(UninstallTest, RegisteringAgainReplacesTheValuesAndKeepsOthers) {
  const std::string key = UninstallKeyPath(entry_);
  ASSERT_TRUE(RegisterUninstall("C:\\A\\a.exe /UnInstall", entry_, true, "First", {}));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Comments", false, "kept"));
  ASSERT_TRUE(RegisterUninstall("", entry_, true, "Second", {}));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "DisplayName"), "Second");
  EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key, "UninstallString")) << "an empty command is written";
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "UninstallString"), "");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Comments"), "kept");
}

TEST_F(UninstallTest, EntryNameWithABackslashMakesANestedKey) {
  ASSERT_TRUE(RegisterUninstall("x", entry_ + "\\Inner", true, "Nested", {}));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, UninstallKeyPath(entry_) + "\\Inner", "DisplayName"), "Nested");
}

}  // namespace
}  // namespace orvalis
