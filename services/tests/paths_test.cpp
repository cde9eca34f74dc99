// Path pieces and program quoting.
#include "services/paths.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(Paths, FolderAndFileNamePartsSplitAtTheLastSeparator) {
  struct Case { const char* path; const char* folder; const char* name; };
  const Case cases[] = {
      {"C:\\App\\prog.exe", "C:\\App\\", "prog.exe"},
      {"C:\\Tëst Map\\Démo.exe", "C:\\Tëst Map\\", "Démo.exe"},
      {"prog.exe", "", "prog.exe"},
      {"C:prog.exe", "C:", "prog.exe"},
      {"C:\\", "C:\\", ""},
      {"\\\\server\\share\\x.exe", "\\\\server\\share\\", "x.exe"},
      {"dir/sub/x.exe", "dir/sub/", "x.exe"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
  }
}

TEST(Paths, StartFolderDropsTheFinalBackslashExceptAtADriveRoot) {
  struct Case { const char* file; const char* folder; };
  const Case cases[] = {
      {"C:\\App\\prog.exe", "C:\\App"},
      {"C:\\My Folder\\sub\\x.exe", "C:\\My Folder\\sub"},
      {"C:\\prog.exe", "C:\\"},
      {"prog.exe", ""},
      {"http://example.org/a", ""},
      {"\\\\server\\share\\x.exe", "\\\\server\\share"},
  };
  for (const auto& c : cases) EXPECT_EQ(StartFolderOf(c.file), c.folder) << c.file;
}

TEST(Paths, QuoteProgramQuotesOnlyAProgramPathWithABlank) {
  struct Case { const char* in; const char* out; };
  const Case cases[] = {
      {"C:\\App\\prog.exe", "C:\\App\\prog.exe"},
      {"C:\\Program Files\\Orvalis\\prog.exe", "\"C:\\Program Files\\Orvalis\\prog.exe\""},
      {"C:\\Tëst Map\\prog.exe", "\"C:\\Tëst Map\\prog.exe\""},
      {"\"C:\\Program Files\\x.exe\"", "\"C:\\Program Files\\x.exe\""},
      // Arguments after ".exe " stay outside the quotes.
      {"C:\\Program Files\\x.EXE /demo a", "\"C:\\Program Files\\x.EXE\" /demo a"},
      {"C:\\App\\x.exe /demo", "C:\\App\\x.exe /demo"},
      {"C:\\My Folder\\readme", "\"C:\\My Folder\\readme\""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteProgram(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace orvalis
