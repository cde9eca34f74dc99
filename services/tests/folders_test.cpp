// Folder kinds and special folders as the system answers them.
#include "services/folders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/text.h"
#include "services/tests/win_test_support.h"
#include "win/wide.h"

namespace orvalis {
namespace {

TEST(Folders, SystemPathKindsMatchTheSystemAndKeepTheirFinalBackslashRules) {
  wchar_t buffer[MAX_PATH] = {};
  ::GetWindowsDirectoryW(buffer, MAX_PATH);
  EXPECT_EQ(GetSystemPath(kFolderKindWindows), win::Narrow(buffer));
  ::GetSystemDirectoryW(buffer, MAX_PATH);
  EXPECT_EQ(GetSystemPath(kFolderKindSystem), win::Narrow(buffer));
  ::GetTempPathW(MAX_PATH, buffer);
  EXPECT_EQ(GetSystemPath(kFolderKindTemporary), win::Narrow(buffer));
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::string self = win::Narrow(buffer);
  EXPECT_EQ(GetSystemPath(kFolderKindExecutable), self.substr(0, self.rfind('\\') + 1));

  struct Case { int kind; bool empty; bool finalBackslash; };
  const Case cases[] = {{0, true, false}, {8, true, false}, {1, false, false}, {2, false, false},
                        {3, false, true}, {5, false, true}, {6, false, false}, {7, false, false}};
  for (const auto& c : cases) {
    std::string path = GetSystemPath(c.kind);
    EXPECT_EQ(path.empty(), c.empty) << c.kind;
    if (!path.empty()) {
      EXPECT_EQ(path.back() == '\\', c.finalBackslash) << c.kind << ": " << path;
    }
  }
  EXPECT_EQ(GetSystemPath(kFolderKindProgramFiles), GetSpecialFolder(kCsidlProgramFiles));
  EXPECT_EQ(GetSystemPath(kFolderKindLocalAppData), GetSpecialFolder(kCsidlLocalAppData));
}

TEST(Folders, CurrentFolderKindFollowsTheProcessWithNonAsciiNames) {
  test::TempFolder temp;
  std::wstring folder = temp.path() + L"Tëst Map";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  wchar_t saved[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(::SetCurrentDirectoryW(folder.c_str()));
  std::string current = GetSystemPath(kFolderKindCurrent);
  ::SetCurrentDirectoryW(saved);
  EXPECT_TRUE(SameText(current, win::Narrow(folder))) << current;
}

TEST(Folders, SpecialFoldersTheSetupUsesExist) {
  for (int csidl : {kCsidlPrograms, kCsidlDesktopDirectory, kCsidlCommonPrograms, kCsidlLocalAppData,
                    kCsidlProgramFiles}) {
    std::string path = GetSpecialFolder(csidl);
    EXPECT_FALSE(path.empty()) << csidl;
    EXPECT_TRUE(FolderExists(path)) << csidl << ": " << path;
  }
  EXPECT_EQ(GetSpecialFolder(0x7F), "") << "an unknown folder has no fallback";
}

TEST(Folders, CreateFolderMakesOneLevelAndFolderExistsTellsFilesApart) {
  test::TempFolder temp;
  std::string base = win::Narrow(temp.path());
  std::string folder = base + "Tëst Map";
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_TRUE(CreateFolder(folder));
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_TRUE(FolderExists(folder + "\\"));
  EXPECT_FALSE(CreateFolder(folder)) << "it exists already";
  EXPECT_FALSE(CreateFolder(base + "a\\b\\c")) << "one level only";
  test::WriteFileBytes(win::Wide(base + "file.txt"), "x");
  EXPECT_FALSE(FolderExists(base + "file.txt"));
  EXPECT_FALSE(FolderExists(""));
}

}  // namespace
}  // namespace orvalis
