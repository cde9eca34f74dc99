// The options dialog: file classes, building from stored settings, and the
// stored and applied result.
#include "setup/options_dialog.h"

#include "setup/tests/memory_host.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(OptionsDialog, ClassifiesPayloadNamesBySubstring) {
  struct Case { const char* name; PayloadClass kind; const char* dutch; const char* english; };
  const Case cases[] = {
      {"PF1.QXA", PayloadClass::kAssist, "", ""},
      {"A.QXA.DEF", PayloadClass::kAssist, "", ""},  // assist goes first
      {"demo.exe", PayloadClass::kRequired, "", ""},
      {"LIB.DLL", PayloadClass::kRequired, "", ""},
      {"HELP.CHM", PayloadClass::kRequired, "", ""},
      {"X.PID", PayloadClass::kRequired, "", ""},
      {"BASE.DAT", PayloadClass::kRequired, "", ""},
      {"X.DLL.DEF", PayloadClass::kRequired, "", ""},
      {"REPORT.DEF", PayloadClass::kOptional, "Definitie bestand: REPORT.DEF", "Template file: REPORT.DEF"},
      {"REPORT.DEFAULT.TXT", PayloadClass::kOptional, "Definitie bestand: REPORT.DEFAULT.TXT",
       "Template file: REPORT.DEFAULT.TXT"},
      {"in.dft", PayloadClass::kOptional, "Import definitie: in.dft", "Import template: in.dft"},
      {"OUT.DET", PayloadClass::kOptional, "Export definitie: OUT.DET", "Export template: OUT.DET"},
      {"README.TXT", PayloadClass::kOptional, "README.TXT", "README.TXT"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyPayload(c.name), c.kind) << c.name;
    if (c.kind != PayloadClass::kOptional) continue;
    EXPECT_EQ(OptionalFileCaption(c.name, kDutch), c.dutch);
    EXPECT_EQ(OptionalFileCaption(c.name, kEnglish), c.english);
  }
}

class OptionsDialogTest : public testing::Test {
 protected:
  OptionsDialogTest() : run(state, host, "") {
    state.ProductName = "Demo";
    state.ShortcutMode = kShortcutsCreate;
    host.SetProductKey("Demo");
  }
  void Payload(std::initializer_list<const char*> names) {
    for (const char* name : names) run.Payload.push_back({name, true});
  }
  // Shows the dialog and answers with `answer`; returns the model as shown.
  OptionsDialogModel Show(std::function<bool(OptionsDialogModel&)> answer) {
    host.optionsAnswers = {std::move(answer)};
    ShowOptionsDialog(run);
    EXPECT_EQ(host.optionsDialogs.size(), 1u);
    return host.optionsDialogs.empty() ? OptionsDialogModel{} : host.optionsDialogs[0];
  }
  std::optional<int> StoredInt(const std::string& name) {
    auto setting = host.StoredSetting("Demo", "Setup", name);
    return setting ? std::optional<int>(setting->number) : std::nullopt;
  }

  MemoryHost host;
  SetupState state;
  SetupRun run;
};

TEST_F(OptionsDialogTest, ListsOptionalFilesInOrderWithTheAssistEntryLast) {
  Payload({"DEMO.EXE", "PF1.QXA", "REPORT.DEF", "LIB.DLL", "README.TXT", "PF2.QXA"});
  host.SetSettingInt("Demo", "Setup", "NoCopyREADME.TXT", 1);
  OptionsDialogModel m = Show([](OptionsDialogModel&) { return true; });
  ASSERT_EQ(m.files.size(), 3u);
  EXPECT_EQ(m.files[0].caption, "Definitie bestand: REPORT.DEF");
  EXPECT_EQ(m.files[0].tag, 2);
  EXPECT_TRUE(m.files[0].ticked);
  EXPECT_EQ(m.files[1].caption, "README.TXT");
  EXPECT_EQ(m.files[1].tag, 4);
  EXPECT_FALSE(m.files[1].ticked);
  EXPECT_EQ(m.files[2].caption, "Assistent bestand");
  EXPECT_EQ(m.files[2].tag, kAssistFilesTag);
  EXPECT_TRUE(m.filesVisible);
  EXPECT_EQ(m.filesHeading, "Geef aan welke bestanden u wilt installeren");
  EXPECT_EQ(m.caption, " Installatie");
  EXPECT_EQ(m.productName, "Demo");
  EXPECT_TRUE(run.AssistSelected);
  EXPECT_FALSE(run.Payload[4].Selected);  // confirmed as shown
  EXPECT_EQ(StoredInt("NoCopyREADME.TXT"), 1);
  EXPECT_EQ(StoredInt("NoCopyREPORT.DEF"), std::nullopt);
  EXPECT_EQ(StoredInt("NoQXA"), std::nullopt);
}

TEST_F(OptionsDialogTest, UntickingAssistFilesDropsThemAndIsStored) {
  Payload({"PF1.QXA", "DEMO.EXE", "DEFAULT.QXA"});
  Show([](OptionsDialogModel& m) {
    m.files.back().ticked = false;
    return true;
  });
  EXPECT_FALSE(run.AssistSelected);
  EXPECT_FALSE(run.Payload[0].Selected);
  EXPECT_TRUE(run.Payload[1].Selected);
  EXPECT_FALSE(run.Payload[2].Selected);
  EXPECT_EQ(StoredInt("NoQXA"), 1);
}

