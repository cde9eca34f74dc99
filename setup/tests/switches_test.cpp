// Command-line switch parsing.
#include "setup/switches.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

// A compact picture of what the switches touch, so one table row can state it.
struct Outcome {
  std::string installPath;
  std::string programFile;
  std::string languageCode;
  std::string flags;  // letters of the flags that are on, in the order C H I L Q R S U
  std::string logPath = {};
};

Outcome Parse(const std::string& text, SetupState state = {}) {
  ParseSwitches(text, state);
  std::string flags;
  if (state.CustomInstall) flags += 'C';
  if (state.ShowReleaseNotes) flags += 'H';
  if (state.RegisterSoftware) flags += 'I';
  if (state.DesktopLink) flags += 'L';
  if (state.Quiet) flags += 'Q';
  if (state.RunProgram) flags += 'R';
  if (state.ProgramMenu) flags += 'S';
  if (state.Unattended) flags += 'U';
  return {state.InstallPath, state.ProgramFile, state.LanguageCode, flags, state.LogPath};
}

TEST(ParseSwitches, AppliesEachSwitchAndItsValue) {
  struct Case { const char* text; Outcome expected; };
  const Case cases[] = {
      {"/p:\"C:\\My Folder\" /u /m:enu", {"C:\\My Folder", "", "ENU", "U"}},
      {"/u /p:D:\\Apps\\X /r", {"D:\\Apps\\X", "", "", "RU"}},
      {"/c /h /i /l /r /s /u", {"", "", "", "CHILRSU"}},
      {"/C /H /I /L /R /S /U", {"", "", "", "CHILRSU"}},
      {"/R /C", {"", "", "", "CR"}},                                  // /R does not swallow the next switch
      {"/e:demo.exe", {"", "demo.exe", "", ""}},
      {"/E:\"my prog.exe\" /l", {"", "my prog.exe", "", "L"}},
      {"/m:nld", {"", "", "NLD", ""}},
      {"/m:\"enu\"", {"", "", "\"ENU\"", ""}},                        // /M: never takes quotes
      {"/m:ënu", {"", "", "ËNU", ""}},                                // upper-casing covers accents
      {"/p:\"C:\\My Folder\"junk /s", {"C:\\My Folder", "", "", "S"}},  // glued text after the quote is dropped
      {"/p:\"C:\\Open Quote /u", {"C:\\Open Quote /u", "", "", ""}},    // unclosed quote runs to the end
      {"/p:\"C:\\Tëst Map\" /u", {"C:\\Tëst Map", "", "", "U"}},
      {"/p:C:\\Tëst", {"C:\\Tëst", "", "", ""}},
      {"/d:\"C:\\Some Where\" /u", {"", "", "", "U"}},               // /D: value consumed, not used
      {"/d:X:\\nowhere /l", {"", "", "", "L"}},
      {"/u x", {"", "", "", "U"}},                                    // a single trailing character is ignored
      {"/u", {"", "", "", "U"}},
      {"/", {"", "", "", ""}},
      {"", {"", "", "", ""}},
      {"  \t/u\t  ", {"", "", "", "U"}},
      {"/x /u", {"", "", "", "U"}},                                   // unknown letters are skipped
      {"hello /u world", {"", "", "", "U"}},                          // so is text that is no switch
      {"/uc", {"", "", "", "U"}},                                     // only the letter after "/" counts
      {"/u/c", {"", "", "", "U"}},                                    // the token runs to the blank
      {"/p:A /p:B", {"B", "", "", ""}},                               // later values replace earlier ones
      {"/p", {"", "", "", ""}},
      {"/p:\"\" /u", {"", "", "", "U"}},
      {"/p:C:\\A   /u", {"C:\\A", "", "", "U"}},                      // several blanks between switches
      {"/pé\"C:\\X Y\" /u", {"C:\\X Y", "", "", "U"}},                // a non-ASCII separator is one character
      {"/q", {"", "", "", "QU"}},                                     // quiet is unattended too
      {"/Q /p:C:\\A", {"C:\\A", "", "", "QU"}},
      {"/o:\"C:\\My Logs\\s.log\" /u", {"", "", "", "U", "C:\\My Logs\\s.log"}},
      {"/O:C:\\s.log /q", {"", "", "", "QU", "C:\\s.log"}},
      {"/log:C:\\s.log", {"", "", "", "L"}},                          // a word switch is its first letter
  };
  for (const auto& c : cases) {
    Outcome got = Parse(c.text);
    EXPECT_EQ(got.installPath, c.expected.installPath) << c.text;
    EXPECT_EQ(got.programFile, c.expected.programFile) << c.text;
    EXPECT_EQ(got.languageCode, c.expected.languageCode) << c.text;
    EXPECT_EQ(got.flags, c.expected.flags) << c.text;
    EXPECT_EQ(got.logPath, c.expected.logPath) << c.text;
  }
}

TEST(ParseSwitches, NeverSwitchesAFlagOffAndKeepsUntouchedValues) {
  SetupState before;
  before.CustomInstall = before.ShowReleaseNotes = before.RegisterSoftware = true;
  before.DesktopLink = before.RunProgram = before.ProgramMenu = before.Unattended = true;
  before.InstallPath = "C:\\Kept";
  before.ProgramFile = "kept.exe";
  before.LanguageCode = "ENU";
  Outcome got = Parse("/x:0 /m", before);  // /m without value gives an empty code
  EXPECT_EQ(got.flags, "CHILRSU");
  EXPECT_EQ(got.installPath, "C:\\Kept");
  EXPECT_EQ(got.programFile, "kept.exe");
  EXPECT_EQ(got.languageCode, "");
  got = Parse("/u /c", before);
  EXPECT_EQ(got.languageCode, "ENU");
}

}  // namespace
}  // namespace orvalis
