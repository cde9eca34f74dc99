// Processes: the administrator check, finding running programs and their
// windows, and starting programs and documents through the shell. Failures are
// reported by the result only; the shell is told not to show error boxes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvalis {

// Flags of LaunchProgram.
inline constexpr unsigned kLaunchWait = 1;           // wait window; return when the process has ended
inline constexpr unsigned kLaunchActivate = 2;       // bring a running copy's window to the front instead
inline constexpr unsigned kLaunchHidden = 4;         // start with the window hidden
inline constexpr unsigned kLaunchKeepEnabled = 8;    // while waiting, leave the other windows enabled

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

// Starts `file` (a program or a document the shell can open) with the shell's
// default action and `parameters`, in the folder of `file`. With
// kLaunchActivate a running copy with a visible window is brought to the top
// instead; with kLaunchWait a wait window titled "Orvalis Setup" says "Wait until
// " + waitCaption (or `file`) + " ends" and messages are pumped until the
// process ends or a quit message arrives. True when the program was started or
// a running copy was brought to the front.
[[nodiscard]] bool LaunchProgram(std::string_view file, std::string_view parameters, unsigned flags,
                                 std::string_view waitCaption);
// LaunchProgram with no parameters and no wait caption.
[[nodiscard]] bool StartProgram(std::string_view file, unsigned flags);

// Handles this thread's window messages until `process` has ended, and gives
// its exit code. A quit message ends the wait early and is posted again; the
// code is then STILL_ACTIVE.
[[nodiscard]] DWORD WaitForProcessPumping(HANDLE process);

// The shell's "open" operation in a normal window. `folder` may be empty (no
// working folder). True when the shell accepted it.
[[nodiscard]] bool ShellOpen(std::string_view file, std::string_view parameters, std::string_view folder);

}  // namespace orvalis
