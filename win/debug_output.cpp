// Caught exceptions written to the debugger's output.
#include "win/debug_output.h"

#include <windows.h>

#include <exception>

#include "win/wide.h"

namespace orvalis::win {

std::string CaughtExceptionText() {
  if (!std::current_exception()) return "no exception";
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown exception";
  }
}

void LogCaughtException(std::string_view context) noexcept {
  try {
    std::string line(context);
    line += ": ";
    line += CaughtExceptionText();
    line += '\n';
    ::OutputDebugStringW(Wide(line).c_str());
  } catch (...) {
    ::OutputDebugStringW(L"orvalis: an exception was caught and its text was lost\n");
  }
}

}  // namespace orvalis::win
