// Whole setup runs against the in-memory host: phases, failures, language,
// folders and the stored settings that carry choices to the next run.
#include "setup/run_setup.h"

#include "core/text.h"
#include "setup/install_pass.h"
#include "setup/setup_version.h"
#include "setup/tests/memory_host.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvalis {
namespace {

constexpr const char* kDescriptor =
    "Product=Demo\r\nProductName=Demo_NL\r\nProductNameEnu=Demo_EN\r\nProgram=demo.exe\r\nVersion=1_0\r\n";

class RunSetupTest : public testing::Test {
 protected:
  // A package with a program, a data file and the descriptor plus `extra` lines.
  void Package(const std::string& extra = "") {
    host.AddPayload("DEMO.EXE", "program");
    host.SetDescriptor(std::string(kDescriptor) + extra);
    host.AddPayload("README.TXT", "text");
  }
  void Run(const std::string& commandLine) { RunSetup(commandLine, state, host); }

  std::optional<MemoryHost::Setting> Stored(const char* section, const char* name) {
    return host.StoredSetting("Demo", section, name);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : host.messages) texts.push_back(m.text);
    return texts;
  }
  bool Installed(const std::string& folder) { return host.FindFile(folder + "Demo.exe") != nullptr; }

  MemoryHost host;
  SetupState state;
};

TEST_F(RunSetupTest, UnattendedRunInstallsWithoutAnyDialog) {
  Package();
  Run("/u /p:D:\\Apps\\X /r");
  EXPECT_EQ(state.InstallPath, "D:\\Apps\\X\\");
  EXPECT_TRUE(Installed("D:\\Apps\\X\\"));
  EXPECT_EQ(host.FindFile("D:\\Apps\\X\\Readme.txt")->bytes, "text");
  EXPECT_EQ(host.FindFile("D:\\Apps\\X\\DISK.ID"), nullptr);  // the descriptor is never installed
  EXPECT_TRUE(host.mainDialogs.empty());
  EXPECT_EQ(host.languageDialogs, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.uninstallEntries.empty());  // no /i
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].file, "D:\\Apps\\X\\demo.exe");
  EXPECT_EQ(host.started[0].folder, "D:\\Apps\\X\\");
  EXPECT_EQ(state.LanguageCode, "NLD");
  EXPECT_EQ(Stored("", "Language")->text, "NLD");
  EXPECT_EQ(Stored("Setup", "Path")->text, "D:\\Apps\\X\\");
  EXPECT_EQ(host.productKey, "Demo");
}

TEST_F(RunSetupTest, UnattendedWithRegisterSwitchWritesTheSoftwareListEntry) {
  Package();
  host.administrator = true;
  Run("/u /i /p:D:\\Apps\\X");
  ASSERT_EQ(host.uninstallEntries.size(), 1u);
  EXPECT_EQ(host.uninstallEntries[0].command, "D:\\Apps\\X\\demo.exe /UnInstall");
  EXPECT_EQ(host.uninstallEntries[0].displayName, "Demo NL");
  EXPECT_FALSE(host.uninstallEntries[0].perUser);
  const UninstallDetails& details = host.uninstallEntries[0].details;
  EXPECT_EQ(details.displayVersion, "1.0");
  EXPECT_EQ(details.installLocation, "D:\\Apps\\X\\");
  EXPECT_EQ(details.displayIcon, "D:\\Apps\\X\\demo.exe");
  EXPECT_EQ(details.estimatedSizeKiB, 1u);  // 11 bytes written
  EXPECT_EQ(details.installDate, "20250114");
  EXPECT_TRUE(host.started.empty());  // no /r
}

