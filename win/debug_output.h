// Lines for the debugger's output, for failures that have nobody to report to:
// an exception stopped at a window procedure or a system callback.
#pragma once

#include <string>
#include <string_view>

namespace orvalis::win {

// The text of the exception being handled: what() of a std::exception, taken
// as UTF-8, otherwise "unknown exception". Call it inside a catch block.
[[nodiscard]] std::string CaughtExceptionText();

// Sends "`context`: <the caught exception's text>" to OutputDebugStringW. Call
// it inside a catch block; it never throws.
void LogCaughtException(std::string_view context) noexcept;

}  // namespace orvalis::win
