// scope_exit runs its callable exactly once, or never once dismissed.
#include "win/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvalis::win {
namespace {

TEST(ScopeExit, RunsOnceAtTheEndOrWhenReset) {
  int runs = 0;
  { scope_exit guard([&] { ++runs; }); }
  EXPECT_EQ(runs, 1);

  {
    scope_exit guard([&] { ++runs; });
    guard.reset();
    EXPECT_EQ(runs, 2) << "reset runs it now";
  }
  EXPECT_EQ(runs, 2) << "and not again at the end";

  try {
    scope_exit guard([&] { ++runs; });
    throw std::runtime_error("unwinding");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(runs, 3) << "an exception runs it too";
}

TEST(ScopeExit, MovedOrReleasedGuardsDoNotRun) {
  int runs = 0;
  {
    scope_exit guard([&] { ++runs; });
    guard.release();
  }
  EXPECT_EQ(runs, 0);

  {
    scope_exit first([&] { ++runs; });
    {
      scope_exit second(std::move(first));
      EXPECT_EQ(runs, 0);
    }
    EXPECT_EQ(runs, 1) << "the guard moved to runs when it ends";
  }
  EXPECT_EQ(runs, 1) << "the moved-from guard does not run";
}

}  // namespace
}  // namespace orvalis::win