TEST_F(RunSetupTest, FailuresBeforeTheInstallLoopEndTheRun) {
  struct Case {
    const char* what;
    std::function<void(MemoryHost&)> prepare;
    const char* commandLine;
    std::vector<std::string> messages;
  };
  const std::string noProductNl = SetupText(kTextNoProduct, kDutch);
  const std::string failedNl = " " + SetupText(kTextCannotInstall, kDutch);
  const Case cases[] = {
      {"no payload", [](MemoryHost&) {}, "", {SetupText(kTextNoPayload, kDutch)}},
      {"descriptor only", [](MemoryHost& h) { h.SetDescriptor(kDescriptor); }, "", {SetupText(kTextNoPayload, kDutch)}},
      {"no payload, unattended", [](MemoryHost&) {}, "/u", {SetupText(kTextNoPayload, kDutch), failedNl}},
      {"no payload, English switch", [](MemoryHost&) {}, "/m:enu", {SetupText(kTextNoPayload, kEnglish)}},
      {"no descriptor", [](MemoryHost& h) { h.AddPayload("DEMO.EXE", "p"); }, "", {noProductNl}},
      {"no PRODUCT key",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor("ProductName=Demo\r\n");
       },
       "", {noProductNl}},
      {"blank before the equals sign",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor("product = Demo\r\n");
       },
       "", {noProductNl}},
      {"damaged descriptor",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.AddRawPayload("disk.id", "not a zlib stream");
       },
       "", {noProductNl}},
      {"no PRODUCT, English from PARAMS",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor("ProductNameEnu=Demo\r\nParams=/m:enu\r\n");
       },
       "", {SetupText(kTextNoProduct, kEnglish)}},
      {"no PRODUCT, unattended: empty product name",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor("ProductName=Demo\r\n");
       },
       "/u", {noProductNl, "Demo " + SetupText(kTextCannotInstall, kDutch)}},
      {"language dialog cancelled",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor(kDescriptor);
         h.languageAnswers = {LanguageChoice::kCancelled};
       },
       "", {}},
      {"run-or-install cancelled",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor(std::string(kDescriptor) + "DirectRun=yes\r\n");
         h.runAnswers = {RunChoice::kCancelled};
       },
       "/m:nld", {}},
      {"main dialog cancelled",
       [](MemoryHost& h) {
         h.AddPayload("DEMO.EXE", "p");
         h.SetDescriptor(kDescriptor);
         h.mainDialogAnswers = {MemoryHost::CancelMain()};
       },
       "/m:nld", {}},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    c.prepare(h);
    RunSetup(c.commandLine, s, h);
    std::vector<std::string> texts;
    for (const auto& m : h.messages) {
      texts.push_back(m.text);
      EXPECT_EQ(m.kind, "message") << c.what;
      EXPECT_EQ(m.caption, "Orvalis Setup") << c.what;
    }
    EXPECT_EQ(texts, c.messages) << c.what;
    EXPECT_EQ(h.CountCalls("ExtractPayloadFile"), 0) << c.what;
    EXPECT_EQ(h.CountCalls("WriteSetting"), 0) << c.what;
    EXPECT_TRUE(h.started.empty()) << c.what;
    EXPECT_EQ(h.CountCalls("DestroyMainWindow"), 1) << c.what;
    // The mutex is only taken by a run that reaches the install loop; a run
    // that fails before it also drops the program start.
    bool reachedLoop = std::string(c.what) == "main dialog cancelled";
    EXPECT_EQ(s.RunProgram, reachedLoop) << c.what;
    EXPECT_EQ(h.CountCalls("AcquireSetupMutex"), reachedLoop ? 1 : 0) << c.what;
    EXPECT_EQ(h.CountCalls("ReleaseSetupMutex"), reachedLoop ? 1 : 0) << c.what;
  }
}

TEST_F(RunSetupTest, ProductKeyIsSetEvenWhenTheDescriptorHasNone) {
  host.AddPayload("DEMO.EXE", "p");
  host.SetDescriptor("ProductName=Demo\r\n");
  Run("");
  EXPECT_EQ(host.CountCalls("SetProductKey"), 1);
  EXPECT_EQ(host.productKey, "");
}

TEST_F(RunSetupTest, LanguageIsSettledBySwitchParamsStoredValueOrDialog) {
  struct Case {
    const char* what;
    const char* commandLine;
    const char* params;
    const char* storedLanguage;  // nullptr: none
    std::vector<LanguageChoice> dialog;
    int languageIndex;
    const char* storedAfter;
    const char* productName;
  };
  const Case cases[] = {
      {"switch English", "/m:enu", nullptr, nullptr, {}, kEnglish, "ENU", "Demo EN"},
      {"switch lower case", "/m:Enu", nullptr, nullptr, {}, kEnglish, "ENU", "Demo EN"},
      {"switch English, PARAMS Dutch", "/m:enu", "/m:nld", nullptr, {}, kEnglish, "NLD", "Demo EN"},
      {"switch Dutch, PARAMS English", "/m:nld", "/m:enu", nullptr, {}, kEnglish, "ENU", "Demo EN"},
      {"PARAMS Dutch", "", "/m:nld", "ENU", {}, kDutch, "NLD", "Demo NL"},
      {"stored English", "", nullptr, "ENU", {}, kEnglish, "ENU", "Demo EN"},
      {"stored unknown code", "", nullptr, "FRA", {}, kDutch, "FRA", "Demo NL"},
      {"dialog English", "", nullptr, nullptr, {LanguageChoice::kEnglish}, kEnglish, "ENU", "Demo EN"},
      {"dialog Dutch", "", nullptr, nullptr, {LanguageChoice::kDutch}, kDutch, "NLD", "Demo NL"},
      {"switch wins over stored", "/m:nld", nullptr, "ENU", {}, kDutch, "NLD", "Demo NL"},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    std::string descriptor = kDescriptor;
    if (c.params) descriptor += std::string("Params=") + c.params + "\r\n";
    h.SetDescriptor(descriptor);
    if (c.storedLanguage) h.SetSetting("Demo", "", "Language", c.storedLanguage);
    h.languageAnswers.assign(c.dialog.begin(), c.dialog.end());
    h.mainDialogAnswers = {MemoryHost::InstallInto("C:\\Apps\\Demo")};
    RunSetup(c.commandLine, s, h);
    EXPECT_EQ(h.languageDialogs, static_cast<int>(c.dialog.size())) << c.what;
    EXPECT_EQ(s.LanguageIndex, c.languageIndex) << c.what;
    ASSERT_TRUE(h.StoredSetting("Demo", "", "Language")) << c.what;
    EXPECT_EQ(h.StoredSetting("Demo", "", "Language")->text, c.storedAfter) << c.what;
    ASSERT_EQ(h.mainDialogs.size(), 1u) << c.what;
    const MainDialogModel& shown = h.mainDialogs[0];
    EXPECT_EQ(shown.productName, c.productName) << c.what;
    EXPECT_EQ(shown.caption, SetupText(kTextMainCaption, c.languageIndex)) << c.what;
    EXPECT_EQ(shown.installCaption, SetupText(kTextInstall, c.languageIndex)) << c.what;
    EXPECT_EQ(h.progressCaptions, std::vector<std::string>{SetupText(kTextProgressInstall, c.languageIndex)})
        << c.what;
    ASSERT_EQ(h.started.size(), 1u) << c.what;
    EXPECT_EQ(h.progressTexts.back(), SetupText(kTextRunProgram, c.languageIndex) + " " + c.productName) << c.what;
  }
}

