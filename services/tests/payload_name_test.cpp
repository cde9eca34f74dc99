// Display names and the names a package may never write.
#include "services/payload_name.h"

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
