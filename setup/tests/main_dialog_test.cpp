// Main dialog content and its folder menu.
#include "setup/main_dialog.h"

#include "setup/tests/memory_host.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(VersionLine, LeavesOutWhatIsUnknown) {
  struct Case { const char* version; const char* pid; const char* date; int language; const char* line; };
  const Case cases[] = {
      {"3.24.4.0", "7", "10-05-2019 10:59", kDutch, "Versie: 3.24.4.0 (7)  Aanmaakdatum: 10-05-2019 10:59"},
      {"3.24.4.0", "", "", kEnglish, "Version: 3.24.4.0"},
      {"", "", "", kDutch, ""},
      {"", "", "10-05-2019", kDutch, "Aanmaakdatum: 10-05-2019"},
      {"", "7", "", kEnglish, "(7)"},
      {"1.0", "", "today", kEnglish, "Version: 1.0  Creation date: today"},
  };
  for (const auto& c : cases) {
    SetupState s;
    s.Version = c.version;
    s.Pid = c.pid;
    s.Date = c.date;
    s.LanguageIndex = c.language;
    EXPECT_EQ(VersionLine(s), c.line);
  }
}

TEST(MainDialog, IsFilledInTheRunsLanguage) {
  for (int language : {kDutch, kEnglish}) {
    MemoryHost h;
    SetupState s;
    s.Product = "Demo";
    s.ProductName = "Demo Product";
    s.InstallPath = "C:\\X";
    s.CustomInstall = true;
    s.LanguageIndex = language;
    h.systemPaths.erase(kFolderLocalAppData);
    SetupRun run(s, h, "");
    MainDialogModel m = BuildMainDialog(run);
    EXPECT_EQ(m.caption, SetupText(kTextMainCaption, language));
    EXPECT_EQ(m.productName, "Demo Product");
    EXPECT_EQ(m.productInfoRtf, SetupText(kTextProductInfo, language));
    EXPECT_EQ(m.folderLabel, SetupText(kTextFolderLabel, language));
    EXPECT_EQ(m.customCaption, SetupText(kTextCustomCheck, language));
    EXPECT_EQ(m.cancelCaption, SetupText(kTextCancel, language));
    EXPECT_EQ(m.browseTitle, SetupText(kTextBrowseTitle, language));
    EXPECT_TRUE(m.customInstall);
    EXPECT_EQ(m.installPath, "C:\\X");
    EXPECT_EQ(m.programFolder, "C:\\Program Files\\Orvalis\\Demo");
    EXPECT_EQ(m.localFolder, "");  // unknown: the menu item is disabled
  }
}

TEST(MainDialog, InstallCopiesTheFolderAndCheckBoxButCancelDoesNot) {
  for (bool install : {true, false}) {
    MemoryHost h;
    SetupState s;
    s.InstallPath = "C:\\Before";
    SetupRun run(s, h, "");
    h.mainDialogAnswers = {[install](MainDialogModel& m) {
      m.installPath = "D:\\Typed";
      m.customInstall = true;
      return install ? MainDialogResult::kInstall : MainDialogResult::kCancelled;
    }};
    EXPECT_EQ(ShowMainDialog(run), install ? MainDialogResult::kInstall : MainDialogResult::kCancelled);
    EXPECT_EQ(s.InstallPath, install ? "D:\\Typed" : "C:\\Before");
    EXPECT_EQ(s.CustomInstall, install);
  }
}

TEST(FolderMenu, DisablesUnknownAndChecksTheCurrentCandidate) {
  MainDialogModel m;
  m.programFolder = "C:\\Program Files\\Orvalis\\Demo";
  m.localFolder = "";
  m.programFolderCaption = "Program folder";
  m.localFolderCaption = "Local user folder";
  m.selectFolderCaption = "Select";
  struct Case { const char* path; int programState; };
  const Case cases[] = {
      {"C:\\Program Files\\Orvalis\\Demo", kMenuStateChecked},
      {"c:\\program files\\orvalis\\demo", kMenuStateChecked},
      {"C:\\Program Files\\Orvalis\\Demo\\", 0},
      {"D:\\Other", 0},
  };
  for (const auto& c : cases) {
    std::vector<FolderMenuItem> items = BuildFolderMenu(m, c.path);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].tag, 1);
    EXPECT_EQ(items[0].caption, "Program folder");
    EXPECT_EQ(items[0].state, c.programState) << c.path;
    EXPECT_EQ(items[1].tag, 2);
    EXPECT_EQ(items[1].state, kMenuStateDisabled);
    EXPECT_EQ(items[2].tag, 0);
    EXPECT_EQ(items[2].caption, "-");
    EXPECT_EQ(items[3].tag, 3);
    EXPECT_EQ(items[3].state, 0);
  }
}

TEST(FolderMenu, ChoiceSetsTheFolderText) {
  MainDialogModel m;
  m.programFolder = "C:\\PF\\Orvalis\\Demo";
  m.localFolder = "C:\\L\\Orvalis\\Demo";
  m.browseTitle = "Select an existing folder to install";
  m.productFolder = [](const std::string& base) {
    return base.find("\\Orvalis\\Demo") != std::string::npos ? base : base + "\\Orvalis\\Demo";
  };
  std::string browsedFrom, browsedTitle;
  auto browseTo = [&](std::string result) {
    return [&, result](const std::string& initial, const std::string& title) {
      browsedFrom = initial;
      browsedTitle = title;
      return result.empty() ? initial : result;  // empty: the user cancelled
    };
  };
  struct Case { int tag; std::string browseResult; const char* folder; };
  const Case cases[] = {
      {1, "", "C:\\PF\\Orvalis\\Demo"},
      {2, "", "C:\\L\\Orvalis\\Demo"},
      {3, "E:\\Picked", "E:\\Picked\\Orvalis\\Demo"},
      {3, "", "D:\\Typed\\Orvalis\\Demo"},  // cancelled: the text still gains the tail
      {-1, "", "D:\\Typed"},
      {0, "", "D:\\Typed"},
  };
  for (const auto& c : cases) {
    browsedFrom.clear();
    browsedTitle.clear();
    EXPECT_EQ(ApplyFolderMenuChoice(m, c.tag, "D:\\Typed", browseTo(c.browseResult)), c.folder) << c.tag;
    EXPECT_EQ(browsedFrom, c.tag == 3 ? "D:\\Typed" : "") << c.tag;
    EXPECT_EQ(browsedTitle, c.tag == 3 ? m.browseTitle : "") << c.tag;
  }
}

}  // namespace
}  // namespace orvalis
