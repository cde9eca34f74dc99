// The main dialog's content and its folder menu, independent of the window
// that shows them.
#pragma once

#include "setup/setup_host.h"
#include "setup/setup_run.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// "Versie: 3.24.4.0 (7)  Aanmaakdatum: 10-05-2019 10:59", leaving out what is
// unknown; trimmed.
[[nodiscard]] std::string VersionLine(const SetupState& state);

// Fills the model from the run's record and its language.
[[nodiscard]] MainDialogModel BuildMainDialog(SetupRun& run);

// Shows the main dialog; on Install copies the check box and the folder text
// into the run's record.
MainDialogResult ShowMainDialog(SetupRun& run);

// The folder menu for the current folder text: program folder (tag 1), local
// user folder (2), a separator (0), select (3). A candidate that is unknown is
// disabled, one equal to the text (ignoring case) is checked.
[[nodiscard]] std::vector<FolderMenuItem> BuildFolderMenu(const MainDialogModel& model, std::string_view pathText);

// The folder text after the menu returned `tag`. Tag 3 browses, starting at
// the current text, and passes the result (the start folder when cancelled)
// through the product sub-folder rule; any other tag leaves the text alone.
using BrowseFunction = std::function<std::string(const std::string& initialFolder, const std::string& title)>;
[[nodiscard]] std::string ApplyFolderMenuChoice(const MainDialogModel& model, int tag, const std::string& pathText,
                                                const BrowseFunction& browse);

inline constexpr int kMenuStateDisabled = 1;
inline constexpr int kMenuStateChecked = 2;

}  // namespace orvalis