TEST_F(RunSetupTest, UnattendedRunWithoutLanguageIsDutchWithoutDialog) {
  Package();
  Run("/u /p:C:\\X");
  EXPECT_EQ(host.languageDialogs, 0);
  EXPECT_EQ(state.LanguageCode, "NLD");
  EXPECT_EQ(state.LanguageIndex, kDutch);
}

TEST_F(RunSetupTest, DefaultFolderDependsOnRightsSwitchAndStoredPath) {
  struct Case {
    const char* what;
    bool administrator;
    const char* commandLine;
    const char* storedPath;  // nullptr: none
    const char* localAppData;
    const char* shownFolder;  // in the main dialog; "" for unattended runs
    const char* installPath;
    bool perUser;
  };
  const Case cases[] = {
      {"administrator", true, "/m:nld", nullptr, "C:\\Users\\u\\AppData\\Local", "C:\\Program Files\\Orvalis\\Demo",
       "C:\\Program Files\\Orvalis\\Demo\\", false},
      {"user", false, "/m:nld", nullptr, "C:\\Users\\u\\AppData\\Local", "C:\\Users\\u\\AppData\\Local\\Orvalis\\Demo",
       "C:\\Users\\u\\AppData\\Local\\Orvalis\\Demo\\", true},
      {"user without local folder", false, "/m:nld", nullptr, "", "C:\\Program Files\\Orvalis\\Demo",
       "C:\\Program Files\\Orvalis\\Demo\\", true},
      {"switch", true, "/m:nld /p:\"D:\\My Apps\"", nullptr, "", "D:\\My Apps", "D:\\My Apps\\", false},
      {"stored path beats switch", true, "/m:nld /p:D:\\X", "E:\\Stored\\", "", "E:\\Stored\\", "E:\\Stored\\", false},
      {"administrator into local folder", true, "/m:nld", "C:\\Users\\u\\AppData\\Local\\Orvalis\\Demo\\",
       "C:\\Users\\u\\AppData\\Local", "C:\\Users\\u\\AppData\\Local\\Orvalis\\Demo\\",
       "C:\\Users\\u\\AppData\\Local\\Orvalis\\Demo\\", true},
      {"unattended ignores stored path", true, "/u /i /p:D:\\X", "E:\\Stored\\", "", "", "D:\\X\\", false},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    h.administrator = c.administrator;
    h.systemPaths[kFolderLocalAppData] = c.localAppData;
    h.AddPayload("DEMO.EXE", "p");
    h.SetDescriptor(kDescriptor);
    if (c.storedPath) h.SetSetting("Demo", "Setup", "Path", c.storedPath);
    if (!s.Unattended) h.mainDialogAnswers = {MemoryHost::Install()};
    if (std::string(c.shownFolder).empty()) h.mainDialogAnswers.clear();
    RunSetup(c.commandLine, s, h);
    if (*c.shownFolder) {
      ASSERT_EQ(h.mainDialogs.size(), 1u) << c.what;
      EXPECT_EQ(h.mainDialogs[0].installPath, c.shownFolder) << c.what;
    }
    EXPECT_EQ(s.InstallPath, c.installPath) << c.what;
    EXPECT_NE(h.FindFile(std::string(c.installPath) + "Demo.exe"), nullptr) << c.what;
    ASSERT_EQ(h.uninstallEntries.size(), 1u) << c.what;
    EXPECT_EQ(h.uninstallEntries[0].perUser, c.perUser) << c.what;
    EXPECT_EQ(h.StoredSetting("Demo", "Setup", "Path")->text, c.installPath) << c.what;
  }
}

TEST_F(RunSetupTest, AFolderThatAlreadyHoldsTheProgramIsUsedAsItIs) {
  Package();
  host.administrator = true;
  host.AddFile("C:\\Program Files\\demo.exe");
  host.mainDialogAnswers = {MemoryHost::Install()};
  host.questionAnswers = {true};
  Run("/m:nld");
  ASSERT_EQ(host.mainDialogs.size(), 1u);
  EXPECT_EQ(host.mainDialogs[0].installPath, "C:\\Program Files");
  EXPECT_EQ(host.FindFile("C:\\Program Files\\Demo.exe")->bytes, "program");
}

TEST_F(RunSetupTest, InteractiveRunForcesRegistrationAndRunAndReadsStoredCustom) {
  struct Case {
    const char* commandLine;
    std::optional<int> storedCustom;
    bool optionsShown;
  };
  const Case cases[] = {
      {"/m:nld", std::nullopt, false},
      {"/m:nld /c", std::nullopt, false},  // the stored value replaces /c
      {"/m:nld", 0, false},
      {"/m:nld", 1, true},
      {"/m:nld", 7, true},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    h.SetDescriptor(kDescriptor);
    if (c.storedCustom) h.SetSettingInt("Demo", "Setup", "Custom", *c.storedCustom);
    h.mainDialogAnswers = {[](MainDialogModel& m) {
      m.installPath = "C:\\Apps";
      return MainDialogResult::kInstall;
    }};
    if (c.optionsShown) h.optionsAnswers = {[](OptionsDialogModel&) { return true; }};
    RunSetup(c.commandLine, s, h);
    ASSERT_EQ(h.mainDialogs.size(), 1u) << c.commandLine;
    EXPECT_EQ(h.mainDialogs[0].customInstall, c.optionsShown) << c.commandLine;
    EXPECT_EQ(h.optionsDialogs.size(), c.optionsShown ? 1u : 0u) << c.commandLine;
    EXPECT_EQ(h.uninstallEntries.size(), 1u) << c.commandLine;  // forced on without /i
    EXPECT_EQ(h.started.size(), 1u) << c.commandLine;           // forced on without /r
    std::optional<MemoryHost::Setting> custom = h.StoredSetting("Demo", "Setup", "Custom");
    EXPECT_EQ(custom.has_value(), c.optionsShown) << c.commandLine;  // stored 1, deleted when 0
    if (custom) {
      EXPECT_EQ(custom->number, 1);
    }
  }
}

