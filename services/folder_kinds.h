// The folder kinds of GetSystemPath and the fallbacks of the special-folder
// lookup, as rules over abstract sources so both can be tested without Windows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvalis {

// Folder kinds, the argument of GetSystemPath.
inline constexpr int kFolderKindWindows = 1;       // no final "\" (except a drive root)
inline constexpr int kFolderKindSystem = 2;        // no final "\"
inline constexpr int kFolderKindTemporary = 3;     // final "\" as the system returns it
inline constexpr int kFolderKindCurrent = 4;       // no final "\"
inline constexpr int kFolderKindExecutable = 5;    // final "\"
inline constexpr int kFolderKindProgramFiles = 6;  // no final "\"
inline constexpr int kFolderKindLocalAppData = 7;  // no final "\"

// Shell special folders (CSIDL numbers) the setup uses.
inline constexpr int kCsidlPrograms = 2;
inline constexpr int kCsidlDesktopDirectory = 16;
inline constexpr int kCsidlCommonPrograms = 23;
inline constexpr int kCsidlLocalAppData = 28;
inline constexpr int kCsidlProgramFiles = 38;

// Where the folder kinds come from. Every answer is empty when the system has none.
class FolderSources {
 public:
  virtual ~FolderSources() = default;
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string TemporaryFolder() = 0;
  virtual std::string CurrentFolder() = 0;
  virtual std::string ExecutablePath() = 0;
  // The special-folder lookup with its fallbacks (ResolveSpecialFolder).
  virtual std::string SpecialFolder(int csidl) = 0;
};

// The folder of `kind`; empty for an unknown kind or when its source has none.
[[nodiscard]] std::string SystemPathOf(int kind, FolderSources& sources);

// The shell's path of a special folder; empty when it has none.
using ShellFolderLookup = std::function<std::string(int csidl)>;
// The "ProgramFilesDir" text of the system's CurrentVersion key; empty when absent.
using ProgramFilesDirValue = std::function<std::string()>;

// The special-folder lookup: the shell's answer, else for the all-users program
// group the user's own, else for Program Files the registry value without its
// surrounding quotes, and finally "C:\Program Files".
[[nodiscard]] std::string ResolveSpecialFolder(int csidl, const ShellFolderLookup& shell,
                                               const ProgramFilesDirValue& programFilesDir);

// Removes one double quote at the start and then one at the end.
[[nodiscard]] std::string StripEnclosingQuotes(std::string_view text);

}  // namespace orvalis
