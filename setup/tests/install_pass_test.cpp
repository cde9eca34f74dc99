// The install procedure of one pass, and the registration after it.
#include "setup/install_pass.h"

#include "services/payload_name.h"
#include "setup/tests/memory_host.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

constexpr const char* kFolder = "C:\\Apps\\Demo\\";

class InstallPassTest : public testing::Test {
 protected:
  InstallPassTest() : run(state, host, "/u") {
    state.InstallPath = kFolder;
    state.Product = "Demo";
    state.ProductName = "Demo Product";
    state.ProgramFile = "demo.exe";
    host.AddFolder(kFolder);
    host.SetProductKey("Demo");
    host.calls.clear();
    run.ProgressCaption = "Install files";
  }

  // Adds payload entries with their contents, all selected.
  void Payload(std::initializer_list<std::pair<const char*, const char*>> entries) {
    for (const auto& [name, content] : entries) {
      host.AddPayload(name, content);
      run.Payload.push_back({name, true});
    }
  }

  std::string Bytes(const std::string& name) {
    const MemoryHost::File* file = host.FindFile(kFolder + name);
    return file ? file->bytes : "<missing>";
  }

  MemoryHost host;
  SetupState state;
  SetupRun run;
};

TEST_F(InstallPassTest, WritesEverySelectedFileUnderItsDisplayName) {
  Payload({{"DEMO.EXE", "program"}, {"SKIPPED.DEF", "x"}, {"DATA\\SUB\\X.BIN", "data"}, {"EMPTY.TXT", ""}});
  run.Payload[1].Selected = false;
  EXPECT_EQ(InstallPass(run), PassOutcome::kFinished);
  EXPECT_TRUE(run.Ok);
  EXPECT_EQ(host.FilePaths(), (std::vector<std::string>{"C:\\Apps\\Demo\\Data\\sub\\x.bin",
                                                        "C:\\Apps\\Demo\\Demo.exe", "C:\\Apps\\Demo\\Empty.txt"}));
  EXPECT_EQ(Bytes("Demo.exe"), "program");
  EXPECT_EQ(Bytes("Data\\sub\\x.bin"), "data");
  EXPECT_EQ(Bytes("Empty.txt"), "");  // a stream of an empty file gives an empty file
  EXPECT_TRUE(host.HasFolder("C:\\Apps\\Demo\\Data\\sub"));
  // Bar from 0 to selected + 3; positions are indexes in the whole payload list.
  EXPECT_EQ(host.progressMaximum, 6);
  EXPECT_EQ(host.progressCaptions, std::vector<std::string>{"Install files"});
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(host.progressTexts,
            (std::vector<std::string>{"Alleen lezen van bestanden uitschakelen",
                                      "Controleren of alle bestanden overschreven kunnen worden", "Demo.exe",
                                      "Data\\sub\\x.bin", "Empty.txt"}));
  // Each file is shown with one repaint, after both its text and its bar position.
  int at = host.CallIndex("ProgressText Demo.exe");
  ASSERT_GE(at, 0);
  EXPECT_EQ(std::vector<std::string>(host.calls.begin() + at, host.calls.begin() + at + 3),
            (std::vector<std::string>{"ProgressText Demo.exe", "ProgressPosition 0", "RepaintProgress"}));
  EXPECT_NE(host.calls[static_cast<size_t>(at) + 3], "RepaintProgress");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.waits.empty());
}

TEST_F(InstallPassTest, ReplacesReadOnlyAndHiddenFilesAndPutsOnlyReadOnlyBack) {
  Payload({{"DEMO.EXE", "new"}, {"PLAIN.DLL", "new"}});
  host.AddFile("C:\\Apps\\Demo\\demo.exe", "old", kAttributeReadOnly | kAttributeHidden);
  host.AddFile("C:\\Apps\\Demo\\PLAIN.DLL", "old", kAttributeArchive);
  EXPECT_EQ(InstallPass(run), PassOutcome::kFinished);
  EXPECT_TRUE(run.Ok);
  EXPECT_EQ(Bytes("Demo.exe"), "new");
  EXPECT_EQ(Bytes("Plain.dll"), "new");
  const MemoryHost::File* exe = host.FindFile("C:\\Apps\\Demo\\Demo.exe");
  ASSERT_NE(exe, nullptr);
  EXPECT_NE(exe->attributes & kAttributeReadOnly, 0u);
  EXPECT_EQ(exe->attributes & kAttributeHidden, 0u);
  EXPECT_EQ(host.CountCalls("WriteAttributes C:\\Apps\\Demo\\DEMO.EXE 0"), 1);
  EXPECT_EQ(host.CountCalls("WriteAttributes"), 2);  // cleared once, read-only added once
  EXPECT_EQ(host.progressTexts.back(), "Alleen-lezen van bestanden inschakelen");
}