TEST_F(RunSetupTest, MainDialogShowsTheRunsValuesAndTakesTheUsersChoice) {
  Package("Pid=7\r\nDate=10-05-2019 10:59\r\n");
  host.administrator = true;
  std::string browsed;
  host.mainDialogAnswers = {[&](MainDialogModel& m) {
    browsed = m.productFolder("E:\\Picked");  // the rule is live while the dialog is shown
    m.installPath = "D:\\Elsewhere";
    return MainDialogResult::kInstall;
  }};
  Run("/m:nld");
  ASSERT_EQ(host.mainDialogs.size(), 1u);
  const MainDialogModel& m = host.mainDialogs[0];
  EXPECT_EQ(m.productName, "Demo NL");
  EXPECT_EQ(m.versionLine, "Versie: 1.0 (7)  Aanmaakdatum: 10-05-2019 10:59");
  EXPECT_EQ(m.programFolder, "C:\\Program Files\\Orvalis\\Demo");
  EXPECT_EQ(m.localFolder, "C:\\Users\\u\\AppData\\Local\\Orvalis\\Demo");
  EXPECT_EQ(browsed, "E:\\Picked\\Orvalis\\Demo");
  EXPECT_EQ(state.InstallPath, "D:\\Elsewhere\\");
  EXPECT_TRUE(Installed("D:\\Elsewhere\\"));
}

TEST_F(RunSetupTest, ExistingFolderIsOverwrittenOnlyAfterYes) {
  Package();
  host.AddFolder("C:\\Apps\\Demo");
  host.mainDialogAnswers = {MemoryHost::InstallInto("C:\\Apps\\Demo"), MemoryHost::Install(),
                            MemoryHost::Install()};
  host.questionAnswers = {false, true};
  Run("/m:enu");
  // No: the main dialog comes back with the same folder; Yes installs.
  ASSERT_EQ(host.mainDialogs.size(), 2u);
  EXPECT_EQ(host.mainDialogs[1].installPath, "C:\\Apps\\Demo\\");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].kind, "question");
  EXPECT_EQ(host.messages[0].caption, "Orvalis Setup");
  EXPECT_EQ(host.messages[0].text, SetupText(kTextFolderExists, kEnglish));
  EXPECT_TRUE(Installed("C:\\Apps\\Demo\\"));
  EXPECT_EQ(host.CountCalls("OpenProgress"), 1);
}

TEST_F(RunSetupTest, ExistingFolderIsNotQuestionedInUnattendedRuns) {
  Package();
  host.AddFolder("C:\\Apps\\Demo");
  Run("/u /p:C:\\Apps\\Demo");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(Installed("C:\\Apps\\Demo\\"));
}

TEST_F(RunSetupTest, FolderThatCannotBeCreatedOffersElevation) {
  struct Case {
    const char* commandLine;
    std::vector<bool> elevation;
    size_t mainDialogs;
    std::vector<std::string> restarts;
    bool unattendedMessage;
  };
  const Case cases[] = {
      // Interactive, declined: next pass; then the user cancels.
      {"/m:nld", {false}, 2, {}, false},
      // Interactive, accepted: the elevated copy gets the command line as it came.
      {"/m:nld  /p:\"Z:\\No Access\"", {true}, 1, {"/m:nld  /p:\"Z:\\No Access\""}, false},
      // Unattended: the failure ends the run with the product's message, accepted or not.
      {"/u /p:\"Z:\\No Access\"", {false}, 0, {}, true},
      {"/u /p:\"Z:\\No Access\"", {true}, 0, {"/u /p:\"Z:\\No Access\""}, true},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    h.SetDescriptor(kDescriptor);
    h.DenyWrites("Z:\\");
    h.mainDialogAnswers = {MemoryHost::InstallInto("Z:\\No Access"), MemoryHost::CancelMain()};
    if (StartsWith(c.commandLine, "/u")) h.mainDialogAnswers.clear();
    if (c.elevation[0]) h.mainDialogAnswers.resize(std::min<size_t>(h.mainDialogAnswers.size(), 1));
    h.elevationAnswers.assign(c.elevation.begin(), c.elevation.end());
    RunSetup(c.commandLine, s, h);
    EXPECT_EQ(h.mainDialogs.size(), c.mainDialogs) << c.commandLine;
    EXPECT_EQ(h.elevatedRestarts, c.restarts) << c.commandLine;
    std::vector<std::string> expected = {SetupText(kTextFolderNotCreated, kDutch) + "\n\n" +
                                         SetupText(kTextElevationQuestion, kDutch)};
    if (c.unattendedMessage) expected.push_back("Demo NL " + SetupText(kTextCannotInstall, kDutch));
    std::vector<std::string> texts;
    for (const auto& m : h.messages) texts.push_back(m.text);
    EXPECT_EQ(texts, expected) << c.commandLine;
    EXPECT_EQ(h.messages[0].kind, "elevation");
    EXPECT_EQ(h.CountCalls("ExtractPayloadFile"), 0) << c.commandLine;
    EXPECT_EQ(h.CountCalls("WriteSetting"), 0) << c.commandLine;
    EXPECT_TRUE(h.started.empty()) << c.commandLine;
  }
}

