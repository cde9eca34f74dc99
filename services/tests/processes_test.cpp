// Process lookup and the program starter, with orvalis_test_helper.exe as the
// started program.
#include "services/processes.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <chrono>
#include <vector>

#include "services/tests/win_test_support.h"
#include "services/wait_window.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

const std::wstring kHelperName = L"orvalis_test_helper.exe";

std::string HelperPath() { return win::Narrow(test::BuildOutput(kHelperName)); }

std::vector<DWORD> HelperProcesses() {
  std::vector<DWORD> found;
  win::unique_file snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
    if (_wcsicmp(entry.szExeFile, kHelperName.c_str()) == 0) found.push_back(entry.th32ProcessID);
  return found;
}

// Ends every helper the test started, so the next test begins with none.
void EndHelpers() {
  for (DWORD id : HelperProcesses()) {
    win::unique_handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (process) {
      ::TerminateProcess(process.get(), 0);
      ::WaitForSingleObject(process.get(), 5000);
    }
  }
}

template <typename Condition>
bool WaitFor(Condition condition, int milliseconds = 5000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (condition()) return true;
    ::Sleep(50);
  }
  return condition();
}

// Starts the helper directly (not through the services under test).
DWORD StartHelper(const std::wstring& arguments) {
  std::wstring line = L"\"" + test::BuildOutput(kHelperName) + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "cannot start the helper";
    return 0;
  }
  ::WaitForInputIdle(info.hProcess, 5000);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return info.dwProcessId;
}

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

TEST_F(ProcessesTest, StartsInTheProgramsFolderAndReportsMissingPrograms) {
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
  EXPECT_TRUE(ShellOpen(HelperPath(), "sleep 1", folder));
  EXPECT_FALSE(ShellOpen(missing, "", ""));
}

TEST_F(ProcessesTest, ActivateStartsASecondCopyOnlyWhenTheRunningOneHasNoWindow) {
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

TEST_F(ProcessesTest, HiddenFlagStartsTheWindowHidden) {
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

TEST_F(ProcessesTest, WaitPumpsMessagesShowsTheWaitWindowAndDisablesTheOthers) {
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

TEST_F(ProcessesTest, QuitMessageEndsTheWaitAndIsKeptForTheApplication) {
  ::PostQuitMessage(3);
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(LaunchProgram(HelperPath(), "sleep 5000", kLaunchWait, ""));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace orvalis
