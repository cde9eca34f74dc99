// Starting a helper program (the code-signing tool) and waiting for it. The
// arguments go over as a list, never through a shell; Linux and Windows each
// have their own implementation of this interface.
#pragma once

#include "tools/pack/result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::pack {

// The PATH of this process ("" when it has none).
[[nodiscard]] std::string ProgramSearchPath();

// The first executable file named `name` in the folders of `searchPath` (a
// PATH value: ":" between folders on Linux, ";" on Windows, where ".exe" is
// added to a name without it). Empty when there is none.
[[nodiscard]] std::filesystem::path FindProgram(std::string_view name, std::string_view searchPath);

struct ProgramRun {
  int exitCode = 0;
  std::string output;  // what it wrote to its standard output and error, together
};

// Runs `program` with `args` and waits for it to end. Fails only when the
// program cannot be started.
[[nodiscard]] Result<ProgramRun> RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args);

}  // namespace orvalis::pack