TEST_F(InstallPassTest, WaitsForFilesHeldByOtherPrograms) {
  struct Case {
    int lockedUntilMs;
    std::vector<bool> elevationAnswers;
    PassOutcome outcome;
    bool ok;
    size_t waits;
    bool written;
    bool readOnlyRestored;
  };
  const Case cases[] = {
      {0, {}, PassOutcome::kFinished, true, 0, true, true},
      {3000, {}, PassOutcome::kFinished, true, 6, true, true},  // free at the seventh attempt
      {9500, {}, PassOutcome::kFinished, true, 19, true, true},  // free at the last attempt
      {MemoryHost::kLockedForever, {false}, PassOutcome::kFinished, false, 19, false, true},
      {MemoryHost::kLockedForever, {true}, PassOutcome::kElevating, false, 19, false, false},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = kFolder;
    SetupRun r(s, h, "/u /p:\"C:\\Apps\\Demo\"");
    h.AddFolder(kFolder);
    h.AddPayload("DEMO.EXE", "new");
    h.AddPayload("OTHER.DLL", "new");
    r.Payload = {{"DEMO.EXE", true}, {"OTHER.DLL", true}};
    h.AddFile("C:\\Apps\\Demo\\Demo.exe", "old", kAttributeReadOnly);
    h.AddFile("C:\\Apps\\Demo\\Other.dll", "old");
    h.LockFile("C:\\Apps\\Demo\\Other.dll", c.lockedUntilMs);
    h.elevationAnswers.assign(c.elevationAnswers.begin(), c.elevationAnswers.end());

    EXPECT_EQ(InstallPass(r), c.outcome) << c.lockedUntilMs;
    EXPECT_EQ(r.Ok, c.ok) << c.lockedUntilMs;
    EXPECT_EQ(h.waits.size(), c.waits) << c.lockedUntilMs;
    for (int w : h.waits) EXPECT_EQ(w, kWritableRetryMs);
    EXPECT_EQ(h.FindFile("C:\\Apps\\Demo\\Demo.exe")->bytes == "new", c.written) << c.lockedUntilMs;
    EXPECT_EQ((h.FindFile("C:\\Apps\\Demo\\Demo.exe")->attributes & kAttributeReadOnly) != 0, c.readOnlyRestored)
        << c.lockedUntilMs;
    if (!c.elevationAnswers.empty()) {
      ASSERT_EQ(h.messages.size(), 1u);
      EXPECT_EQ(h.messages[0].kind, "elevation");
      EXPECT_EQ(h.messages[0].text, SetupText(kTextFilesLocked, kDutch) + "\n\n" +
                                        SetupText(kTextElevationQuestion, kDutch));
      EXPECT_EQ(h.elevatedRestarts.size(), c.elevationAnswers[0] ? 1u : 0u);
      if (c.elevationAnswers[0]) {
        EXPECT_EQ(h.elevatedRestarts[0], "/u /p:\"C:\\Apps\\Demo\"");
      }
      EXPECT_EQ(h.CountCalls("ExtractPayloadFile"), 0);
      EXPECT_EQ(h.CountCalls("RemoveFile"), 0);
    } else {
      EXPECT_TRUE(h.messages.empty());
    }
    // The window is repainted after every attempt of the wait.
    int attempts = 0;
    for (size_t i = static_cast<size_t>(h.CallIndex("ProgressText Controleren")) + 2; i < h.calls.size(); ++i) {
      if (h.calls[i] == "RepaintProgress") ++attempts;
      else if (h.calls[i].rfind("Wait ", 0) != 0) break;
    }
    EXPECT_EQ(attempts, c.ok ? static_cast<int>(c.waits) + 1 : kWritableAttempts) << c.lockedUntilMs;
  }
}

