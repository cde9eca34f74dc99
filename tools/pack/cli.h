// The orvalis-pack command line, callable in-process so tests can drive it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvalis::pack {

// Runs the tool with `args` (UTF-8, without the program name). Returns the
// exit code: 0 done, 1 refused input or a damaged payload, 2 wrong usage.
int RunPackTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvalis::pack
