// Process lookup and the shell's "open", with orvalis_test_helper.exe as the
// started program.
#include "services/processes.h"

#include <gtest/gtest.h>

#include "services/tests/win_test_support.h"
#include "win/wide.h"

namespace orvalis {
namespace {

using test::EndHelpers;
using test::HelperPath;
using test::StartHelper;
using test::WaitFor;

class ProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override { EndHelpers(); }
  void TearDown() override {
    EndHelpers();
    ::SetEnvironmentVariableW(L"ORVALIS_HELPER_RECORD", nullptr);
  }
};

TEST(Processes, WinesUserIsAnAdministrator) { EXPECT_TRUE(IsUserAdministrator()); }

TEST_F(ProcessesTest, FindsAProcessByFileNameAndItsVisibleWindow) {
  DWORD quiet = StartHelper(L"sleep 10000");
  ASSERT_NE(quiet, 0u);
  struct Case { const char* file; bool needWindow; DWORD expected; };
  const Case cases[] = {
      {"orvalis_test_helper.exe", false, quiet},
      {"C:\\Somewhere Else\\ORVALIS_TEST_HELPER.EXE", false, quiet},
      {"orvalis_test_helper", false, 0},
      {"orvalis_test_helper.exe", true, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FindProcessByName(c.file, c.needWindow), c.expected) << c.file;
  EXPECT_EQ(FindProcessWindow(quiet), nullptr);

  DWORD shown = StartHelper(L"window \"Hëlper Window\" 10000");
  ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(shown) != nullptr; }));
  HWND window = FindProcessWindow(shown);
  wchar_t title[64] = {};
  ::GetWindowTextW(window, title, 64);
  EXPECT_EQ(win::Narrow(title), "Hëlper Window");
  EXPECT_EQ(FindProcessByName(HelperPath(), true), shown);
  EXPECT_EQ(FindProcessByName("orvalis_tests.exe", false), 0u) << "the calling process does not count";
}

TEST_F(ProcessesTest, ShellOpenStartsAProgramAndReportsAMissingOne) {
  test::TempFolder temp;
  std::string folder = HelperPath().substr(0, HelperPath().rfind('\\'));
  EXPECT_TRUE(ShellOpen(HelperPath(), "sleep 1", folder));
  EXPECT_TRUE(WaitFor([] { return !test::HelperProcesses().empty(); }));
  EXPECT_FALSE(ShellOpen(win::Narrow(temp.path()) + "no such program.exe", "", ""));
}

}  // namespace
}  // namespace orvalis
