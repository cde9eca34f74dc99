// The text of a caught exception and the line that reaches the debugger.
#include "win/debug_output.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "win/tests/debug_capture.h"

namespace orvalis::win {
namespace {

TEST(DebugOutput, CaughtExceptionsAreNamedByTheirText) {
  try {
    throw std::runtime_error("disk full");
  } catch (...) {
    EXPECT_EQ(CaughtExceptionText(), "disk full");
  }
  try {
    throw 42;
  } catch (...) {
    EXPECT_EQ(CaughtExceptionText(), "unknown exception");
  }
  EXPECT_EQ(CaughtExceptionText(), "no exception") << "outside a handler it must not terminate";
}

TEST(DebugOutput, TheLineNamesTheContextAndTheException) {
  DebugCapture capture;
  try {
    throw std::out_of_range("index 9");
  } catch (...) {
    LogCaughtException("copying files");
  }
  EXPECT_EQ(capture.Text(), "copying files: index 9\n");
}

}  // namespace
}  // namespace orvalis::win
