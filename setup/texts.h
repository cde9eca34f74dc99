// The setup's texts in Dutch and English, and the rules that settle which of
// the two a run uses.
#pragma once

#include "setup/setup_state.h"

#include <string>
#include <string_view>

namespace orvalis {

// Numbers of the entries of the text table (4 and 39 are unassigned).
enum SetupTextId : int {
  kTextBrowseTitle = 0,
  kTextNoPayload = 1,
  kTextNoProduct = 2,
  kTextProductNameKey = 3,
  kTextMainCaption = 5,
  kTextProductInfo = 6,
  kTextVersionPrefix = 7,
  kTextDatePrefix = 8,
  kTextFolderLabel = 9,
  kTextCustomCheck = 10,
  kTextProgramFolderItem = 11,
  kTextLocalFolderItem = 12,
  kTextSelectFolderItem = 13,
  kTextCancel = 14,
  kTextInstall = 15,
  kTextSelectFiles = 16,
  kTextDefinitionFile = 17,
  kTextImportTemplate = 18,
  kTextExportTemplate = 19,
  kTextAssistFile = 20,
  kTextRegisterSoftware = 21,
  kTextRunAfterSetup = 22,
  kTextShortcutNote = 23,
  kTextFolderNotCreated = 24,
  kTextFolderExists = 25,
  kTextProgressInstall = 26,
  kTextResetReadOnly = 27,
  kTextCheckWritable = 28,
  kTextFilesLocked = 29,
  kTextDeleteAssistFiles = 30,
  kTextDeleteOldFiles = 31,
  kTextNotAllInstalled = 32,
  kTextSetReadOnly = 33,
  kTextUpdateSoftware = 34,
  kTextFinish = 35,
  kTextFileTypeSuffix = 36,
  kTextFileTypesFailed = 37,
  kTextRunProgram = 38,
  kTextElevationQuestion = 40,
  kTextCannotInstall = 41,
  kTextDesktopLink = 42,
  kTextProgramMenu = 43,
  kTextRunOrInstall = 44,
  kTextExecute = 45,
  kTextInstallChoice = 46,
  kTextProgressExtract = 47,
};

inline constexpr int kSetupTextCount = 48;

// Entry `number` of the text table in column `languageIndex` (0 Dutch,
// 1 English); empty for unassigned numbers and anything out of range.
[[nodiscard]] const std::string& SetupText(int number, int languageIndex);

// Texts that are the same in both languages.
inline constexpr std::string_view kApplicationTitle = "Orvalis Setup";
inline constexpr std::string_view kDialogCaption = "Orvalis";
inline constexpr std::string_view kLanguageDialogLabel = "Installation language / Installatie taal";
inline constexpr std::string_view kLanguageDutchItem = "Nederlands";
inline constexpr std::string_view kLanguageEnglishItem = "English";
inline constexpr std::string_view kLanguageDialogCancel = "Cancel";
inline constexpr std::string_view kLanguageDialogOk = "OK";

// The maker's addresses, shown in the product information.
inline constexpr std::string_view kContactWebAddress = "https://www.orvalis.nl/";
inline constexpr std::string_view kContactMailAddress = "info@orvalis.nl";

inline constexpr std::string_view kLanguageDutch = "NLD";
inline constexpr std::string_view kLanguageEnglish = "ENU";

// Switches the run to English once its code has become "ENU". A run never
// goes back to Dutch: a later code of "NLD" is stored but the texts stay.
void ApplyLanguageCode(SetupState& state);

}  // namespace orvalis
