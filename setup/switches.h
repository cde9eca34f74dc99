// Command-line switches: /C /D: /E: /H /I /L /M: /O: /P: /Q /R /S /U. The same
// switches come from the command line and from the descriptor's PARAMS value.
#pragma once

#include "setup/setup_state.h"

#include <string_view>

namespace orvalis {

// Applies every switch of `text` to `state`. Flags are only ever switched on;
// /Q (quiet) also switches on /U. /E:, /O: (log file) and /P: take a value in
// double quotes when it holds blanks; /D: takes a
// value and ignores it; /M: is upper-cased. Unknown letters and text that is
// not a switch are skipped up to the next blank.
void ParseSwitches(std::string_view text, SetupState& state);

}  // namespace orvalis
