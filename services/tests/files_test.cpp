// Files and attributes on a real (Wine) file system.
#include "services/files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "services/tests/win_test_support.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

TEST(Files, WriteWholeFileCreatesOrReplacesAndKeepsNonAsciiNames) {
  TempFolder folder;
  std::string path = win::Narrow(folder.path()) + "T\xC3\xABst.bin";
  std::string binary("a\0b", 3);
  ASSERT_TRUE(WriteWholeFile(path, std::string(1000, 'o')));
  ASSERT_TRUE(WriteWholeFile(path, binary));  // replaced, not appended to
  EXPECT_EQ(ReadFileBytes(win::Wide(path)), binary);
  ASSERT_TRUE(WriteWholeFile(path, ""));
  EXPECT_EQ(ReadFileBytes(win::Wide(path)), "");
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(win::Narrow(folder.path())));  // a folder is not a file
  EXPECT_FALSE(WriteWholeFile(win::Narrow(folder.path()) + "missing\\x.bin", "x"));
}

TEST(Files, AFileHeldWithoutSharingCanNeitherBeOpenedExclusivelyNorWritten) {
  TempFolder folder;
  std::string path = win::Narrow(folder.path()) + "locked.dat";
  ASSERT_TRUE(WriteWholeFile(path, "old"));
  EXPECT_TRUE(CanOpenExclusive(path));
  {
    win::unique_file holder(
        ::CreateFileW(win::Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(CanOpenExclusive(path));
    EXPECT_FALSE(WriteWholeFile(path, "new"));
  }
  EXPECT_EQ(ReadFileBytes(win::Wide(path)), "old");
  EXPECT_TRUE(CanOpenExclusive(path));
  EXPECT_FALSE(CanOpenExclusive(win::Narrow(folder.path()) + "missing.dat"));
}

TEST(Files, AttributesAreReadClearedAndSet) {
  TempFolder folder;
  std::string path = win::Narrow(folder.path()) + "marked.txt";
  ASSERT_TRUE(WriteWholeFile(path, "x"));
  ASSERT_TRUE(WriteFileAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(ReadFileAttributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteFileAttributes(path, 0));
  EXPECT_EQ(ReadFileAttributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
  EXPECT_TRUE(DeleteOneFile(path));
  EXPECT_FALSE(DeleteOneFile(path));
  EXPECT_EQ(ReadFileAttributes(path), kInvalidAttributes);
}

TEST(Files, MatchingFilesListsNamesOfFilesOnly) {
  TempFolder folder;
  std::string base = win::Narrow(folder.path());
  for (const char* name : {"PF1.QXA", "pf2.qxa", "DEFAULT.QXA", "PFX.TXT"}) ASSERT_TRUE(WriteWholeFile(base + name, ""));
  ASSERT_TRUE(ForceFolders(base + "PFDIR.QXA\\"));
  auto names = MatchingFiles(base, "PF*.QXA");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"PF1.QXA", "pf2.qxa"}));
  EXPECT_TRUE(MatchingFiles(base + "missing\\", "*").empty());
}

TEST(Files, ForceFoldersCreatesEveryMissingParent) {
  TempFolder folder;
  std::string deep = win::Narrow(folder.path()) + "a\\b\xC3\xA9\\c\\";
  EXPECT_TRUE(ForceFolders(deep));
  EXPECT_TRUE(ForceFolders(deep));  // existing is fine
  DWORD attributes = ReadFileAttributes(deep);
  EXPECT_TRUE(attributes != kInvalidAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  ASSERT_TRUE(WriteWholeFile(win::Narrow(folder.path()) + "file", "x"));
  EXPECT_FALSE(ForceFolders(win::Narrow(folder.path()) + "file\\sub"));
  EXPECT_FALSE(ForceFolders(""));
}

TEST(Files, SystemMessageIsOneLineOfTextOrTheNumber) {
  std::string denied = SystemMessage(ERROR_ACCESS_DENIED);
  EXPECT_FALSE(denied.empty());
  EXPECT_NE(denied, "error 5");
  EXPECT_EQ(denied.find_first_of("\r\n"), std::string::npos) << denied;
  EXPECT_NE(denied.back(), ' ');
  EXPECT_EQ(SystemMessage(0x20001234), "error 536875572");  // customer bit: no system text
}

}  // namespace
}  // namespace orvalis
