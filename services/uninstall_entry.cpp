// Key, command and owner of the uninstall entry.
#include "services/uninstall_entry.h"

#include "core/text.h"
#include "services/paths.h"

#include <cstdint>
#include <cstdlib>

namespace orvalis {

std::uint32_t EstimatedSizeKiB(std::uint64_t bytes) {
  const std::uint64_t kib = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  return kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(kib);
}

std::string InstallDateText(int year, int month, int day) {
  const auto part = [](int value, int modulus, int width) { return PaddedNumber(std::uint64_t(std::abs(value % modulus)), width); };
  return part(year, 10000, 4) + part(month, 100, 2) + part(day, 100, 2);
}

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
