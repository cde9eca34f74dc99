// The program starter: starts a program or a document through the shell, or
// brings a running copy forward, and can wait for it behind a wait window
// while the application's other windows are disabled.
#pragma once

#include <string_view>

namespace orvalis::ui {

// Flags of LaunchProgram.
inline constexpr unsigned kLaunchWait = 1;         // wait window; return when the process has ended
inline constexpr unsigned kLaunchActivate = 2;     // bring a running copy's window to the front instead
inline constexpr unsigned kLaunchHidden = 4;       // start with the window hidden
inline constexpr unsigned kLaunchKeepEnabled = 8;  // while waiting, leave the other windows enabled

// Starts `file` (a program or a document the shell can open) with the shell's
// default action and `parameters`, in the folder of `file`. With
// kLaunchActivate a running copy with a visible window is brought to the top
// instead; with kLaunchWait a wait window titled "Orvalis Setup" says "Wait until
// " + waitCaption (or `file`) + " ends" and messages are pumped until the
// process ends or a quit message arrives. True when the program was started or
// a running copy was brought to the front. The shell shows no error boxes.
[[nodiscard]] bool LaunchProgram(std::string_view file, std::string_view parameters, unsigned flags,
                                 std::string_view waitCaption);
// LaunchProgram with no parameters and no wait caption.
[[nodiscard]] bool StartProgram(std::string_view file, unsigned flags);

}  // namespace orvalis::ui
