// The meaning of the descriptor keys.
#include "setup/descriptor.h"

#include "setup/switches.h"
#include "setup/texts.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(ApplyDescriptor, ReadsEveryKeyWithItsRule) {
  const std::string text =
      "Params=/m:nld\r\nShortCuts= create \r\nDirectRun=true\r\nProduct=Demo\r\nProductName=Mijn_Demo\r\n"
      "ProductNameEnu=My_Demo\r\nProgram=demo.exe /safe\r\nVersion=3_24_4_0b\r\nDelete=a.dll,Sub\\b.dll\r\n"
      "Pid=7\r\nDate=10-05-2019 10:59\r\nFileTypes=qxa,qxb\r\nRegistry=Options\\AutoSave:I1\r\n";
  SetupState state;
  bool directRun = false;
  ApplyDescriptor(text, state, directRun);
  EXPECT_EQ(state.Product, "Demo");
  EXPECT_TRUE(directRun);
  EXPECT_EQ(state.ProductName, "Mijn Demo");
  EXPECT_EQ(state.ProgramFile, "demo.exe /safe");
  EXPECT_EQ(state.Version, "3.24.4.0B");
  EXPECT_EQ(state.DeleteList, "A.DLL,SUB\\B.DLL");
  EXPECT_EQ(state.Pid, "7");
  EXPECT_EQ(state.Date, "10-05-2019 10:59");
  EXPECT_EQ(state.FileTypeList, "qxa,qxb");
  EXPECT_EQ(state.RegistryList, "Options\\AutoSave:I1");
  EXPECT_EQ(state.ShortcutMode, kShortcutsCreate);
  EXPECT_EQ(state.LanguageCode, "NLD");
  EXPECT_EQ(state.LanguageIndex, kDutch);
}

TEST(ApplyDescriptor, KeysThatDependOnTheRunSoFar) {
  struct Case {
    const char* descriptor;
    const char* commandLine;  // applied to the state first
    const char* programFile;
    const char* fileTypes;
    const char* productName;
    bool directRun;
    bool unattended;
    int languageIndex;
  };
  const Case cases[] = {
      {"Program=demo.exe\r\n", "/e:other.exe", "other.exe", "", "", false, false, kDutch},  // /E: wins
      {"Program=demo.exe\r\n", "", "demo.exe", "", "", false, false, kDutch},
      {"FileTypes=qxa\r\n", "/u", "", "", "", false, true, kDutch},           // unattended: no file types
      {"FileTypes=qxa\r\nParams=/u\r\n", "", "", "qxa", "", false, true, kDutch},  // read before PARAMS
      {"DirectRun=no\r\n", "", "", "", "", true, false, kDutch},            // any value switches it on
      {"DirectRun=false\r\n", "", "", "", "", true, false, kDutch},
      {"DirectRun= \r\n", "", "", "", "", false, false, kDutch},
      {"ProductName=A_B\r\nProductNameEnu=C_D\r\n", "/m:enu", "", "", "C D", false, false, kEnglish},
      {"ProductName=A_B\r\nProductNameEnu=C_D\r\nParams=/m:enu\r\n", "", "", "", "A B", false, false, kEnglish},
      {"Params=/m:nld\r\n", "/m:enu", "", "", "", false, false, kEnglish},  // never back to Dutch
  };
  for (const auto& c : cases) {
    SetupState state;
    ParseSwitches(c.commandLine, state);
    ApplyLanguageCode(state);
    bool directRun = false;
    ApplyDescriptor(c.descriptor, state, directRun);
    EXPECT_EQ(state.ProgramFile, c.programFile) << c.descriptor;
    EXPECT_EQ(state.FileTypeList, c.fileTypes) << c.descriptor;
    EXPECT_EQ(state.ProductName, c.productName) << c.descriptor;
    EXPECT_EQ(directRun, c.directRun) << c.descriptor;
    EXPECT_EQ(state.Unattended, c.unattended) << c.descriptor;
    EXPECT_EQ(state.LanguageIndex, c.languageIndex) << c.descriptor;
  }
}

TEST(ApplyDescriptor, AnEmptyDescriptorLeavesEverythingEmpty) {
  SetupState state;
  state.ShortcutMode = kShortcutsCreate;
  bool directRun = true;
  ApplyDescriptor("", state, directRun);
  EXPECT_EQ(state.Product, "");
  EXPECT_FALSE(directRun);
  EXPECT_EQ(state.ShortcutMode, kShortcutsNone);
  EXPECT_EQ(state.Version, "");
}

TEST(DescriptorProductName, UsesTheKeyOfTheLanguage) {
  const std::string text = "ProductNameEnu=Eng_Name\r\nProductName=Ned_Naam_\r\n";
  EXPECT_EQ(DescriptorProductName(text, kDutch), "Ned Naam ");
  EXPECT_EQ(DescriptorProductName(text, kEnglish), "Eng Name");
  EXPECT_EQ(DescriptorProductName("ProductName=Tëst_Ëen\r\n", kDutch), "Tëst Ëen");
}

TEST(ShortcutModeOf, KnowsCreateAndRegOnly) {
  struct Case { const char* value; int mode; };
  const Case cases[] = {{"CREATE", kShortcutsCreate}, {" create ", kShortcutsCreate}, {"Reg", kShortcutsByProgram},
                        {"Yes", kShortcutsNone},      {"", kShortcutsNone},           {"CREATED", kShortcutsNone}};
  for (const auto& c : cases) EXPECT_EQ(ShortcutModeOf(c.value), c.mode) << c.value;
}

TEST(ParseRegistryItem, SplitsLocationAndTypedValue) {
  struct Case {
    const char* item;
    const char* section;
    const char* name;
    bool isInteger;
    int number;
    const char* text;
  };
  const Case cases[] = {
      {"Options\\AutoSave:I1", "Options", "AutoSave", true, 1, ""},
      {"Paths\\Data:C", "Paths", "Data", false, 0, "C"},
      {"Setup\\Custom:i1", "Setup", "Custom", true, 1, ""},
      {"A\\B\\C:x", "A\\B", "C", false, 0, "x"},       // the section may hold "\\"
      {"Top:hello", "", "Top", false, 0, "hello"},      // no "\\": the product key itself
      {"Paths\\Data:C:\\x", "Paths", "Data", false, 0, "C"},  // text after a second ":" is dropped
      {"N:I -12x", "", "N", true, -12, ""},             // lenient number: blanks, sign, stops at non-digit
      {"N:Iabc", "", "N", true, 0, ""},
      {"N:I", "", "N", true, 0, ""},
      {"N:", "", "N", false, 0, ""},                    // an empty string is stored as such
      {"N", "", "N", false, 0, ""},
      {"", "", "", false, 0, ""},
      {"S\\N: I5", "S", "N", false, 0, " I5"},          // a blank first is text
      {"Opties\\Naam:Tëst", "Opties", "Naam", false, 0, "Tëst"},
  };
  for (const auto& c : cases) {
    RegistryItem item = ParseRegistryItem(c.item);
    EXPECT_EQ(item.section, c.section) << c.item;
    EXPECT_EQ(item.name, c.name) << c.item;
    EXPECT_EQ(item.isInteger, c.isInteger) << c.item;
    EXPECT_EQ(item.number, c.number) << c.item;
    EXPECT_EQ(item.text, c.text) << c.item;
  }
}

}  // namespace
}  // namespace orvalis
