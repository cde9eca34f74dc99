// Display names and the names a package may never write.
#include "services/payload_name.h"

#include "core/text.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(PayloadName, DisplayNameIsLowerCaseWithACapitalFirstLetter) {
  EXPECT_EQ(PayloadDisplayName("UNINSTALL.EXE"), "Uninstall.exe");
  EXPECT_EQ(PayloadDisplayName("DATA\\SUB\\X.BIN"), "Data\\sub\\x.bin");
  EXPECT_EQ(PayloadDisplayName("_README.TXT"), "_readme.txt");
  EXPECT_EQ(PayloadDisplayName("ÉCOLE.TXT"), "école.txt");  // only a..z is capitalised
  EXPECT_EQ(PayloadDisplayName(""), "");
}

TEST(PayloadName, StoredNamesComeBackAsDisplayNamesThatUpperCaseToThem) {
  struct Case { const char* stored; const char* display; };
  const Case cases[] = {
      {"ԱՐՄ.TXT", "արմ.txt"}, {"ᲐᲑ\\Ꭰ.TXT", "აბ\\ꭰ.txt"}, {"ǄЖ\\ＡΆ", "ǆж\\ａά"},
      {"µǅı.TXT", "µǅı.txt"},  // letters Windows leaves as they are
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PayloadDisplayName(c.stored), c.display);
    EXPECT_EQ(UpperCase(c.display), c.stored);
  }
}

TEST(PayloadName, LettersWindowsUpperCasesToAnotherLengthCannotBeStored) {
  struct Case { const char* name; char32_t letter; };
  const Case cases[] = {
      {"README.txt", 0},          {"µ ς ǅ ı ſ ß.txt", 0},    {"ա ა ꭰ ａ ƀ.txt", 0},
      {"Ɐ Ⱥ.TXT", 0},            {"\U00010428.txt", 0},     {"data\\ɐbc.txt", U'\u0250'},
      {"Ab\\ɑ ⱥ", U'\u0251'},  {"ⱦ.txt", U'\u2C66'},
  };
  for (const auto& c : cases) EXPECT_EQ(UnstorableLetter(c.name), c.letter) << c.name;
}

TEST(PayloadName, NamesThatLeaveTheInstallFolderAreRefused) {
  struct Case { const char* name; PayloadNameProblem problem; };
  const Case cases[] = {
      {"README.TXT", PayloadNameProblem::kSafe},
      {"DATA\\SUB\\X.BIN", PayloadNameProblem::kSafe},
      {"A..B\\C.TXT", PayloadNameProblem::kSafe},
      {"CONSOLE.TXT", PayloadNameProblem::kSafe},
      {"", PayloadNameProblem::kEmpty},
      {"DATA\\", PayloadNameProblem::kEmpty},
      {"A\\\\B", PayloadNameProblem::kEmpty},
      {"\\WINDOWS\\X.DLL", PayloadNameProblem::kAbsolute},
      {"/etc/x", PayloadNameProblem::kAbsolute},
      {"C:\\X.DLL", PayloadNameProblem::kDrive},
      {"C:X.DLL", PayloadNameProblem::kDrive},
      {"FILE.TXT:STREAM", PayloadNameProblem::kDrive},
      {"..\\X.DLL", PayloadNameProblem::kParent},
      {"A\\..\\..\\X.DLL", PayloadNameProblem::kParent},
      {"A/../X", PayloadNameProblem::kParent},
      {".\\X", PayloadNameProblem::kParent},
      {"A\\. .\\X", PayloadNameProblem::kParent},
      {"CON", PayloadNameProblem::kReservedName},
      {"DATA\\NUL.TXT", PayloadNameProblem::kReservedName},
      {"com1", PayloadNameProblem::kReservedName},
      {"LPT9.LOG", PayloadNameProblem::kReservedName},
      {"AUX .TXT", PayloadNameProblem::kReservedName},
      {"A|B", PayloadNameProblem::kInvalidChar},
      {"A\tB", PayloadNameProblem::kInvalidChar},
      {"WHAT?", PayloadNameProblem::kInvalidChar},
      {"A.TXT.", PayloadNameProblem::kTrailingDotOrBlank},
      {"DIR \\X.TXT", PayloadNameProblem::kTrailingDotOrBlank},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckPayloadName(c.name), c.problem) << c.name;
}

}  // namespace
}  // namespace orvalis