TEST_F(OptionsDialogTest, PackagesWithOnlyProgramFilesHideTheFileList) {
  struct Case { bool unattended; bool optionsVisible; bool customAfter; };
  const Case cases[] = {{false, true, true}, {true, false, false}};
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.Unattended = c.unattended;
    s.CustomInstall = true;
    SetupRun r(s, h, "");
    r.Payload = {{"DEMO.EXE", true}, {"A.DLL", true}, {"B.DAT", true}, {"C.CHM", true}, {"D.PID", true}};
    h.optionsAnswers = {[](OptionsDialogModel&) { return true; }};
    EXPECT_TRUE(ShowOptionsDialog(r));
    ASSERT_EQ(h.optionsDialogs.size(), 1u);
    EXPECT_FALSE(h.optionsDialogs[0].filesVisible);
    EXPECT_EQ(h.optionsDialogs[0].optionsVisible, c.optionsVisible);
    EXPECT_EQ(s.CustomInstall, c.customAfter);
    EXPECT_EQ(h.CountCalls("WriteSettingInt Setup\\NoCopy"), 0);
  }
}

TEST_F(OptionsDialogTest, ShortcutModeDecidesWhichBoxesShow) {
  struct Case { int mode; bool link, menu, note; };
  const Case cases[] = {{kShortcutsNone, false, false, false},
                        {kShortcutsCreate, true, true, false},
                        {kShortcutsByProgram, false, false, true}};
  for (const auto& c : cases) {
    MemoryHost h;
    SetupState s;
    s.ShortcutMode = c.mode;
    s.LanguageIndex = kEnglish;
    SetupRun r(s, h, "");
    r.Payload = {{"DEMO.EXE", true}};
    h.optionsAnswers = {[](OptionsDialogModel&) { return true; }};
    ShowOptionsDialog(r);
    const OptionsDialogModel& m = h.optionsDialogs.at(0);
    EXPECT_EQ(m.linkVisible, c.link) << c.mode;
    EXPECT_EQ(m.menuVisible, c.menu) << c.mode;
    EXPECT_EQ(m.shortcutNoteVisible, c.note) << c.mode;
    EXPECT_EQ(m.linkCaption, c.link ? "Add link to the desktop" : "") << c.mode;
    EXPECT_EQ(m.menuCaption, c.menu ? "Create program menu" : "") << c.mode;
    EXPECT_EQ(m.shortcutNote, c.note ? SetupText(kTextShortcutNote, kEnglish) : "") << c.mode;
    EXPECT_EQ(m.registerCaption, "Register this program in the windows softwarelist");
    EXPECT_EQ(m.runCaption, "Run application after setup");
    // Hidden boxes are ticked from the (absent) stored values, so both shortcuts get made.
    EXPECT_TRUE(s.DesktopLink && s.ProgramMenu) << c.mode;
    EXPECT_EQ(h.CountCalls("WriteSettingInt Setup\\NoLink"), c.link ? 1 : 0) << c.mode;
    EXPECT_EQ(h.CountCalls("WriteSettingInt Setup\\NoMenu"), c.menu ? 1 : 0) << c.mode;
  }
}

TEST_F(OptionsDialogTest, StoredChoicesAreTheDefaultsAndConfirmedChoicesAreStored) {
  Payload({"DEMO.EXE"});
  host.SetSettingInt("Demo", "Setup", "NoSoftware", 1);
  host.SetSettingInt("Demo", "Setup", "NoLink", 1);
  host.SetSetting("Demo", "Setup", "NoRun", "1");  // text, not an integer: reads as 0
  state.RegisterSoftware = state.RunProgram = true;
  OptionsDialogModel shown = Show([](OptionsDialogModel& m) {
    m.registerTicked = true;
    m.runTicked = false;
    m.linkTicked = true;
    m.menuTicked = false;
    return true;
  });
  EXPECT_FALSE(shown.registerTicked);
  EXPECT_TRUE(shown.runTicked);
  EXPECT_FALSE(shown.linkTicked);
  EXPECT_TRUE(shown.menuTicked);
  EXPECT_TRUE(state.RegisterSoftware);
  EXPECT_FALSE(state.RunProgram);
  EXPECT_TRUE(state.DesktopLink);
  EXPECT_FALSE(state.ProgramMenu);
  EXPECT_EQ(StoredInt("NoSoftware"), std::nullopt);  // ticked: deleted
  EXPECT_EQ(StoredInt("NoRun"), 1);
  EXPECT_EQ(StoredInt("NoLink"), std::nullopt);
  EXPECT_EQ(StoredInt("NoMenu"), 1);
}

TEST_F(OptionsDialogTest, CancelStoresNothingAndFailsThePass) {
  Payload({"DEMO.EXE", "REPORT.DEF", "PF.QXA"});
  host.SetSettingInt("Demo", "Setup", "NoRun", 1);
  state.RunProgram = true;
  host.calls.clear();
  host.optionsAnswers = {[](OptionsDialogModel& m) {
    m.files[0].ticked = false;
    m.runTicked = true;
    return false;
  }};
  EXPECT_FALSE(ShowOptionsDialog(run));
  EXPECT_FALSE(run.Ok);
  EXPECT_TRUE(run.OptionsCancelled);
  EXPECT_EQ(host.CountCalls("WriteSetting"), 0);
  EXPECT_TRUE(run.Payload[1].Selected);
  EXPECT_FALSE(state.RunProgram);  // the stored default given while building stays
  EXPECT_TRUE(run.AssistSelected);
}

}  // namespace
}  // namespace orvalis
