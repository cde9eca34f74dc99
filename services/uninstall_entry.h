// What the software-list (uninstall) entry of an installation holds: its key,
// its command and whether it belongs to the user or the machine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

inline constexpr std::string_view kMakerName = "Orvalis";
inline constexpr std::string_view kMakerWebAddress = "https://www.orvalis.nl/";

// What the entry tells about the installation besides its name and command;
// deployment tools read these to detect an installed version.
struct UninstallDetails {
  std::string displayVersion;   // as the main dialog shows it
  std::string installLocation;  // the install folder
  std::string displayIcon;      // the installed program
  std::uint32_t estimatedSizeKiB = 0;
  std::string installDate;      // yyyymmdd
};

// Bytes as whole KiB, rounded up, at most what a DWORD holds.
[[nodiscard]] std::uint32_t EstimatedSizeKiB(std::uint64_t bytes);

// "yyyymmdd", the form the software list reads InstallDate in.
[[nodiscard]] std::string InstallDateText(int year, int month, int day);

// "\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" + entryName; a "\"
// in the entry name makes a nested key.
[[nodiscard]] std::string UninstallKeyPath(std::string_view entryName);

// The command that removes the product: the installed program, quoted when its
// path has a blank (the software list splits an unquoted command at the first
// blank), then " /UnInstall".
[[nodiscard]] std::string UninstallCommand(std::string_view installFolder, std::string_view programFile);

// The entry is the user's when the setup is no administrator, or when the
// install folder lies inside the user's local application data (compared
// without case); otherwise the machine's.
[[nodiscard]] bool UninstallEntryPerUser(bool isAdministrator, std::string_view localAppData,
                                         std::string_view installFolder);

}  // namespace orvalis
