// Key, command and owner of the uninstall entry.
#include "services/uninstall_entry.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(UninstallEntry, CommandQuotesAProgramPathWithABlank) {
  struct Case { const char* folder; const char* program; const char* command; };
  const Case cases[] = {
      {"C:\\Apps\\Demo\\", "demo.exe", "C:\\Apps\\Demo\\demo.exe /UnInstall"},
      {"C:\\Program Files\\Orvalis\\Demo\\", "demo.exe", "\"C:\\Program Files\\Orvalis\\Demo\\demo.exe\" /UnInstall"},
      {"C:\\Tëst Map\\", "démo.exe", "\"C:\\Tëst Map\\démo.exe\" /UnInstall"},
      {"C:\\My Apps\\", "demo.exe /quiet", "\"C:\\My Apps\\demo.exe\" /quiet /UnInstall"},
      {"C:\\Apps\\", "", "C:\\Apps\\ /UnInstall"},
  };
  for (const auto& c : cases) EXPECT_EQ(UninstallCommand(c.folder, c.program), c.command) << c.folder << c.program;
}

TEST(UninstallEntry, SizeInWholeKibAndDateAsTheSoftwareListReadsThem) {
  struct Case { std::uint64_t bytes; std::uint32_t kib; };
  for (const Case c : {Case{0, 0}, Case{1, 1}, Case{1024, 1}, Case{1025, 2}, Case{107'000'000, 104'493},
                       Case{0xFFFFFFFFull * 1024, 0xFFFFFFFFu}, Case{~0ull, 0xFFFFFFFFu}})
    EXPECT_EQ(EstimatedSizeKiB(c.bytes), c.kib) << c.bytes;
  EXPECT_EQ(InstallDateText(2025, 1, 4), "20250104");
  EXPECT_EQ(InstallDateText(2031, 12, 31), "20311231");
}

TEST(UninstallEntry, KeyPathIsAbsoluteAndKeepsTheEntryNameAsItIs) {
  EXPECT_EQ(UninstallKeyPath("Demo"), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo");
  EXPECT_EQ(UninstallKeyPath("A\\B"), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A\\B");
}

TEST(UninstallEntry, PerUserUnlessAnAdministratorInstallsOutsideTheUsersFolder) {
  const char* local = "C:\\Users\\x\\AppData\\Local";
  struct Case { bool admin; const char* localAppData; const char* folder; bool perUser; };
  const Case cases[] = {
      {false, local, "C:\\Program Files\\Orvalis\\Demo\\", true},
      {true, local, "C:\\Program Files\\Orvalis\\Demo\\", false},
      {true, local, "C:\\Users\\x\\AppData\\Local\\Orvalis\\Demo\\", true},
      {true, local, "c:\\users\\X\\appdata\\local\\Orvalis\\Demo\\", true},
      {true, "C:\\Users\\Tëst\\AppData\\Local", "C:\\USERS\\TËST\\APPDATA\\LOCAL\\Demo\\", true},
      {true, "", "C:\\Users\\x\\AppData\\Local\\Demo\\", false},
      {true, local, "D:\\Apps\\", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UninstallEntryPerUser(c.admin, c.localAppData, c.folder), c.perUser) << c.admin << " " << c.folder;
}

}  // namespace
}  // namespace orvalis