TEST_F(InstallPassTest, DeletesListedFilesInsideTheFolderOnly) {
  Payload({{"DEMO.EXE", "p"}});
  state.DeleteList = "OLD.DLL,,MISSING.DLL, SPACED.DLL,..\\OUTSIDE.DLL,C:\\WINDOWS\\X.DLL,\\ROOT.DLL,SUB\\GONE.DLL";
  for (const char* path : {"C:\\Apps\\Demo\\old.dll", "C:\\Apps\\Demo\\ SPACED.DLL", "C:\\Apps\\Demo\\SPACED.DLL",
                           "C:\\Apps\\OUTSIDE.DLL", "C:\\WINDOWS\\X.DLL", "C:\\Apps\\Demo\\Sub\\gone.dll"})
    host.AddFile(path);
  EXPECT_EQ(InstallPass(run), PassOutcome::kFinished);
  EXPECT_TRUE(run.Ok);
  EXPECT_EQ(host.FindFile("C:\\Apps\\Demo\\OLD.DLL"), nullptr);
  EXPECT_EQ(host.FindFile("C:\\Apps\\Demo\\ SPACED.DLL"), nullptr);  // the blank is part of the name
  EXPECT_NE(host.FindFile("C:\\Apps\\Demo\\SPACED.DLL"), nullptr);
  EXPECT_EQ(host.FindFile("C:\\Apps\\Demo\\SUB\\GONE.DLL"), nullptr);
  EXPECT_NE(host.FindFile("C:\\Apps\\OUTSIDE.DLL"), nullptr);
  EXPECT_NE(host.FindFile("C:\\WINDOWS\\X.DLL"), nullptr);
  EXPECT_EQ(host.CountCalls("RemoveFile"), 4);  // OLD, MISSING, " SPACED", SUB\GONE
  EXPECT_EQ(host.CountCalls("RemoveFile C:\\Apps\\Demo\\MISSING.DLL"), 1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.CountCalls("ProgressText Verwijderen oude bestanden"), 1);
}

TEST_F(InstallPassTest, OldAssistFilesGoOnlyWhenAssistFilesWereChosen) {
  for (bool assistSelected : {false, true}) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = kFolder;
    SetupRun r(s, h, "");
    h.AddPayload("NEW.QXA", "a");
    r.Payload = {{"NEW.QXA", true}};
    r.AssistSelected = assistSelected;
    for (const char* name : {"PF1.QXA", "pfx.qxa", "DEFAULT.QXA", "OTHER.QXA", "PF1.TXT"})
      h.AddFile(std::string(kFolder) + name);
    h.AddFile("C:\\Apps\\PF9.QXA");  // outside the folder
    EXPECT_EQ(InstallPass(r), PassOutcome::kFinished);
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(h.FindFile("C:\\Apps\\Demo\\PF1.QXA") == nullptr, assistSelected);
    EXPECT_EQ(h.FindFile("C:\\Apps\\Demo\\pfx.qxa") == nullptr, assistSelected);
    EXPECT_EQ(h.FindFile("C:\\Apps\\Demo\\DEFAULT.QXA") == nullptr, assistSelected);
    EXPECT_NE(h.FindFile("C:\\Apps\\Demo\\OTHER.QXA"), nullptr);
    EXPECT_NE(h.FindFile("C:\\Apps\\Demo\\PF1.TXT"), nullptr);
    EXPECT_NE(h.FindFile("C:\\Apps\\PF9.QXA"), nullptr);
    EXPECT_NE(h.FindFile("C:\\Apps\\Demo\\New.qxa"), nullptr);
  }
}

