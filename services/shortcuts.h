// Shortcuts (".lnk" files) made with the shell's link object.
#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// Writes one shortcut file at `linkPath` (overwriting one that exists):
// target `target`, its folder (with the final "\") as working folder,
// `arguments`, `description`, shown normally, the target's own icon. False
// when COM, the link object or the save fails.
[[nodiscard]] bool WriteShortcut(std::string_view linkPath, std::string_view target, std::string_view arguments,
                                 std::string_view description);

// The folder a shortcut goes to: the desktop, or the "Orvalis" group of the
// all-users programs menu (the user's own menu where the system has none).
// Empty when the system has no such folder.
[[nodiscard]] std::string ShortcutFolder(bool onDesktop);

// The install's shortcut to `target` named `name`, on the desktop or in the
// programs-menu group; the group folder is created when missing. False when
// there is no folder or the shortcut cannot be written.
bool CreateShortcut(std::string_view target, std::string_view arguments, std::string_view name,
                    bool onDesktop);

}  // namespace orvalis
