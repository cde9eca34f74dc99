// The arguments part of a Windows command line, for starting the program again
// with exactly the arguments it was given.
#pragma once

#include <string_view>

namespace orvalis {

// The text after the program name of `commandLine` (as GetCommandLine returns
// it), with the blanks that separate it from the name removed and nothing else
// changed: quotes, doubled blanks and backslashes reach the new process as the
// old one received them. The program name ends at the closing quote when it
// starts with one, else at the first blank or tab.
[[nodiscard]] std::string_view ArgumentsOf(std::string_view commandLine);

}  // namespace orvalis
