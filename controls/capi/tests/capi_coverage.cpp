// The count of the header's functions the tests called, for the module under
// test: a test of its own, registered after every other, that fails while a
// function of include/orvalis_controls.h has no test.
#include "capi_coverage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "capi_table.h"

namespace orvalis::capi_test {
namespace {

class Coverage : public ::testing::Test {
 public:
  void TestBody() override;
};

void Coverage::TestBody() {
  const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
  const ::testing::TestInfo* self = unit.current_test_info();
  for (int s = 0; s < unit.total_test_suite_count(); ++s) {
    const ::testing::TestSuite& suite = *unit.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const ::testing::TestInfo& test = *suite.GetTestInfo(t);
      if (&test == self) continue;
      if (!test.should_run()) GTEST_SKIP() << "the count needs every test of the program; " << suite.name() << "."
                                           << test.name() << " is left out";
      ASSERT_NE(test.result()->start_timestamp(), 0)
          << suite.name() << "." << test.name() << " runs after the count: the count must be the program's last test";
    }
  }
  const std::vector<Entry*> entries = api.Entries();
  const int declared = int(entries.size());
  if (const std::string refused = CallsRefused(); !refused.empty()) {
    const auto found = std::count_if(entries.begin(), entries.end(), [](Entry* e) { return e->address != nullptr; });
    std::printf("%s: %d of the header's %d functions exported and found by the loader, none called\n",
                ModuleName().c_str(), int(found), declared);
    GTEST_SKIP() << refused;
  }
  std::string missing;
  int called = 0;
  for (Entry* entry : entries) {
    if (entry->calls > 0) ++called;
    else missing += std::string(missing.empty() ? "" : ", ") + entry->name;
  }
  std::printf("%s: %d of the header's %d functions called\n", ModuleName().c_str(), called, declared);
  ::testing::Test::RecordProperty("functions_declared", declared);
  ::testing::Test::RecordProperty("functions_called", called);
  EXPECT_EQ(called, declared) << "functions of the header without a test: " << missing;
}

}  // namespace

void RegisterCoverage() {
  ::testing::RegisterTest("Coverage", "EveryFunctionOfTheHeaderIsCalled", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> ::testing::Test* { return new Coverage; });
}

}  // namespace orvalis::capi_test