TEST_F(InstallPassTest, AFailedFileIsReportedAfterTheOthersAreWritten) {
  struct Case {
    const char* what;
    std::function<void(MemoryHost&)> prepare;
  };
  const Case cases[] = {
      {"damaged stream", [](MemoryHost& h) { h.AddRawPayload("BAD.DLL", Deflate("content").substr(0, 6) + "xx"); }},
      {"trailer changed",
       [](MemoryHost& h) {
         std::string raw = Deflate("content");
         raw.back() = char(raw.back() ^ 1);
         h.AddRawPayload("BAD.DLL", raw);
       }},
      {"missing resource", [](MemoryHost&) {}},
      {"empty resource", [](MemoryHost& h) { h.AddRawPayload("BAD.DLL", ""); }},
      {"cannot write",
       [](MemoryHost& h) {
         h.AddPayload("BAD.DLL", "x");
         h.DenyWrites("C:\\Apps\\Demo\\Bad.dll");
       }},
      {"folder cannot be made",
       [](MemoryHost& h) {
         h.AddPayload("BAD.DLL", "x");
         h.DenyWrites("C:\\Apps\\Demo\\Sub");
       }},
  };
  for (const auto& c : cases) {
    for (bool accept : {false, true}) {
      MemoryHost h;
      SetupState s;
      s.InstallPath = kFolder;
      s.LanguageIndex = kEnglish;
      SetupRun r(s, h, "");
      h.AddFolder(kFolder);
      h.AddPayload("FIRST.EXE", "1");
      h.AddPayload("LAST.DAT", "2");
      c.prepare(h);
      std::string bad = std::string(c.what) == "folder cannot be made" ? "SUB\\BAD.DLL" : "BAD.DLL";
      if (bad != "BAD.DLL") {
        h.AddPayload(bad, "x");
      }
      r.Payload = {{"FIRST.EXE", true}, {bad, true}, {"LAST.DAT", true}};
      // A stream that fails leaves an earlier version of its file as it was.
      const bool streamFails = std::string(c.what) != "cannot write" && std::string(c.what) != "folder cannot be made";
      std::string badPath = std::string(kFolder) + PayloadDisplayName(bad);
      if (streamFails) h.AddFile(badPath, "old");
      h.elevationAnswers = {accept};
      PassOutcome outcome = InstallPass(r);
      EXPECT_EQ(outcome, accept ? PassOutcome::kElevating : PassOutcome::kFinished) << c.what;
      EXPECT_FALSE(r.Ok) << c.what;
      ASSERT_NE(h.FindFile("C:\\Apps\\Demo\\First.exe"), nullptr) << c.what;
      EXPECT_EQ(h.FindFile("C:\\Apps\\Demo\\First.exe")->bytes, "1") << c.what;
      EXPECT_EQ(h.FindFile("C:\\Apps\\Demo\\Last.dat")->bytes, "2") << c.what;
      if (streamFails) {
        ASSERT_NE(h.FindFile(badPath), nullptr) << c.what;
        EXPECT_EQ(h.FindFile(badPath)->bytes, "old") << c.what;
      }
      ASSERT_EQ(h.messages.size(), 1u) << c.what;
      EXPECT_EQ(h.messages[0].kind, "elevation");
      EXPECT_EQ(h.messages[0].text,
                "Not all files could be installed\n\nDo you wish to run the setup as administrator?");
      // Declined: the window goes and the next pass opens a new one.
      EXPECT_EQ(r.ProgressOpen, accept) << c.what;
    }
  }
}

TEST_F(InstallPassTest, PayloadNamesThatLeaveTheFolderAreFailedFiles) {
  for (const char* name : {"..\\EVIL.DLL", "C:\\EVIL.DLL", "\\EVIL.DLL", "SUB\\..\\..\\EVIL.DLL", "CON"}) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = kFolder;
    SetupRun r(s, h, "");
    h.AddFolder(kFolder);
    h.AddPayload(name, "evil");
    h.AddPayload("GOOD.EXE", "good");
    h.AddFile("C:\\Apps\\EVIL.DLL", "old", kAttributeReadOnly);
    r.Payload = {{name, true}, {"GOOD.EXE", true}};
    h.elevationAnswers = {false};
    EXPECT_EQ(InstallPass(r), PassOutcome::kFinished) << name;
    EXPECT_FALSE(r.Ok) << name;
    EXPECT_EQ(h.CountCalls("ExtractPayloadFile"), 1) << name;  // GOOD.EXE only
    EXPECT_EQ(h.FindFile("C:\\Apps\\EVIL.DLL")->bytes, "old") << name;
    EXPECT_EQ(h.CountCalls("WriteAttributes"), 0) << name;  // not even its attributes are touched
    EXPECT_NE(h.FindFile("C:\\Apps\\Demo\\Good.exe"), nullptr) << name;
  }
}

