// The program starter, with orvalis_test_helper.exe as the started program:
// its folder, activation of a running copy, hidden windows, and the wait with
// its window, the other windows disabled and a quit message kept.
#include "ui/program_starter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "services/processes.h"
#include "services/tests/win_test_support.h"
#include "ui/wait_window.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

using test::EndHelpers;
using test::HelperPath;
using test::HelperProcesses;
using test::StartHelper;
using test::WaitFor;

class ProgramStarterTest : public ::testing::Test {
 protected:
  void SetUp() override { EndHelpers(); }
  void TearDown() override {
    EndHelpers();
    ::SetEnvironmentVariableW(L"ORVALIS_HELPER_RECORD", nullptr);
  }
};

TEST_F(ProgramStarterTest, StartsInTheProgramsFolderAndReportsMissingPrograms) {
  test::TempFolder temp;
  std::wstring record = temp.path() + L"record.txt";
  ::SetEnvironmentVariableW(L"ORVALIS_HELPER_RECORD", record.c_str());
  ASSERT_TRUE(LaunchProgram(HelperPath(), "sleep 1", 0, ""));
  ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesW(record.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  ::Sleep(200);
  std::string recorded = test::ReadFileBytes(record);
  std::string folder = HelperPath().substr(0, HelperPath().rfind('\\'));
  EXPECT_NE(recorded.find("sleep 1\n" + folder + "\n"), std::string::npos) << recorded;

  std::string missing = win::Narrow(temp.path()) + "no such program.exe";
  EXPECT_FALSE(LaunchProgram(missing, "", 0, ""));
  EXPECT_FALSE(StartProgram(missing, kLaunchActivate));
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(LaunchProgram(missing, "", kLaunchWait, ""));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(::FindWindowW(kWaitWindowClass, nullptr), nullptr) << "the wait window is gone again";
}

TEST_F(ProgramStarterTest, ActivateStartsASecondCopyOnlyWhenTheRunningOneHasNoWindow) {
  DWORD quiet = StartHelper(L"sleep 10000");
  ASSERT_NE(quiet, 0u);
  EXPECT_TRUE(LaunchProgram(HelperPath(), "window Second 10000", kLaunchActivate, ""));
  EXPECT_TRUE(WaitFor([] { return HelperProcesses().size() == 2; })) << "the windowless copy does not count";
  EndHelpers();

  DWORD shown = StartHelper(L"window First 10000");
  ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(shown) != nullptr; }));
  EXPECT_TRUE(LaunchProgram(HelperPath(), "window Third 10000", kLaunchActivate, ""));
  ::Sleep(500);
  EXPECT_EQ(HelperProcesses().size(), 1u) << "the running copy was brought forward instead";
}

TEST_F(ProgramStarterTest, HiddenFlagStartsTheWindowHidden) {
  ASSERT_TRUE(LaunchProgram(HelperPath(), "window Hidden 10000", kLaunchHidden, ""));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = ::FindWindowW(L"Static", L"Hidden")) != nullptr; }));
  EXPECT_FALSE(::IsWindowVisible(window));
}

// What a timer saw while LaunchProgram waited.
struct DuringWait {
  HWND other = nullptr;
  bool seen = false;
  bool otherEnabled = false;
  std::string title;
  std::string text;
};
DuringWait* g_during = nullptr;

void CALLBACK LookDuringWait(HWND, UINT, UINT_PTR, DWORD) {
  if (g_during == nullptr || g_during->seen) return;
  HWND wait = ::FindWindowW(kWaitWindowClass, nullptr);
  if (wait == nullptr) return;
  g_during->seen = true;
  g_during->otherEnabled = ::IsWindowEnabled(g_during->other);
  wchar_t text[256] = {};
  ::GetWindowTextW(wait, text, 256);
  g_during->title = win::Narrow(text);
  ::GetWindowTextW(::GetWindow(wait, GW_CHILD), text, 256);
  g_during->text = win::Narrow(text);
}

TEST_F(ProgramStarterTest, WaitPumpsMessagesShowsTheWaitWindowAndDisablesTheOthers) {
  struct Case { unsigned flags; const char* caption; bool enabledDuring; const char* text; };
  const Case cases[] = {
      {kLaunchWait, "Hëlper", false, "Wait until Hëlper ends"},
      {kLaunchWait | kLaunchKeepEnabled, "", true, nullptr},
  };
  for (const auto& c : cases) {
    win::unique_window owned(::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                               100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(owned);
    HWND other = owned.get();
    DuringWait during;
    during.other = other;
    g_during = &during;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, LookDuringWait);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(LaunchProgram(HelperPath(), "sleep 1500", c.flags, c.caption));
    auto waited = std::chrono::steady_clock::now() - start;
    ::KillTimer(nullptr, timer);
    g_during = nullptr;

    EXPECT_GE(waited, std::chrono::milliseconds(1400)) << c.flags;
    EXPECT_TRUE(HelperProcesses().empty()) << "returns when the program has ended";
    ASSERT_TRUE(during.seen) << c.flags;
    EXPECT_EQ(during.title, "Orvalis Setup");
    std::string text = c.text ? c.text : "Wait until " + HelperPath() + " ends";
    EXPECT_EQ(during.text, text);
    EXPECT_EQ(during.otherEnabled, c.enabledDuring) << c.flags;
    EXPECT_TRUE(::IsWindowEnabled(other)) << "enabled again afterwards";
    EXPECT_EQ(::FindWindowW(kWaitWindowClass, nullptr), nullptr);
  }
}

TEST_F(ProgramStarterTest, QuitMessageEndsTheWaitAndIsKeptForTheApplication) {
  ::PostQuitMessage(3);
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(LaunchProgram(HelperPath(), "sleep 5000", kLaunchWait, ""));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace orvalis::ui
