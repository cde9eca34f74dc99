// The uninstall entry, written value by value.
#include "services/uninstall.h"

#include "services/registry.h"
#include "services/uninstall_entry.h"

namespace orvalis {

bool RegisterUninstall(std::string_view uninstallCommand, std::string_view entryName, bool perUser,
                       std::string_view displayName, const UninstallDetails& details) {
  const HKEY root = perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const std::string key = UninstallKeyPath(entryName);
  bool ok = WriteRegString(root, key, "DisplayName", false, displayName);
  ok = WriteRegString(root, key, "UninstallString", false, uninstallCommand) && ok;
  ok = WriteRegString(root, key, "Publisher", false, kMakerName) && ok;
  ok = WriteRegString(root, key, "HelpLink", false, kMakerWebAddress) && ok;
  ok = WriteRegString(root, key, "URLInfoAbout", false, kMakerWebAddress) && ok;
  ok = WriteRegString(root, key, "DisplayVersion", false, details.displayVersion) && ok;
  ok = WriteRegString(root, key, "InstallLocation", false, details.installLocation) && ok;
  ok = WriteRegString(root, key, "DisplayIcon", false, details.displayIcon) && ok;
  // A DWORD holds the bits as they are; the size is unsigned.
  ok = WriteRegInteger(root, key, "EstimatedSize", false, static_cast<std::int32_t>(details.estimatedSizeKiB)) && ok;
  ok = WriteRegString(root, key, "InstallDate", false, details.installDate) && ok;
  ok = WriteRegInteger(root, key, "NoModify", false, 1) && ok;
  ok = WriteRegInteger(root, key, "NoRepair", false, 1) && ok;
  return ok;
}

}  // namespace orvalis
