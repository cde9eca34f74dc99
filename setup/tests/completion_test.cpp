// Run-or-install choice and the completion of a run.
#include "setup/completion.h"

#include "setup/tests/memory_host.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(CompleteRun, StartsTheProgramAndMakesTheChosenShortcuts) {
  struct Case {
    const char* programFile;
    bool menu, desktop, runProgram;
    std::vector<std::string> shortcuts;  // "menu|desktop target arguments"
    std::vector<std::string> started;    // "file|parameters|folder"
  };
  const Case cases[] = {
      {"demo.exe", true, true, true, {"menu C:\\A\\demo.exe ", "desktop C:\\A\\demo.exe "},
       {"C:\\A\\demo.exe||C:\\A\\"}},
      {"demo.exe /safe", false, true, true, {"desktop C:\\A\\demo.exe /safe"}, {"C:\\A\\demo.exe|/safe|C:\\A\\"}},
      {"demo.EXE", false, false, true, {}, {"C:\\A\\demo.EXE||C:\\A\\"}},
      {"Demo.Exe -a -b", false, false, true, {}, {"C:\\A\\Demo.Exe|-a -b|C:\\A\\"}},
      {"demo.exe.bak", false, false, true, {}, {"C:\\A\\demo.exe.bak||C:\\A\\"}},
      {"tool.bat /x", false, false, true, {}, {"C:\\A\\tool.bat /x||C:\\A\\"}},  // only ".EXE " splits
      {"demo.exe", true, false, false, {"menu C:\\A\\demo.exe "}, {}},
      {"", true, true, true, {}, {}},  // no program: no shortcuts, no start
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = "C:\\A\\";
    s.ProgramFile = c.programFile;
    s.ProductName = "Demo";
    s.ProgramMenu = c.menu;
    s.DesktopLink = c.desktop;
    s.RunProgram = c.runProgram;
    SetupRun run(s, h, "");
    CompleteRun(run);
    std::vector<std::string> shortcuts, started;
    for (const auto& sc : h.shortcuts) {
      shortcuts.push_back((sc.onDesktop ? "desktop " : "menu ") + sc.target + " " + sc.arguments);
      EXPECT_EQ(sc.name, "Demo");
    }
    for (const auto& st : h.started) started.push_back(st.file + "|" + st.parameters + "|" + st.folder);
    EXPECT_EQ(shortcuts, c.shortcuts) << c.programFile;
    EXPECT_EQ(started, c.started) << c.programFile;
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(s.ProgramFile, c.programFile);  // the record keeps the whole text
  }
}

TEST(CompleteRun, ShowsTheProgramStartOnAnOpenProgressWindowAndClosesIt) {
  for (int language : {kDutch, kEnglish}) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = "C:\\A\\";
    s.ProgramFile = "demo.exe";
    s.ProductName = "Demo";
    s.RunProgram = true;
    s.LanguageIndex = language;
    SetupRun run(s, h, "");
    run.OpenProgress(4);
    CompleteRun(run);
    EXPECT_EQ(h.progressTexts, std::vector<std::string>{(language == kDutch ? "Start" : "Run") + std::string(" Demo")});
    EXPECT_LT(h.CallIndex("ProgressText"), h.CallIndex("OpenProgram"));
    EXPECT_FALSE(h.progressOpen);
    EXPECT_FALSE(run.ProgressOpen);
  }
}

