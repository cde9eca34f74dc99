// Command-line switches: /C /D: /E: /H /I /L /M: /O: /P: /Q /R /S /U. The same
// switches come from the command line and from the descriptor's PARAMS value.
#pragma once

#include "setup/setup_state.h"

#include <string_view>

namespace orvalis {

// Applies every switch of `text` (read as services/switch_tokens.h reads them)
// to `state`. Flags are only ever switched on; /Q (quiet) also switches on /U.
// A later value replaces an earlier one; /D: is ignored; /M: is upper-cased.
void ParseSwitches(std::string_view text, SetupState& state);

}  // namespace orvalis
