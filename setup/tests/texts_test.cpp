// The text table and the language rules.
#include "setup/texts.h"

#include "core/text.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(SetupText, HoldsBothLanguagesUnderTheirNumbers) {
  struct Case { int number; const char* dutch; const char* english; };
  const Case cases[] = {
      {0, "Kies een map om de doelmap in te creeeren", "Select an existing folder to install"},
      {1, "Er zit een fout in het installatie programma", "Error in the setup program"},
      {3, "PRODUCTNAME", "PRODUCTNAMEENU"},
      {5, " Installatie", " Install"},  // the leading blank belongs to the caption
      {7, "Versie: ", "Version: "},
      {9, "Map waarnaar ge\xC3\xAFnstalleerd dient te worden:", "Folder to install to:"},
      {14, "Annuleren", "Cancel"},
      {15, "Installeer", "Install"},
      {20, "Assistent bestand", "Assist file"},
      {26, "Installeren van bestanden", "Install files"},
      {32, "Niet alle bestanden zijn goed ge\xC3\xAFnstalleerd.", "Not all files could be installed"},
      {36, "bestand", "file"},
      {38, "Start", "Run"},
      {40, "Wilt u nu de setup als beheerder starten?", "Do you wish to run the setup as administrator?"},
      {41,
       "kan niet worden ge\xC3\xAFnstalleerd. Waarschijnlijk heeft u extra rechten nodig. Sla deze installatie op "
       "en voer het als 'Administrator' uit.",
       "cannot be installed. Probably there are extra rights needed. Save this program to disk and try running it "
       "as 'Administrator'."},
      {43, "Programma menu aanmaken", "Create program menu"},
      {46, "Installeren", "install"},
      {47, "Uitpakken bestanden", "Extracting files"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SetupText(c.number, kDutch), c.dutch) << c.number;
    EXPECT_EQ(SetupText(c.number, kEnglish), c.english) << c.number;
  }
}

TEST(SetupText, EveryAssignedNumberHasBothTextsAndOthersAreEmpty) {
  for (int n = -1; n <= kSetupTextCount; ++n) {
    bool assigned = n >= 0 && n < kSetupTextCount && n != 4 && n != 39;
    EXPECT_EQ(SetupText(n, kDutch).empty(), !assigned) << n;
    EXPECT_EQ(SetupText(n, kEnglish).empty(), !assigned) << n;
  }
  EXPECT_EQ(SetupText(1, 2), "");
  EXPECT_EQ(SetupText(1, -1), "");
}

TEST(SetupText, ShortcutNoteHasItsLineBreakAndAccents) {
  const std::string& note = SetupText(kTextShortcutNote, kDutch);
  EXPECT_NE(note.find("op elk werkstation.\r\nVoor werkstationinstallatie"), std::string::npos);
  EXPECT_NE(note.find("\xC3\xA9\xC3\xA9nmalig"), std::string::npos);  // éénmalig
}

TEST(SetupText, ProductInformationIsOneRichTextPerLanguage) {
  for (int language : {kDutch, kEnglish}) {
    const std::string& rtf = SetupText(kTextProductInfo, language);
    EXPECT_TRUE(StartsWith(rtf, "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
                                "Serif;}}{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs16 "));
    EXPECT_TRUE(EndsWith(rtf, "}"));
    EXPECT_NE(rtf.find("\\tx1120"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf1\\ul\\b " + std::string(kContactWebAddress)), std::string::npos);
    EXPECT_NE(rtf.find("\\cf1\\ul\\b " + std::string(kContactMailAddress)), std::string::npos);
    int open = 0;
    for (char c : rtf) open += c == '{' ? 1 : c == '}' ? -1 : 0;
    EXPECT_EQ(open, 0);
  }
  EXPECT_NE(SetupText(kTextProductInfo, kDutch).find("\\b Opmerkingen:\\b0"), std::string::npos);
  EXPECT_NE(SetupText(kTextProductInfo, kEnglish).find("\\b U can reach Orvalis:\\b0"), std::string::npos);
}

TEST(ApplyLanguageCode, SwitchesToEnglishButNeverBack) {
  struct Case { int indexBefore; const char* code; int indexAfter; };
  const Case cases[] = {
      {kDutch, "ENU", kEnglish}, {kDutch, "NLD", kDutch},    {kDutch, "FRA", kDutch},
      {kDutch, "", kDutch},      {kDutch, "enu", kDutch},    // codes are upper-cased where they are read
      {kEnglish, "NLD", kEnglish}, {kEnglish, "", kEnglish},
  };
  for (const auto& c : cases) {
    SetupState state;
    state.LanguageIndex = c.indexBefore;
    state.LanguageCode = c.code;
    ApplyLanguageCode(state);
    EXPECT_EQ(state.LanguageIndex, c.indexAfter) << c.code;
  }
}

}  // namespace
}  // namespace orvalis