TEST_F(RunSetupTest, EmptyFolderAtTheFolderCheckEndsTheRunAtOnce) {
  Package();
  host.mainDialogAnswers = {MemoryHost::InstallInto("")};
  Run("/m:nld");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, kEmptyFolderMessage);
  EXPECT_EQ(host.mainDialogs.size(), 1u);
  EXPECT_EQ(host.CountCalls("CreateFolders"), 0);
  EXPECT_EQ(host.CountCalls("WriteSetting"), 0);
  EXPECT_TRUE(host.started.empty());
}

TEST_F(RunSetupTest, OptionsDialogCancelReturnsToMainDialogOrEndsUnattendedRunSilently) {
  {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    h.AddPayload("REPORT.DEF", "d");
    h.SetDescriptor(kDescriptor);
    h.mainDialogAnswers = {MemoryHost::InstallInto("C:\\A", true), MemoryHost::InstallInto("C:\\A", false)};
    h.optionsAnswers = {[](OptionsDialogModel&) { return false; }};
    RunSetup("/m:nld", s, h);
    EXPECT_EQ(h.mainDialogs.size(), 2u);
    EXPECT_TRUE(h.mainDialogs[1].customInstall);  // the failed pass's values come back
    EXPECT_NE(h.FindFile("C:\\A\\Report.def"), nullptr);
    EXPECT_TRUE(h.messages.empty());
  }
  {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    h.AddPayload("REPORT.DEF", "d");
    h.SetDescriptor(kDescriptor);
    h.optionsAnswers = {[](OptionsDialogModel&) { return false; }};
    RunSetup("/u /c /p:C:\\A", s, h);
    EXPECT_EQ(h.optionsDialogs.size(), 1u);
    EXPECT_TRUE(h.messages.empty());  // no failure message after a cancelled options dialog
    EXPECT_EQ(h.CountCalls("ExtractPayloadFile"), 0);
    EXPECT_EQ(h.CountCalls("OpenProgress"), 0);
  }
}

TEST_F(RunSetupTest, ExecuteRunsFromTheTemporaryFolderWithoutInstalling) {
  Package("DirectRun=yes\r\nFileTypes=qxa\r\nRegistry=Opt\\A:I2\r\n");
  host.runAnswers = {RunChoice::kExecute};
  host.languageAnswers = {LanguageChoice::kEnglish};
  Run("");
  ASSERT_EQ(host.runQuestions.size(), 1u);
  EXPECT_EQ(host.runQuestions[0].question, SetupText(kTextRunOrInstall, kEnglish));
  EXPECT_EQ(host.runQuestions[0].executeCaption, "Execute");
  EXPECT_EQ(host.runQuestions[0].installCaption, "install");
  EXPECT_TRUE(host.mainDialogs.empty());
  EXPECT_TRUE(state.Unattended);
  EXPECT_FALSE(state.RegisterSoftware);
  EXPECT_TRUE(Installed("C:\\Temp\\Orvalis\\Demo\\"));
  EXPECT_TRUE(host.uninstallEntries.empty());
  EXPECT_EQ(host.progressCaptions, std::vector<std::string>{"Extracting files"});
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].file, "C:\\Temp\\Orvalis\\Demo\\demo.exe");
  EXPECT_EQ(Stored("Setup", "Path")->text, "C:\\Temp\\Orvalis\\Demo\\");
  EXPECT_EQ(host.associations.size(), 1u);  // read while the run was still interactive
  EXPECT_EQ(Stored("Opt", "A")->number, 2);
  EXPECT_TRUE(host.messages.empty());  // no questions about an existing folder either
}

TEST_F(RunSetupTest, RunOrInstallQuestionOnlyForInteractiveDirectRunPackages) {
  struct Case {
    const char* directRun;
    const char* commandLine;
    std::vector<RunChoice> answers;
    size_t questions;
    size_t mainDialogs;
  };
  const Case cases[] = {
      {"DirectRun=no\r\n", "/m:nld", {RunChoice::kInstall}, 1, 1},
      {"DirectRun=\r\n", "/m:nld", {}, 0, 1},
      {"", "/m:nld", {}, 0, 1},
      {"DirectRun=yes\r\n", "/u /p:C:\\A", {}, 0, 0},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    h.SetDescriptor(std::string(kDescriptor) + c.directRun);
    h.runAnswers.assign(c.answers.begin(), c.answers.end());
    if (c.mainDialogs) h.mainDialogAnswers = {MemoryHost::InstallInto("C:\\A")};
    RunSetup(c.commandLine, s, h);
    EXPECT_EQ(h.runQuestions.size(), c.questions) << c.directRun;
    EXPECT_EQ(h.mainDialogs.size(), c.mainDialogs) << c.directRun;
    EXPECT_NE(h.FindFile("C:\\A\\Demo.exe"), nullptr) << c.directRun;
  }
}

