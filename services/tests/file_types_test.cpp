// File-type association written to the registry of the test prefix (whose
// user is an administrator, so the class keys can be written).
#include "services/file_types.h"

#include <gtest/gtest.h>

#include "services/file_type_plan.h"
#include "services/registry.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

const std::string kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.";
const std::string kAttachments = "Software\\Microsoft\\Windows\\Shell\\AttachmentExecute\\";

class FileTypesTest : public ::testing::Test {
 protected:
  const std::string ext_ = "ORVT" + std::to_string(::GetCurrentProcessId() % 100000);
  bool createdAppId_ = false;

  void SetUp() override { Clean(); }
  void TearDown() override {
    Clean();
    if (createdAppId_) DeleteRegKey(HKEY_CLASSES_ROOT, kBrowserAppIdKey);
  }
  void Clean() {
    DeleteRegKey(HKEY_CLASSES_ROOT, "." + ext_);
    DeleteRegKey(HKEY_CLASSES_ROOT, ext_);
    DeleteRegKey(HKEY_CURRENT_USER, kFileExts + ext_);
    DeleteRegKey(HKEY_CURRENT_USER, "Software\\Classes\\Applications\\" + ext_);
    DeleteRegValue(HKEY_CURRENT_USER, kAttachments + "{0002DF01-0000-0000-C000-000000000046}", ext_, true);
  }
  bool KeyExists(HKEY root, const std::string& key) {
    win::unique_hkey handle;
    return ::RegOpenKeyExW(root, win::Wide(key).c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
  }
  std::string ClassesCommand() { return ReadRegString(HKEY_CLASSES_ROOT, ext_ + "\\Shell\\open\\command", ""); }
};

TEST_F(FileTypesTest, RegistersClassOpenCommandFlagsAndTheUsersChoice) {
  const std::string program = "C:\\Program Files\\Orvalis\\Tëst\\prog.exe";
  ASSERT_TRUE(AssociateFileType(ext_, program, "Orvalis Tëst file"));
  const std::string command = "\"" + program + "\" \"%1\"";
  struct Case { HKEY root; std::string key; std::string name; std::string value; };
  const Case cases[] = {
      {HKEY_CLASSES_ROOT, "." + ext_, "", ext_},
      {HKEY_CLASSES_ROOT, ext_, "", "Orvalis Tëst file"},
      {HKEY_CLASSES_ROOT, ext_ + "\\Shell", "", "open"},
      {HKEY_CLASSES_ROOT, ext_ + "\\Shell\\open", "", "&Openen"},
      {HKEY_CLASSES_ROOT, ext_ + "\\Shell\\open\\command", "", command},
      {HKEY_CURRENT_USER, kFileExts + ext_ + "\\UserChoice", "Progid", "Applications\\" + ext_},
      {HKEY_CURRENT_USER, "Software\\Classes\\Applications\\" + ext_ + "\\Shell\\open\\command", "", command},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadRegString(c.root, c.key, c.name), c.value) << c.key << " " << c.name;
  EXPECT_EQ(ReadRegInteger(HKEY_CLASSES_ROOT, ext_, "EditFlags"), 0x10000);
  EXPECT_EQ(ReadRegInteger(HKEY_CLASSES_ROOT, ext_, "BrowserFlags"), 8);
}

TEST_F(FileTypesTest, ReplacesAnEarlierUserChoiceAndDefaultIcon) {
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kFileExts + ext_ + "\\UserChoice", "Progid", false, "Other.App"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kFileExts + ext_ + "\\OpenWithList", "a", false, "other.exe"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kFileExts + ext_, "Extra", false, "x"));
  ASSERT_TRUE(WriteRegString(HKEY_CLASSES_ROOT, ext_ + "\\DefaultIcon", "", false, "old.ico"));

  ASSERT_TRUE(AssociateFileType(ext_, "C:\\Apps\\prog.exe", "d"));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kFileExts + ext_ + "\\UserChoice", "Progid"), "Applications\\" + ext_);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kFileExts + ext_ + "\\OpenWithList"));
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kFileExts + ext_, "Extra"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext_ + "\\DefaultIcon"));
  EXPECT_EQ(ClassesCommand(), "C:\\Apps\\prog.exe \"%1\"") << "no blank: no quotes";
}

TEST_F(FileTypesTest, AssociatingTwiceGivesTheSameState) {
  ASSERT_TRUE(AssociateFileType(ext_, "C:\\Tëst Map\\prog.exe", "first"));
  ASSERT_TRUE(AssociateFileType(ext_, "C:\\Tëst Map\\prog.exe", "first"));
  EXPECT_EQ(ClassesCommand(), "\"C:\\Tëst Map\\prog.exe\" \"%1\"");
  EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, ext_, ""), "first");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kFileExts + ext_ + "\\UserChoice", "Progid"), "Applications\\" + ext_);
}

TEST_F(FileTypesTest, AttachmentValueFollowsTheBrowsersIdentifier) {
  std::string appId = ReadRegString(HKEY_CLASSES_ROOT, kBrowserAppIdKey, kBrowserAppIdValue);
  if (appId.empty()) {
    appId = "{0002DF01-0000-0000-C000-000000000046}";
    ASSERT_TRUE(WriteRegString(HKEY_CLASSES_ROOT, kBrowserAppIdKey, kBrowserAppIdValue, false, appId));
    createdAppId_ = true;
  }
  ASSERT_TRUE(AssociateFileType(ext_, "C:\\Apps\\prog.exe", "d"));
  EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kAttachments + appId, ext_));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kAttachments + appId, ext_), "") << "zero bytes";
  DeleteRegValue(HKEY_CURRENT_USER, kAttachments + appId, ext_, true);

  if (createdAppId_) {
    DeleteRegKey(HKEY_CLASSES_ROOT, kBrowserAppIdKey);
    createdAppId_ = false;
    ASSERT_TRUE(AssociateFileType(ext_, "C:\\Apps\\prog.exe", "d")) << "no identifier: the step is skipped";
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kAttachments + appId, ext_));
  }
}

}  // namespace
}  // namespace orvalis
