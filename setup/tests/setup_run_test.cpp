// Shared steps of a run: command pieces and the elevation offer.
#include "setup/setup_run.h"

#include "setup/tests/memory_host.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(SplitProgramFile, SplitsAtTheFirstExeFollowedByABlank) {
  struct Case { const char* programFile; const char* file; const char* parameters; };
  const Case cases[] = {
      {"demo.exe /safe", "demo.exe", "/safe"},
      {"demo.EXE", "demo.EXE", ""},
      {"Demo.Exe -a -b", "Demo.Exe", "-a -b"},
      {"bin\\a.exe b.exe c", "bin\\a.exe", "b.exe c"},
      {"my.exe.tool.exe x", "my.exe.tool.exe", "x"},
      {"demo.exe ", "demo.exe", ""},
      {"run.bat /x", "run.bat /x", ""},
      {"", "", ""},
      {"Tëst.exe /ä", "Tëst.exe", "/ä"},
  };
  for (const auto& c : cases) {
    ProgramCommand command = SplitProgramFile(c.programFile);
    EXPECT_EQ(command.file, c.file) << c.programFile;
    EXPECT_EQ(command.parameters, c.parameters) << c.programFile;
  }
}

TEST(CommandLineOf, QuotesOnlyAProgramPathWithABlank) {
  struct Case { const char* path; const char* parameters; const char* line; };
  const Case cases[] = {
      {"C:\\Apps\\demo.exe", "", "C:\\Apps\\demo.exe"},
      {"C:\\Program Files\\demo.exe", "", "\"C:\\Program Files\\demo.exe\""},
      {"C:\\Program Files\\demo.exe", "/safe", "\"C:\\Program Files\\demo.exe\" /safe"},
      {"C:\\Apps\\demo.exe", "/a /b", "C:\\Apps\\demo.exe /a /b"},
      {"C:\\Tëst Map\\démo.exe", "", "\"C:\\Tëst Map\\démo.exe\""},
      {"", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineOf(c.path, c.parameters), c.line) << c.path;
}

TEST(OfferElevation, AsksWithTheQuestionAndHandsOnTheCommandLineUnchanged) {
  struct Case { int language; bool accept; };
  const Case cases[] = {{kDutch, false}, {kDutch, true}, {kEnglish, true}};
  const std::string commandLine = "/p:\"C:\\My Folder\"  /u /m:enu";
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.LanguageIndex = c.language;
    SetupRun run(s, h, commandLine);
    h.elevationAnswers = {c.accept};
    EXPECT_EQ(run.OfferElevation("Problem."), c.accept);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].kind, "elevation");
    EXPECT_EQ(h.messages[0].text, "Problem.\n\n" + SetupText(kTextElevationQuestion, c.language));
    EXPECT_EQ(h.elevatedRestarts, c.accept ? std::vector<std::string>{commandLine} : std::vector<std::string>{});
  }
}

TEST(SetupRunProgress, StepsAreIgnoredWhileNoWindowIsOpen) {
  MemoryHost h;
  SetupState s;
  SetupRun run(s, h, "");
  run.ProgressStep(kTextFinish);
  run.SetProgressPosition(3);
  run.CloseProgress();
  EXPECT_TRUE(h.calls.empty());
  run.ProgressCaption = "Install files";
  run.OpenProgress(5);
  run.ProgressStep(kTextRunProgram, " Demo");
  run.SetProgressPosition(2);
  run.CloseProgress();
  EXPECT_EQ(h.calls, (std::vector<std::string>{"OpenProgress Install files 5", "ProgressText Start Demo",
                                               "RepaintProgress", "ProgressPosition 2", "CloseProgress"}));
}

TEST(SetupRunQuiet, ShowsNothingAndLogsWhatItWouldHaveShown) {
  MemoryHost h;
  SetupState s;
  s.Quiet = s.Unattended = true;
  SetupRun run(s, h, "/Q");
  run.Log.Open("C:\\run.log", "header");
  run.OpenProgress(5);
  run.ProgressStep(kTextCheckWritable);
  run.Message("Fout\nregel twee");
  EXPECT_FALSE(run.OfferElevation("Problem."));
  EXPECT_TRUE(h.messages.empty());
  EXPECT_EQ(h.CountCalls("OpenProgress"), 0);
  EXPECT_EQ(h.CountCalls("ProgressText"), 0);
  EXPECT_TRUE(h.elevatedRestarts.empty());
  EXPECT_EQ(h.logLines, (std::vector<std::string>{"header", "step: Check if all files can be written",
                                                  "message: Fout regel twee",
                                                  "elevation offer declined (quiet run): Problem."}));
}

}  // namespace
}  // namespace orvalis
