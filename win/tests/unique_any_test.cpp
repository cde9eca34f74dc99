// unique_any with a policy that counts its closes: every handle is closed once,
// by whoever owns it last.
#include "win/unique_any.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalis::win {
namespace {

std::vector<int> closed;

struct CountingPolicy {
  static int Invalid() noexcept { return -1; }
  static void Close(int h) noexcept { closed.push_back(h); }
};
using unique_counted = unique_any<CountingPolicy>;

class UniqueAny : public testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueAny, MovesHandOverOwnershipAndCloseOnce) {
  {
    unique_counted a(1);
    unique_counted b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 1);
    unique_counted c(2);
    c = std::move(b);  // closes what c held
    EXPECT_EQ(closed, std::vector<int>{2});
    EXPECT_EQ(c.get(), 1);
    auto& self = c;
    c = std::move(self);
    EXPECT_EQ(c.get(), 1) << "moving onto itself keeps the handle";
    EXPECT_EQ(closed, std::vector<int>{2});
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1}));
}

TEST_F(UniqueAny, ResetReleaseAndPut) {
  unique_counted h(1);
  h.reset(2);
  EXPECT_EQ(closed, std::vector<int>{1});
  h.reset(2);
  EXPECT_EQ(closed, std::vector<int>{1}) << "resetting to the held handle does not close it";
  EXPECT_EQ(h.release(), 2);
  EXPECT_FALSE(h);
  h.reset();
  EXPECT_EQ(closed, std::vector<int>{1}) << "a released handle is the caller's";

  h.reset(3);
  int* slot = h.put();
  EXPECT_EQ(closed, (std::vector<int>{1, 3})) << "put closes what was held";
  EXPECT_EQ(*slot, -1);
  *slot = 4;  // as an out-parameter fills it
  EXPECT_EQ(h.get(), 4);
  h.reset();
  EXPECT_EQ(closed, (std::vector<int>{1, 3, 4}));
  h.reset();
  EXPECT_EQ(closed.size(), 3u) << "an empty owner closes nothing";
}

}  // namespace
}  // namespace orvalis::win
