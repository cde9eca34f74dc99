// The driver's record of one setup run: what the descriptor, the switches, the
// stored settings and the user decided. The driver owns the one instance and
// passes it by reference; nothing else writes it.
#pragma once

#include <string>
#include <vector>

namespace orvalis {

// How shortcuts are handled (descriptor SHORTCUTS).
inline constexpr int kShortcutsNone = 0;
inline constexpr int kShortcutsCreate = 1;  // the setup offers and makes them
inline constexpr int kShortcutsByProgram = 2;  // the installed program makes them on its first start

// Columns of the text table.
inline constexpr int kDutch = 0;
inline constexpr int kEnglish = 1;

struct SetupState {
  std::string Product;       // product key name, used in folder and registry paths
  std::string ProductName;   // display name in the run's language
  std::string ProgramFile;   // program file relative to the install folder, may carry parameters
  std::string Version;       // upper case, "_" shown as "."
  std::string Pid;
  std::string Date;
  std::string DeleteList;    // upper-cased comma list
  std::string FileTypeList;  // comma list of extensions
  std::string RegistryList;  // comma list of section\name:value items
  std::string InstallPath;   // ends with "\" once a pass has checked the folder
  std::string LanguageCode;  // "NLD", "ENU" or empty
  int LanguageIndex = kDutch;
  bool Unattended = false;
  bool Quiet = false;        // no window and no message at all; implies Unattended
  std::string LogPath;       // the log file of the run; empty: no log
  bool CustomInstall = false;
  bool RegisterSoftware = false;
  bool RunProgram = false;
  bool DesktopLink = false;
  bool ProgramMenu = false;
  bool ShowReleaseNotes = false;
  int ShortcutMode = kShortcutsNone;
  bool IsAdministrator = false;
};

// One installable file of the package: its resource name without "FILE:".
struct PayloadEntry {
  std::string Name;
  bool Selected = true;
};
using PayloadList = std::vector<PayloadEntry>;

}  // namespace orvalis
