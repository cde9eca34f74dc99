// The switches applied to the setup's state.
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

// How the switches are read is services/tests/switch_tokens_test.cpp; here,
// what each one does to the state.
TEST(ParseSwitches, AppliesEachSwitchAndItsValue) {
  struct Case { const char* text; Outcome expected; };
  const Case cases[] = {
      {"/p:\"C:\\My Folder\" /u /m:enu", {"C:\\My Folder", "", "ENU", "U"}},
      {"/c /h /i /l /r /s /u", {"", "", "", "CHILRSU"}},
      {"/e:demo.exe", {"", "demo.exe", "", ""}},
      {"/m:nld", {"", "", "NLD", ""}},
      {"/m:ënu", {"", "", "ËNU", ""}},                                // upper-casing covers accents
      {"/d:\"C:\\Some Where\" /u", {"", "", "", "U"}},               // /D: value read, not used
      {"/x /u", {"", "", "", "U"}},                                   // unknown letters do nothing
      {"/p:A /p:B", {"B", "", "", ""}},                               // later values replace earlier ones
      {"/q", {"", "", "", "QU"}},                                     // quiet is unattended too
      {"/o:\"C:\\My Logs\\s.log\" /u", {"", "", "", "U", "C:\\My Logs\\s.log"}},
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
