// The whole setup run, from the command line to the start of the installed
// program: switches, descriptor, language, dialogs, install passes,
// registration and completion.
#pragma once

#include "setup/setup_host.h"
#include "setup/setup_run.h"
#include "setup/setup_state.h"

#include <string_view>

namespace orvalis {

// The text of the message shown when the install folder is empty at the
// folder check; the run ends at once after it.
inline constexpr std::string_view kEmptyFolderMessage = "Unable to create directory";

// Performs one run and gives its exit code (kExitSuccess, kExitCancelled,
// kExitFailed, kExitSetupRunning, or the code of an elevated copy that took
// over). `commandLineText` is the raw text after the program name; all
// effects go through `host`. `state` is the run's record and is reset for the
// run where the run says so.
int RunSetup(std::string_view commandLineText, SetupState& state, SetupHost& host);

}  // namespace orvalis
