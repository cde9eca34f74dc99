// The run-or-install choice of a package that can run without installing, and
// the completion that ends every run: shortcuts, program start, release notes
// and the message of a failed unattended run.
#pragma once

#include "setup/setup_run.h"

namespace orvalis {

inline constexpr int kReleaseNotesPauseMs = 3000;

// Asks whether to run the program directly or install it. Execute turns the
// run into an unattended install into the temporary folder's product folder,
// without software-list entry, followed by the program start. Cancel fails
// the run.
void ChooseRunOrInstall(SetupRun& run);

// Ends the run after registration, the mutex release and the main window.
void CompleteRun(SetupRun& run);

}  // namespace orvalis