TEST_F(InstallPassTest, RegistrationStoresSettingsAndRecordsTheInstallation) {
  state.CustomInstall = true;
  state.RegisterSoftware = true;
  state.LanguageCode = "ENU";
  state.FileTypeList = "qxa,,qxb";
  state.RegistryList = "Options\\AutoSave:I1,Paths\\Data:C:\\x,Setup\\Custom:I0,Top:,";
  RegisterInstallation(run);
  auto stored = [&](const char* section, const char* name) { return host.StoredSetting("Demo", section, name); };
  ASSERT_TRUE(stored("Setup", "Path"));
  EXPECT_EQ(stored("Setup", "Path")->text, kFolder);
  ASSERT_TRUE(stored("Setup", "Custom"));
  EXPECT_EQ(stored("Setup", "Custom")->number, 0);  // the package's own value wins, stored as 0
  EXPECT_TRUE(stored("Setup", "Custom")->isInteger);
  EXPECT_EQ(stored("Setup", "ReleaseNotes")->number, 1);
  EXPECT_EQ(stored("", "Language")->text, "ENU");
  EXPECT_EQ(stored("Options", "AutoSave")->number, 1);
  EXPECT_EQ(stored("Paths", "Data")->text, "C");
  ASSERT_TRUE(stored("", "Top"));
  EXPECT_EQ(stored("", "Top")->text, "");  // an empty string is stored, not deleted
  ASSERT_EQ(host.uninstallEntries.size(), 1u);
  EXPECT_EQ(host.uninstallEntries[0].command, "C:\\Apps\\Demo\\demo.exe /UnInstall");
  EXPECT_EQ(host.uninstallEntries[0].entryName, "Demo");
  EXPECT_EQ(host.uninstallEntries[0].displayName, "Demo Product");
  EXPECT_TRUE(host.uninstallEntries[0].perUser);  // not an administrator
  ASSERT_EQ(host.associations.size(), 3u);  // empty items are passed on
  EXPECT_EQ(host.associations[1].ext, "");
  EXPECT_EQ(host.associations[0].program, "C:\\Apps\\Demo\\demo.exe");
  EXPECT_EQ(host.associations[0].description, "Demo Product bestand");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(InstallPassTest, RegistrationWithoutLanguageOrCustomDeletesThem) {
  host.SetSettingInt("Demo", "Setup", "Custom", 1);
  host.SetSetting("Demo", "", "Language", "NLD");
  state.CustomInstall = false;
  state.LanguageCode = "";
  RegisterInstallation(run);
  EXPECT_FALSE(host.StoredSetting("Demo", "Setup", "Custom"));
  EXPECT_FALSE(host.StoredSetting("Demo", "", "Language"));
  EXPECT_TRUE(host.uninstallEntries.empty());  // RegisterSoftware is off
  EXPECT_TRUE(host.associations.empty());
}

TEST_F(InstallPassTest, SoftwareListEntryNeedsProgramAndNameAndChoosesItsScope) {
  struct Case {
    bool administrator;
    const char* installPath;
    const char* localAppData;
    const char* programFile;
    const char* productName;
    bool entry;
    bool perUser;
    const char* command;
  };
  const Case cases[] = {
      {true, "C:\\Apps\\Demo\\", "C:\\Users\\u\\AppData\\Local", "demo.exe", "Demo", true, false,
       "C:\\Apps\\Demo\\demo.exe /UnInstall"},
      {false, "C:\\Apps\\Demo\\", "C:\\Users\\u\\AppData\\Local", "demo.exe", "Demo", true, true,
       "C:\\Apps\\Demo\\demo.exe /UnInstall"},
      {true, "c:\\users\\U\\appdata\\local\\Orvalis\\Demo\\", "C:\\Users\\u\\AppData\\Local", "demo.exe", "Demo", true,
       true, "c:\\users\\U\\appdata\\local\\Orvalis\\Demo\\demo.exe /UnInstall"},
      {true, "C:\\Apps\\Demo\\", "", "demo.exe", "Demo", true, false, "C:\\Apps\\Demo\\demo.exe /UnInstall"},
      {true, "C:\\Program Files\\Orvalis\\Demo\\", "", "demo.exe", "Demo", true, false,
       "\"C:\\Program Files\\Orvalis\\Demo\\demo.exe\" /UnInstall"},
      {true, "C:\\Program Files\\Demo\\", "", "demo.exe /safe", "Demo", true, false,
       "\"C:\\Program Files\\Demo\\demo.exe\" /safe /UnInstall"},
      {true, "C:\\Apps\\", "", "demo.exe /safe", "Demo", true, false, "C:\\Apps\\demo.exe /safe /UnInstall"},
      {true, "C:\\Tëst Map\\", "", "démo.exe", "Démo", true, false, "\"C:\\Tëst Map\\démo.exe\" /UnInstall"},
      {true, "C:\\Apps\\", "", "", "Demo", false, false, ""},
      {true, "C:\\Apps\\", "", "demo.exe", "", false, false, ""},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.IsAdministrator = c.administrator;
    s.InstallPath = c.installPath;
    s.ProgramFile = c.programFile;
    s.ProductName = c.productName;
    s.Product = "Demo";
    s.RegisterSoftware = true;
    h.systemPaths[kFolderLocalAppData] = c.localAppData;
    SetupRun r(s, h, "");
    RegisterInstallation(r);
    ASSERT_EQ(h.uninstallEntries.size(), c.entry ? 1u : 0u) << c.installPath;
    if (!c.entry) continue;
    EXPECT_EQ(h.uninstallEntries[0].command, c.command);
    EXPECT_EQ(h.uninstallEntries[0].perUser, c.perUser) << c.installPath;
  }
}

TEST_F(InstallPassTest, FileTypesPointAtTheProgramAndOneMessageReportsFailures) {
  struct Case {
    const char* installPath;
    const char* programFile;
    std::set<std::string> failing;
    const char* program;
    size_t messages;
  };
  const Case cases[] = {
      {"C:\\Apps\\", "demo.exe", {}, "C:\\Apps\\demo.exe", 0},
      {"C:\\Program Files\\X\\", "demo.exe", {}, "\"C:\\Program Files\\X\\demo.exe\"", 0},
      {"C:\\Apps\\", "", {}, "C:\\Apps\\", 0},  // no program: the folder alone
      {"C:\\Apps\\", "demo.exe", {"qxa", "qxb"}, "C:\\Apps\\demo.exe", 1},
      {"C:\\Apps\\", "demo.exe", {"qxb"}, "C:\\Apps\\demo.exe", 1},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = c.installPath;
    s.ProgramFile = c.programFile;
    s.ProductName = "Demo";
    s.LanguageIndex = kEnglish;
    s.FileTypeList = "qxa,qxb";
    h.failingFileTypes = c.failing;
    SetupRun r(s, h, "");
    RegisterInstallation(r);
    ASSERT_EQ(h.associations.size(), 2u);
    EXPECT_EQ(h.associations[0].program, c.program);
    EXPECT_EQ(h.associations[1].description, "Demo file");
    ASSERT_EQ(h.messages.size(), c.messages);
    if (c.messages) {
      EXPECT_EQ(h.messages[0].kind, "message");
      EXPECT_EQ(h.messages[0].caption, "Orvalis Setup");
      EXPECT_EQ(h.messages[0].text, SetupText(kTextFileTypesFailed, kEnglish));
      // The message follows all associations.
      EXPECT_GT(h.CallIndex("ShowMessage"), h.CallIndex("AssociateFileType qxb"));
    }
    EXPECT_TRUE(h.StoredSetting("XXX", "Setup", "ReleaseNotes"));  // the run goes on
  }
}

TEST_F(InstallPassTest, RegistrationStepsShowOnTheProgressWindow) {
  Payload({{"A.EXE", "a"}, {"B.DLL", "b"}});
  state.RegisterSoftware = true;
  ASSERT_EQ(InstallPass(run), PassOutcome::kFinished);
  ASSERT_TRUE(run.Ok);
  RegisterInstallation(run);
  EXPECT_EQ(host.progressPositions.back(), 2);  // last entry's index + 1
  std::vector<std::string> tail(host.progressTexts.end() - 2, host.progressTexts.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Software bijwerken", "Afsluiten"}));
}

}  // namespace
}  // namespace orvalis
