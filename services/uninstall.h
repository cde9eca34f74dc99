// The product's entry in the Windows list of installed software.
#pragma once

#include <string_view>

#include "services/uninstall_entry.h"

namespace orvalis {

// Writes DisplayName, UninstallString, Publisher, HelpLink and URLInfoAbout
// (in that order, as text), then the details: DisplayVersion, InstallLocation,
// DisplayIcon, EstimatedSize (a DWORD), InstallDate, and NoModify and NoRepair
// as DWORD 1, under UninstallKeyPath(entryName) of the current user
// (`perUser`) or of the machine. Empty texts are written as empty texts;
// other values of the key stay. False when any value could not be written;
// the other values are written all the same.
bool RegisterUninstall(std::string_view uninstallCommand, std::string_view entryName, bool perUser,
                       std::string_view displayName, const UninstallDetails& details);

}  // namespace orvalis
