// The shell's folder browser.
#pragma once

#include <windows.h>

#include <string>

namespace orvalis::ui {

// Lets the user pick a file-system folder, starting at `initialFolder` with
// `title` above the tree; the status line follows the selection. Returns the
// chosen folder, `initialFolder` when the user cancels or the shell cannot
// show the dialog, and "" for a chosen item without a file-system path. A null
// `owner` means the active window.
[[nodiscard]] std::string BrowseForFolder(HWND owner, const std::string& initialFolder, const std::string& title);

}  // namespace orvalis::ui
