// Folder kinds and special-folder fallbacks.
#include "services/folder_kinds.h"

#include "services/paths.h"

namespace orvalis {

std::string SystemPathOf(int kind, FolderSources& sources) {
  switch (kind) {
    case kFolderKindWindows: return sources.WindowsFolder();
    case kFolderKindSystem: return sources.SystemFolder();
    case kFolderKindTemporary: return sources.TemporaryFolder();
    case kFolderKindCurrent: return sources.CurrentFolder();
    case kFolderKindExecutable: return std::string(FolderPart(sources.ExecutablePath()));
    case kFolderKindProgramFiles: return sources.SpecialFolder(kCsidlProgramFiles);
    case kFolderKindLocalAppData: return sources.SpecialFolder(kCsidlLocalAppData);
    default: return {};
  }
}

std::string StripEnclosingQuotes(std::string_view text) {
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return std::string(text);
}

std::string ResolveSpecialFolder(int csidl, const ShellFolderLookup& shell,
                                 const ProgramFilesDirValue& programFilesDir) {
  std::string path = shell(csidl);
  if (!path.empty()) return path;
  if (csidl == kCsidlCommonPrograms) return shell(kCsidlPrograms);
  if (csidl == kCsidlProgramFiles) {
    path = StripEnclosingQuotes(programFilesDir());
    if (path.empty()) path = "C:\\Program Files";
    return path;
  }
  return {};
}

}  // namespace orvalis
