// The registry steps of one file-type association.
#include "services/file_type_plan.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

constexpr RegRoot kCr = RegRoot::kClassesRoot;
constexpr RegRoot kCu = RegRoot::kCurrentUser;
constexpr auto kText = RegStepAction::kWriteString;
constexpr auto kNumber = RegStepAction::kWriteInteger;

TEST(FileTypePlan, PlaceholderIsLongOnlyBeforeXpServicePackThree) {
  struct Case { unsigned major, minor, servicePack; bool longName; };
  const Case cases[] = {{5, 1, 0, true}, {5, 1, 2, true}, {5, 1, 3, false}, {5, 0, 4, false},
                        {5, 2, 0, false}, {6, 1, 1, false}, {10, 0, 0, false}};
  for (const auto& c : cases)
    EXPECT_EQ(NeedsLongNamePlaceholder(c.major, c.minor, c.servicePack), c.longName)
        << c.major << "." << c.minor << " sp" << c.servicePack;
}

TEST(FileTypePlan, OpenCommandQuotesTheProgramWhenItHasABlank) {
  struct Case { const char* program; bool longName; const char* command; };
  const Case cases[] = {
      {"C:\\Program Files\\Orvalis\\prog.exe", false, "\"C:\\Program Files\\Orvalis\\prog.exe\" \"%1\""},
      {"C:\\Program Files\\Orvalis\\prog.exe", true, "\"C:\\Program Files\\Orvalis\\prog.exe\" \"%L\""},
      {"C:\\Apps\\prog.exe", false, "C:\\Apps\\prog.exe \"%1\""},
      {"C:\\Tëst Map\\", false, "\"C:\\Tëst Map\\\" \"%1\""},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenCommand(c.program, c.longName), c.command) << c.program;
}

TEST(FileTypePlan, StepsWriteTheClassTheSafetyFlagsAndTheUsersChoiceInOrder) {
  const std::string command = "C:\\Apps\\prog.exe \"%1\"";
  const std::vector<RegStep> expected = {
      {kText, kCr, ".QXA", "", "QXA", 0},
      {kText, kCr, "QXA", "", "Demo file", 0},
      {kText, kCr, "QXA\\Shell", "", "open", 0},
      {kText, kCr, "QXA\\Shell\\open", "", "&Openen", 0},
      {kText, kCr, "QXA\\Shell\\open\\command", "", command, 0},
      {kNumber, kCr, "QXA", "EditFlags", "", 0x10000},
      {kNumber, kCr, "QXA", "BrowserFlags", "", 8},
      {RegStepAction::kWriteBinary, kCu, "Software\\Microsoft\\Windows\\Shell\\AttachmentExecute\\{APP-ID}", "QXA",
       "", 0},
      {RegStepAction::kDeleteKey, kCu, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.QXA", "",
       "", 0},
      {kText, kCu, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.QXA\\UserChoice", "Progid",
       "Applications\\QXA", 0},
      {kText, kCu, "Software\\Classes\\Applications\\QXA\\Shell\\open\\command", "", command, 0},
      {RegStepAction::kDeleteKey, kCr, "QXA\\DefaultIcon", "", "", 0},
  };
  auto steps = FileTypeSteps("QXA", "C:\\Apps\\prog.exe", "Demo file", false, "{APP-ID}");
  ASSERT_EQ(steps.size(), expected.size());
  for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i], expected[i]) << "step " << i + 1;
}

TEST(FileTypePlan, WithoutABrowserIdentifierTheAttachmentValueIsLeftOut) {
  auto with = FileTypeSteps("qxa", "C:\\p.exe", "d", false, "x");
  auto without = FileTypeSteps("qxa", "C:\\p.exe", "d", false, "");
  ASSERT_EQ(without.size() + 1, with.size());
  for (const auto& step : without) EXPECT_NE(step.action, RegStepAction::kWriteBinary);
  with.erase(with.begin() + 7);
  EXPECT_EQ(with, without);
}

}  // namespace
}  // namespace orvalis