TEST_F(RunSetupTest, LockedFileInUnattendedRunEndsWithTheProductsMessage) {
  Package();
  host.AddFile("C:\\A\\DEMO.EXE", "old");
  host.LockFile("C:\\A\\DEMO.EXE", MemoryHost::kLockedForever);
  host.elevationAnswers = {false};
  Run("/u /p:C:\\A");
  std::vector<std::string> expected = {
      SetupText(kTextFilesLocked, kDutch) + "\n\n" + SetupText(kTextElevationQuestion, kDutch),
      "Demo NL " + SetupText(kTextCannotInstall, kDutch)};
  EXPECT_EQ(MessageTexts(), expected);
  EXPECT_EQ(host.messages[0].kind, "elevation");
  EXPECT_EQ(host.messages[1].kind, "message");
  EXPECT_EQ(host.waits.size(), static_cast<size_t>(kWritableAttempts - 1));
  EXPECT_EQ(host.FindFile("C:\\A\\DEMO.EXE")->bytes, "old");
  EXPECT_EQ(host.CountCalls("OpenProgress"), 1);  // an unattended run makes one pass only
  EXPECT_TRUE(host.started.empty());
}

TEST_F(RunSetupTest, FileHeldForAFewSecondsIsWaitedFor) {
  Package();
  host.AddFile("C:\\A\\DEMO.EXE", "old");
  host.LockFile("C:\\A\\DEMO.EXE", 3000);
  Run("/u /p:C:\\A");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.FindFile("C:\\A\\DEMO.EXE")->bytes, "program");
  EXPECT_EQ(host.nowMs, 3000);
}

TEST_F(RunSetupTest, DamagedPayloadInInteractiveRunReturnsToTheMainDialog) {
  host.AddPayload("DEMO.EXE", "program");
  host.AddRawPayload("BROKEN.DLL", "garbage");
  host.AddPayload("README.TXT", "text");
  host.SetDescriptor(kDescriptor);
  host.mainDialogAnswers = {MemoryHost::InstallInto("C:\\A"), MemoryHost::CancelMain()};
  host.elevationAnswers = {false};
  Run("/m:nld");
  EXPECT_EQ(host.mainDialogs.size(), 2u);
  EXPECT_EQ(host.FindFile("C:\\A\\Readme.txt")->bytes, "text");  // the other files are written
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            SetupText(kTextNotAllInstalled, kDutch) + "\n\n" + SetupText(kTextElevationQuestion, kDutch));
  EXPECT_FALSE(host.progressOpen);
  EXPECT_EQ(host.CountCalls("WriteSetting"), 0);  // no registration
  EXPECT_TRUE(host.started.empty());
}

TEST_F(RunSetupTest, MutexIsHeldFromTheLoopUntilRegistrationIsDone) {
  Package();
  host.mainDialogAnswers = {MemoryHost::InstallInto("C:\\A")};
  Run("/m:nld /l /s");
  int acquire = host.CallIndex("AcquireSetupMutex");
  int release = host.CallIndex("ReleaseSetupMutex");
  ASSERT_GE(acquire, 0);
  ASSERT_GE(release, 0);
  EXPECT_LT(acquire, host.CallIndex("ShowMainDialog"));
  EXPECT_GT(release, host.CallIndex("WriteSetting \\Language"));
  EXPECT_LT(release, host.CallIndex("DestroyMainWindow"));
  EXPECT_LT(host.CallIndex("DestroyMainWindow"), host.CallIndex("CreateShortcut"));
  EXPECT_LT(host.CallIndex("CreateShortcut menu"), host.CallIndex("CreateShortcut desktop"));
  EXPECT_LT(host.CallIndex("CreateShortcut desktop"), host.CallIndex("OpenProgram"));
  EXPECT_LT(host.CallIndex("OpenProgram"), host.CallIndex("CloseProgress"));
  EXPECT_EQ(host.CountCalls("AcquireSetupMutex"), 1);
  EXPECT_EQ(host.CountCalls("ReleaseSetupMutex"), 1);
}

TEST_F(RunSetupTest, ResetsFlagsThatOnlySwitchesAndTheRunMaySet) {
  Package();
  state.RegisterSoftware = state.RunProgram = state.DesktopLink = state.ProgramMenu = true;
  state.ShortcutMode = kShortcutsCreate;
  state.FileTypeList = "old";
  state.RegistryList = "Old:1";
  Run("/u /p:C:\\A");
  EXPECT_FALSE(state.RegisterSoftware);
  EXPECT_FALSE(state.RunProgram);
  EXPECT_FALSE(state.DesktopLink);
  EXPECT_FALSE(state.ProgramMenu);
  EXPECT_EQ(state.ShortcutMode, kShortcutsNone);
  EXPECT_TRUE(host.associations.empty());
  EXPECT_FALSE(Stored("", "Old"));
  EXPECT_TRUE(host.started.empty());
  EXPECT_TRUE(host.shortcuts.empty());
}

TEST_F(RunSetupTest, PackageRegistryValueWinsOverTheSetupsOwnCustomValue) {
  Package("Registry=Setup\\Custom:I1\r\n");
  Run("/u /p:C:\\A");
  ASSERT_TRUE(Stored("Setup", "Custom"));
  EXPECT_EQ(Stored("Setup", "Custom")->number, 1);
  EXPECT_GT(host.CallIndex("WriteSettingInt Setup\\Custom=1"), host.CallIndex("WriteSettingInt Setup\\Custom=0"));
}

