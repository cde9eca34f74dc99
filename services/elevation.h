// Starting the setup again with administrator rights after an operation
// failed for the lack of them.
#pragma once

#include <string>
#include <string_view>

#include "win/unique_any.h"

namespace orvalis {

// The arguments this process was started with, as the text of its command
// line after the program name, unchanged.
[[nodiscard]] std::string OwnArguments();

// The elevation offer's warning box: caption "Warning", warning icon, Yes and
// No, owned by the active window. True for Yes.
[[nodiscard]] bool AskElevation(std::string_view text);

// Starts `program` through the shell's "runas" verb with `arguments` as they
// are, in a normal window and without a working folder. True when the shell
// accepted the start (the user may still refuse the system's prompt).
[[nodiscard]] bool StartElevated(std::string_view program, std::string_view arguments);
// StartElevated for this process's own executable.
[[nodiscard]] bool RestartElevated(std::string_view arguments);

// StartElevated that keeps the started process, so the caller can wait for it
// and read its exit code. Empty when the start failed; GetLastError tells why
// (ERROR_CANCELLED: the user refused the system's prompt).
[[nodiscard]] win::unique_handle StartElevatedProcess(std::string_view program, std::string_view arguments);
// StartElevatedProcess for this process's own executable.
[[nodiscard]] win::unique_handle RestartElevatedProcess(std::string_view arguments);

// Shows `message` followed by `question` (the run's language asks whether to
// start the setup as administrator); on Yes starts the own executable elevated
// with the own arguments. True for Yes, whatever became of the start: the
// caller then ends its run.
[[nodiscard]] bool OfferElevation(std::string_view message, std::string_view question);

}  // namespace orvalis
