// Processes: the administrator check, finding running programs and their
// windows, waiting for a process while the thread's windows stay alive, and
// the shell's "open". Failures are reported by the result only; the shell is
// told not to show error boxes. The program starter, which shows a wait window,
// is ui/program_starter.h.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvalis {

// True when the thread's token is a member of the built-in Administrators
// group. Under user account control a filtered token tests false, so this
// means "running elevated". Any failure gives false.
[[nodiscard]] bool IsUserAdministrator();

// The first process other than this one whose executable name equals the
// file-name part of `file` (folders ignored, compared without case). With
// `needWindow` only a process with a visible top-level window counts. 0 when none.
[[nodiscard]] DWORD FindProcessByName(std::string_view file, bool needWindow);
// The first visible top-level window of the process, in the system's order; null when none.
[[nodiscard]] HWND FindProcessWindow(DWORD processId);

// Handles this thread's window messages until `process` has ended, and gives
// its exit code. A quit message ends the wait early and is posted again; the
// code is then STILL_ACTIVE.
[[nodiscard]] DWORD WaitForProcessPumping(HANDLE process);

// The shell's "open" operation in a normal window. `folder` may be empty (no
// working folder). True when the shell accepted it.
[[nodiscard]] bool ShellOpen(std::string_view file, std::string_view parameters, std::string_view folder);

}  // namespace orvalis