TEST_F(RunSetupTest, FileTypeFailureIsReportedAndTheRunGoesOn) {
  Package("FileTypes=qxa,qxb\r\n");
  host.failingFileTypes = {"qxa"};
  host.mainDialogAnswers = {MemoryHost::InstallInto("C:\\Program Files\\Demo")};
  Run("/m:enu");
  ASSERT_EQ(host.associations.size(), 2u);
  EXPECT_EQ(host.associations[0].program, "\"C:\\Program Files\\Demo\\demo.exe\"");
  EXPECT_EQ(host.associations[0].description, "Demo EN file");
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{SetupText(kTextFileTypesFailed, kEnglish)});
  EXPECT_EQ(host.started.size(), 1u);
  EXPECT_EQ(Stored("Setup", "ReleaseNotes")->number, 1);
}

TEST_F(RunSetupTest, EnglishRunKeepsEarlierDutchMessage) {
  // A broken package reports before the language is known: Dutch.
  host.AddPayload("DEMO.EXE", "p");
  host.SetDescriptor("ProductNameEnu=Demo\r\n");
  host.SetSetting("", "", "Language", "ENU");
  Run("");
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{SetupText(kTextNoProduct, kDutch)});
  EXPECT_EQ(host.languageDialogs, 0);
}

TEST_F(RunSetupTest, ExitCodeTellsSuccessCancelAndFailure) {
  struct Case {
    const char* what;
    const char* commandLine;
    std::function<void(MemoryHost&)> prepare;
    int exitCode;
    const char* descriptorLines = "";
  };
  auto cancelMain = [](MemoryHost& h) { h.mainDialogAnswers = {MemoryHost::CancelMain()}; };
  auto deniedFolder = [](ElevatedCopy copy) {
    return [copy](MemoryHost& h) {
      h.DenyWrites("Z:\\");
      h.elevationAnswers = {true};
      h.elevatedCopy = copy;
    };
  };
  const Case cases[] = {
      {"unattended install", "/u /p:C:\\A", [](MemoryHost&) {}, kExitSuccess},
      {"interactive install", "/m:nld", [](MemoryHost& h) { h.mainDialogAnswers = {MemoryHost::Install()}; },
       kExitSuccess},
      {"language dialog cancelled", "", [](MemoryHost& h) { h.languageAnswers = {LanguageChoice::kCancelled}; },
       kExitCancelled},
      {"run-or-install cancelled", "/m:nld", [](MemoryHost& h) { h.runAnswers = {RunChoice::kCancelled}; },
       kExitCancelled, "DirectRun=yes\r\n"},
      {"main dialog cancelled", "/m:nld", cancelMain, kExitCancelled},
      {"main dialog cancelled after a failed pass", "/m:nld",
       [](MemoryHost& h) {
         h.AddRawPayload("BROKEN.DLL", "garbage");
         h.mainDialogAnswers = {MemoryHost::Install(), MemoryHost::CancelMain()};
         h.elevationAnswers = {false};
       },
       kExitCancelled},
      {"options dialog cancelled, unattended", "/u /c /p:C:\\A",
       [](MemoryHost& h) {
         h.AddPayload("REPORT.DEF", "d");
         h.optionsAnswers = {[](OptionsDialogModel&) { return false; }};
       },
       kExitCancelled},
      {"no payload", "/u", [](MemoryHost&) {}, kExitFailed},
      {"folder cannot be created", "/u /p:Z:\\A",
       [](MemoryHost& h) {
         h.DenyWrites("Z:\\");
         h.elevationAnswers = {false};
       },
       kExitFailed},
      {"files stay locked", "/u /p:C:\\A",
       [](MemoryHost& h) {
         h.AddFile("C:\\A\\DEMO.EXE", "old");
         h.LockFile("C:\\A\\DEMO.EXE", MemoryHost::kLockedForever);
         h.elevationAnswers = {false};
       },
       kExitFailed},
      {"damaged payload", "/u /p:C:\\A",
       [](MemoryHost& h) {
         h.AddRawPayload("BROKEN.DLL", "garbage");
         h.elevationAnswers = {false};
       },
       kExitFailed},
      {"software-list entry not written", "/u /i /p:C:\\A", [](MemoryHost& h) { h.uninstallFails = true; },
       kExitFailed},
      {"file type not associated", "/m:nld",
       [](MemoryHost& h) {
         h.failingFileTypes = {"qxa"};
         h.mainDialogAnswers = {MemoryHost::Install()};
       },
       kExitFailed, "FileTypes=qxa\r\n"},
      {"empty install folder", "/m:nld", [](MemoryHost& h) { h.mainDialogAnswers = {MemoryHost::InstallInto("")}; },
       kExitFailed},
      {"mutex held elsewhere, unattended", "/u /p:C:\\A", [](MemoryHost& h) { h.mutexHeldElsewhere = true; },
       kExitSuccess},
      {"mutex held elsewhere, quiet", "/q /p:C:\\A", [](MemoryHost& h) { h.mutexHeldElsewhere = true; },
       kExitSetupRunning},
      {"elevated copy succeeded", "/u /p:Z:\\A", deniedFolder({true, 0, 0}), kExitSuccess},
      {"elevated copy failed", "/u /p:Z:\\A", deniedFolder({true, 1603, 0}), kExitFailed},
      {"elevation prompt refused", "/u /p:Z:\\A", deniedFolder({false, 0, kErrorCancelled}), kExitCancelled},
      {"elevated copy not started", "/u /p:Z:\\A", deniedFolder({false, 0, 2}), kExitFailed},
  };
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    if (std::string(c.what) != "no payload") {
      h.AddPayload("DEMO.EXE", "program");
      h.SetDescriptor(std::string(kDescriptor) + c.descriptorLines);
    }
    c.prepare(h);
    EXPECT_EQ(RunSetup(c.commandLine, s, h), c.exitCode) << c.what;
    EXPECT_EQ(h.CountCalls("WaitForElevatedCopy"), h.elevatedRestarts.size()) << c.what;
  }
}

