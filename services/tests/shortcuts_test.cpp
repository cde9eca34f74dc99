// Shortcut files written through the shell's link object and read back
// through it.
#include "services/shortcuts.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "core/text.h"
#include "services/folders.h"
#include "services/tests/win_test_support.h"
#include "win/com.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

struct LinkFields {
  std::string target;
  std::string arguments;
  std::string workingFolder;
  std::string description;
  int showCommand = -1;
};

LinkFields ReadLink(const std::string& path) {
  LinkFields fields;
  win::com_scope com;
  win::com_ptr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
    ADD_FAILURE() << "no shell link object";
    return fields;
  }
  auto file = link.query<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(win::Wide(path).c_str(), STGM_READ))) {
    ADD_FAILURE() << "cannot load " << path;
    return fields;
  }
  wchar_t text[1024] = {};
  if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) fields.target = win::Narrow(text);
  text[0] = 0;
  if (SUCCEEDED(link->GetArguments(text, 1024))) fields.arguments = win::Narrow(text);
  text[0] = 0;
  if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) fields.workingFolder = win::Narrow(text);
  text[0] = 0;
  if (SUCCEEDED(link->GetDescription(text, 1024))) fields.description = win::Narrow(text);
  link->GetShowCmd(&fields.showCommand);
  return fields;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesW(win::Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Shortcut, WrittenLinkResolvesToTargetArgumentsFolderAndDescription) {
  test::TempFolder temp;
  const std::string base = win::Narrow(temp.path());
  ASSERT_TRUE(::CreateDirectoryW(win::Wide(base + "Tëst Map").c_str(), nullptr));
  const std::string target = base + "Tëst Map\\prög.exe";
  test::WriteFileBytes(win::Wide(target), "MZ");
  struct Case { std::string link; std::string arguments; std::string description; };
  const Case cases[] = {
      {base + "Démo.lnk", "", "Démo"},
      {base + "Tëst Map\\with args.lnk", "/P:\"C:\\My Folder\" /x", "Orvalis Démo"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteShortcut(c.link, target, c.arguments, c.description)) << c.link;
    LinkFields fields = ReadLink(c.link);
    EXPECT_TRUE(SameText(fields.target, target)) << fields.target;
    EXPECT_EQ(fields.arguments, c.arguments);
    EXPECT_TRUE(SameText(fields.workingFolder, base + "Tëst Map\\") || SameText(fields.workingFolder, base + "Tëst Map"))
        << fields.workingFolder;
    EXPECT_EQ(fields.description, c.description);
    // The link format keeps only normal, maximised and minimised; SW_SHOW reads back as normal.
    EXPECT_TRUE(fields.showCommand == SW_SHOW || fields.showCommand == SW_SHOWNORMAL) << fields.showCommand;
  }
}

TEST(Shortcut, ExistingLinkIsOverwrittenAndABadNameFails) {
  test::TempFolder temp;
  const std::string base = win::Narrow(temp.path());
  const std::string link = base + "App.lnk";
  ASSERT_TRUE(WriteShortcut(link, "C:\\windows\\notepad.exe", "", "first"));
  ASSERT_TRUE(WriteShortcut(link, "C:\\windows\\regedit.exe", "-x", "second"));
  LinkFields fields = ReadLink(link);
  EXPECT_TRUE(SameText(fields.target, "C:\\windows\\regedit.exe")) << fields.target;
  EXPECT_EQ(fields.description, "second");
  EXPECT_FALSE(WriteShortcut(base + "bad|name?.lnk", "C:\\windows\\notepad.exe", "", "x"));
  EXPECT_FALSE(WriteShortcut(base + "no such folder\\x.lnk", "C:\\windows\\notepad.exe", "", "x"));
}

TEST(Shortcut, TargetWithoutAFolderGetsNoWorkingFolder) {
  test::TempFolder temp;
  const std::string link = win::Narrow(temp.path()) + "bare.lnk";
  ASSERT_TRUE(WriteShortcut(link, "prog.exe", "", "bare"));
  EXPECT_EQ(ReadLink(link).workingFolder, "");
}

// The desktop and the programs menu of the test prefix must lie inside the
// build output or /tmp; anything else could be a real user's desktop. Wine
// links the prefix's desktop to the Unix home, so the folder is first resolved
// to its final path and then asked for its Unix name.
bool InScratchSpace(const std::string& unixPath) {
  return unixPath.rfind(ORVALIS_SOURCE_DIR "/out/", 0) == 0 || unixPath.rfind("/tmp/", 0) == 0;
}

std::string UnixPathOf(const std::string& folder) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};  // not under Wine: this test is for the test prefix only
  win::unique_file handle(::CreateFileW(win::Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return {};
  wchar_t final[2048] = {};
  if (::GetFinalPathNameByHandleW(handle.get(), final, 2048, FILE_NAME_NORMALIZED) == 0) return {};
  char* unixPath = toUnix(final);
  if (unixPath == nullptr) return {};
  std::string path = unixPath;
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return path;
}

TEST(Shortcut, InstallShortcutsGoToTheDesktopAndTheOrvalisProgramsGroup) {
  const std::string desktop = GetSpecialFolder(kCsidlDesktopDirectory);
  const std::string programs = GetSpecialFolder(kCsidlCommonPrograms);
  const std::string unixDesktop = UnixPathOf(desktop);
  const std::string unixPrograms = UnixPathOf(programs);
  if (!InScratchSpace(unixDesktop) || !InScratchSpace(unixPrograms))
    GTEST_SKIP() << "desktop or programs menu outside the build output: " << unixDesktop << " / " << unixPrograms;
  EXPECT_EQ(ShortcutFolder(true), desktop);
  EXPECT_EQ(ShortcutFolder(false), programs + "\\Orvalis");

  const std::string name = "Orvalis Tëst " + std::to_string(::GetCurrentProcessId());
  const std::string group = programs + "\\Orvalis";
  const bool groupExisted = FolderExists(group);
  struct Case { bool onDesktop; std::string link; };
  const Case cases[] = {{true, desktop + "\\" + name + ".lnk"}, {false, group + "\\" + name + ".lnk"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(CreateShortcut("C:\\Program Files\\Orvalis\\Tëst\\prog.exe", "", name, c.onDesktop));
    EXPECT_TRUE(CreateShortcut("C:\\Program Files\\Orvalis\\Tëst\\prog.exe", "", name, c.onDesktop))
        << "a second time over the first, in the group made the first time";
    ASSERT_TRUE(FileExists(c.link)) << c.link;
    LinkFields fields = ReadLink(c.link);
    EXPECT_EQ(fields.target, "C:\\Program Files\\Orvalis\\Tëst\\prog.exe");
    EXPECT_EQ(fields.workingFolder, "C:\\Program Files\\Orvalis\\Tëst\\");
    EXPECT_EQ(fields.description, name);
    ::DeleteFileW(win::Wide(c.link).c_str());
  }
  if (!groupExisted) ::RemoveDirectoryW(win::Wide(group).c_str());
}

}  // namespace
}  // namespace orvalis
