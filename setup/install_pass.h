// One install pass after the folder check (progress window, read-only marks,
// the wait until files are free, deletes, payload files) and the registration
// that follows a successful pass.
#pragma once

#include "setup/setup_run.h"

namespace orvalis {

enum class PassOutcome {
  kFinished,   // run.Ok tells whether the pass succeeded
  kElevating,  // the user accepted the elevation offer: the run ends
};

// Attempts of the writability wait, and the pause after a failed one.
inline constexpr int kWritableAttempts = 20;
inline constexpr int kWritableRetryMs = 500;

// Installs the selected payload into run.State.InstallPath (which exists and
// ends with "\"). Clears run.Ok on failure.
PassOutcome InstallPass(SetupRun& run);

// Stored settings, software-list entry, file types, the package's registry
// values, release-notes flag and language, after a successful pass.
void RegisterInstallation(SetupRun& run);

}  // namespace orvalis