TEST(CompleteRun, ReportsAFailedUnattendedRunUnlessOptionsWereCancelled) {
  struct Case {
    bool ok, unattended, optionsCancelled;
    int language;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {false, true, false, kDutch, {"Demo " + SetupText(kTextCannotInstall, kDutch)}},
      {false, true, false, kEnglish, {"Demo " + SetupText(kTextCannotInstall, kEnglish)}},
      {false, true, true, kDutch, {}},
      {false, false, false, kDutch, {}},
      {true, true, false, kDutch, {}},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.ProductName = "Demo";
    s.ProgramFile = "demo.exe";
    s.InstallPath = "C:\\A\\";
    s.RunProgram = s.ProgramMenu = s.DesktopLink = true;
    s.Unattended = c.unattended;
    s.LanguageIndex = c.language;
    SetupRun run(s, h, "");
    run.Ok = c.ok;
    run.OptionsCancelled = c.optionsCancelled;
    CompleteRun(run);
    std::vector<std::string> texts;
    for (const auto& m : h.messages) {
      texts.push_back(m.text);
      EXPECT_EQ(m.caption, "Orvalis Setup");
    }
    EXPECT_EQ(texts, c.messages);
    EXPECT_EQ(h.started.empty(), !c.ok);
    EXPECT_EQ(h.shortcuts.empty(), !c.ok);
  }
}

TEST(CompleteRun, OpensTheReleaseNotesAfterAPauseWhenTheHelpFileExists) {
  struct Case {
    bool ok, showReleaseNotes, helpFile;
    bool opened;
  };
  const Case cases[] = {
      {true, true, true, true},
      {true, true, false, false},
      {true, false, true, false},
      {false, true, true, false},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = "C:\\My App\\";
    s.ShowReleaseNotes = c.showReleaseNotes;
    if (c.helpFile) h.AddFile("C:\\My App\\qx.chm");
    SetupRun run(s, h, "");
    run.Ok = c.ok;
    CompleteRun(run);
    ASSERT_EQ(h.started.size(), c.opened ? 1u : 0u);
    EXPECT_EQ(h.waits, c.opened ? std::vector<int>{kReleaseNotesPauseMs} : std::vector<int>{});
    if (!c.opened) continue;
    EXPECT_EQ(h.started[0].file, "HH.EXE");
    EXPECT_EQ(h.started[0].parameters, "C:\\My App\\QX.CHM::/HTMLHELP/SOURCE/updates.htm");
    EXPECT_EQ(h.started[0].folder, "C:\\My App\\");
    EXPECT_LT(h.CallIndex("Wait"), h.CallIndex("OpenProgram"));
  }
}

TEST(ChooseRunOrInstall, ExecuteTurnsTheRunIntoAnUnattendedTemporaryRun) {
  struct Case {
    RunChoice answer;
    bool ok;
    bool unattended;
    const char* installPath;
    const char* caption;
  };
  const Case cases[] = {
      {RunChoice::kExecute, true, true, "C:\\Temp\\Orvalis\\Demo", "Uitpakken bestanden"},
      {RunChoice::kInstall, true, false, "C:\\Before", "Installeren van bestanden"},
      {RunChoice::kCancelled, false, false, "C:\\Before", "Installeren van bestanden"},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.Product = "Demo";
    s.InstallPath = "C:\\Before";
    s.RegisterSoftware = true;
    s.RunProgram = false;
    SetupRun run(s, h, "");
    run.ProgressCaption = "Installeren van bestanden";
    h.runAnswers = {c.answer};
    ChooseRunOrInstall(run);
    ASSERT_EQ(h.runQuestions.size(), 1u);
    EXPECT_EQ(h.runQuestions[0].question, "Wilt u dit programma direct uitvoeren of installeren?");
    EXPECT_EQ(h.runQuestions[0].cancelCaption, "Annuleren");
    EXPECT_EQ(h.runQuestions[0].executeCaption, "Uitvoeren");
    EXPECT_EQ(h.runQuestions[0].installCaption, "Installeren");
    EXPECT_EQ(run.Ok, c.ok);
    EXPECT_EQ(s.Unattended, c.unattended);
    EXPECT_EQ(s.RegisterSoftware, !c.unattended);
    EXPECT_EQ(s.RunProgram, c.unattended);
    EXPECT_EQ(s.InstallPath, c.installPath);
    EXPECT_EQ(run.ProgressCaption, c.caption);
  }
}

}  // namespace
}  // namespace orvalis
