// Key, command and owner of the uninstall entry.
#include "services/uninstall_entry.h"

#include "core/text.h"
#include "services/paths.h"

namespace orvalis {

std::string UninstallKeyPath(std::string_view entryName) {
  std::string key = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  key += entryName;
  return key;
}

std::string UninstallCommand(std::string_view installFolder, std::string_view programFile) {
  std::string program(installFolder);
  program += programFile;
  return QuoteProgram(program) + " /UnInstall";
}

bool UninstallEntryPerUser(bool isAdministrator, std::string_view localAppData, std::string_view installFolder) {
  if (!isAdministrator) return true;
  return !localAppData.empty() && StartsWith(UpperCase(installFolder), UpperCase(localAppData));
}

}  // namespace orvalis
