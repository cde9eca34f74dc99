// The options dialog of a custom installation: which optional files to
// install, and the software-list, run and shortcut choices. Every choice is
// stored per user and is the default of the next run.
#pragma once

#include "setup/setup_host.h"
#include "setup/setup_run.h"

#include <string_view>

namespace orvalis {

enum class PayloadClass {
  kAssist,    // ".QXA": one entry stands for all of them
  kRequired,  // ".DLL", ".EXE", ".CHM", ".PID", ".DAT": always installed, not listed
  kOptional,  // everything else
};

// The class of a payload name; substring tests on the upper-cased name.
[[nodiscard]] PayloadClass ClassifyPayload(std::string_view payloadName);
[[nodiscard]] bool IsAssistFile(std::string_view payloadName);

// The caption of an optional file: the kind (definition, import or export
// template) and ": " before the name, or the name alone.
[[nodiscard]] std::string OptionalFileCaption(std::string_view payloadName, int languageIndex);

// Builds the dialog from the payload list and the stored settings (which also
// sets the run's flags to their stored defaults), shows it, and on OK stores
// and applies the choices. On Cancel the run fails and OptionsCancelled is set.
// Returns true when confirmed.
bool ShowOptionsDialog(SetupRun& run);

}  // namespace orvalis