TEST_F(RunSetupTest, QuietRunShowsNoWindowAndLogsWhatWentWrong) {
  Package();
  host.DenyWrites("Z:\\");
  Run("/q /o:\"C:\\My Logs\\run.log\" /p:Z:\\Demo");
  EXPECT_TRUE(state.Unattended);
  EXPECT_TRUE(host.messages.empty());
  for (const char* call : {"OpenProgress", "ShowMainDialog", "ChooseLanguage", "AskElevation", "RestartElevated"})
    EXPECT_EQ(host.CountCalls(call), 0) << call;
  EXPECT_EQ(host.logPath, "C:\\My Logs\\run.log");
  for (const std::string& line : std::vector<std::string>{
           "folder: Z:\\Demo\\ cannot be created: error 5 (Access is denied.)",
        "elevation offer declined (quiet run): " + SetupText(kTextFolderNotCreated, kDutch),
           "message: Demo NL " + SetupText(kTextCannotInstall, kDutch), "outcome: failed"})
    EXPECT_NE(std::find(host.logLines.begin(), host.logLines.end(), line), host.logLines.end()) << line;
  EXPECT_EQ(host.logLines.back(), "exit code: 1603");
}

TEST_F(RunSetupTest, QuietRunTakesTheStoredChoicesWithoutTheOptionsDialog) {
  Package();
  host.AddPayload("REPORT.DEF", "d");
  host.AddPayload("OTHER.DEF", "o");
  host.SetSettingInt("Demo", "Setup", "NoCopyREPORT.DEF", 1);
  EXPECT_EQ(RunSetup("/q /c /p:C:\\A", state, host), kExitSuccess);
  EXPECT_TRUE(host.optionsDialogs.empty());
  EXPECT_EQ(host.FindFile("C:\\A\\Report.def"), nullptr);
  EXPECT_NE(host.FindFile("C:\\A\\Other.def"), nullptr);
}

TEST_F(RunSetupTest, QuietRunInstallsNothingWhileAnotherSetupHoldsTheMutex) {
  Package();
  host.mutexHeldElsewhere = true;
  EXPECT_EQ(RunSetup("/q /r /o:C:\\run.log /p:C:\\A", state, host), kExitSetupRunning);
  EXPECT_EQ(host.CountCalls("ExtractPayloadFile"), 0);
  EXPECT_EQ(host.CountCalls("CreateFolders"), 0);
  EXPECT_EQ(host.CountCalls("WriteSetting"), 0);
  EXPECT_TRUE(host.started.empty());
  EXPECT_TRUE(host.messages.empty());
  for (const auto& line : host.logLines) EXPECT_FALSE(StartsWith(line, "message:")) << line;
  EXPECT_EQ(host.logLines.back(), "exit code: 1618");
}

TEST_F(RunSetupTest, LogFollowsTheRunFromCommandLineToExitCode) {
  Package("Params=/m:enu\r\n");
  host.administrator = true;
  Run("/u /i /o:\"C:\\My Logs\\run.log\" /p:D:\\Apps\\X");
  const std::vector<std::string> expected = {
      "Orvalis Setup " + std::string(kSetupVersion) +
          ", started 2025-01-14 09:05:03, command line: /u /i /o:\"C:\\My Logs\\run.log\" /p:D:\\Apps\\X, PARAMS: /m:enu",
      "product: Demo, version 1.0",
      "administrator: yes",
      "mode: unattended",
      "product name: Demo EN, language ENU",
      "install folder: D:\\Apps\\X",
      "folder: D:\\Apps\\X\\ (created)",
      "step: Reset Read-Only flags",
      "step: Check if all files can be written",
      "file: Demo.exe, 7 bytes",
      "file: Readme.txt, 4 bytes",
      "step: Update software",
      "registration: software-list entry HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo, "
      "version 1.0, 1 KiB",
      "step: Finish",
      "outcome: installed",
      "exit code: 0",
  };
  EXPECT_EQ(host.logLines, expected);
}

TEST_F(RunSetupTest, LogFileMayComeFromParamsAndIsNeverWrittenWithoutOne) {
  for (const char* params : {"/o:C:\\FromParams.log", ""}) {
    MemoryHost h;
    SetupState s;
    h.AddPayload("DEMO.EXE", "p");
    h.SetDescriptor(std::string(kDescriptor) + "Params=" + params + "\r\n");
    RunSetup("/u /p:C:\\A", s, h);
    EXPECT_EQ(h.logPath, *params ? "C:\\FromParams.log" : "") << params;
    EXPECT_EQ(h.logLines.empty(), !*params) << params;
    EXPECT_EQ(h.CountCalls("OpenLog"), *params ? 1 : 0) << params;
  }
}

}  // namespace
}  // namespace orvalis
