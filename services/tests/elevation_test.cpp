// The elevation offer's box and the restart with unchanged arguments.
#include "services/elevation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "services/command_line.h"
#include "services/processes.h"
#include "services/tests/win_test_support.h"
#include "win/wide.h"

namespace orvalis {
namespace {

struct SeenBox {
  std::string caption;
  std::string text;
};

// Waits on another thread for this process's message box, notes what it
// shows and presses `button`.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button) : thread_([this, button] { Run(button); }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  SeenBox seen;
  std::atomic<bool> answered{false};

 private:
  void Run(int button) {
    for (int i = 0; i < 200 && !stop_; ++i) {
      HWND box = nullptr;
      while ((box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(box, &owner);
        if (owner == ::GetCurrentProcessId() && ::IsWindowVisible(box)) break;
      }
      if (box != nullptr) {
        wchar_t text[512] = {};
        ::GetWindowTextW(box, text, 512);
        seen.caption = win::Narrow(text);
        ::GetDlgItemTextW(box, 0xFFFF, text, 512);
        seen.text = win::Narrow(text);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        answered = true;
        return;
      }
      ::Sleep(50);
    }
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST(Elevation, AskShowsAWarningBoxAndReportsTheAnswer) {
  struct Case { int button; bool result; };
  for (const Case c : {Case{IDYES, true}, Case{IDNO, false}}) {
    BoxAnswerer answerer(c.button);
    EXPECT_EQ(AskElevation("Dë map kan niet gemaakt worden."), c.result);
    ASSERT_TRUE(answerer.answered);
    EXPECT_EQ(answerer.seen.caption, "Warning");
    EXPECT_EQ(answerer.seen.text, "Dë map kan niet gemaakt worden.");
  }
}

TEST(Elevation, DeclinedOfferShowsMessageAndQuestionAndStartsNothing) {
  BoxAnswerer answerer(IDNO);
  EXPECT_FALSE(OfferElevation("Not all files could be installed",
                              "\n\nDo you wish to run the setup as administrator?"));
  ASSERT_TRUE(answerer.answered);
  EXPECT_EQ(answerer.seen.text, "Not all files could be installed\n\nDo you wish to run the setup as administrator?");
}

TEST(Elevation, RestartPassesTheArgumentsOnUnchanged) {
  test::TempFolder temp;
  std::wstring record = temp.path() + L"record.txt";
  ::SetEnvironmentVariableW(L"ORVALIS_HELPER_RECORD", record.c_str());
  const std::string arguments = "sleep 1 /P:\"C:\\My Folder\"  /L:ENG \"/D:Tëst Map\\\"";
  std::string helper = win::Narrow(test::BuildOutput(L"orvalis_test_helper.exe"));
  bool started = StartElevated(helper, arguments);
  ::SetEnvironmentVariableW(L"ORVALIS_HELPER_RECORD", nullptr);
  ASSERT_TRUE(started);
  for (int i = 0; i < 100 && ::GetFileAttributesW(record.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(50);
  ::Sleep(200);
  std::string recorded = test::ReadFileBytes(record);
  std::string commandLine = recorded.substr(0, recorded.find('\n'));
  EXPECT_EQ(ArgumentsOf(commandLine), arguments) << commandLine;
  EXPECT_FALSE(StartElevated(win::Narrow(temp.path()) + "missing.exe", ""));
}

TEST(Elevation, StartedCopyIsWaitedForAndGivesItsExitCode) {
  std::string helper = win::Narrow(test::BuildOutput(L"orvalis_test_helper.exe"));
  for (int code : {0, 1602, 1603}) {
    win::unique_handle process = StartElevatedProcess(helper, "exit " + std::to_string(code));
    ASSERT_TRUE(process) << code;
    EXPECT_EQ(WaitForProcessPumping(process.get()), DWORD(code));
  }
  test::TempFolder temp;
  ::SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(StartElevatedProcess(win::Narrow(temp.path()) + "missing.exe", ""));
  EXPECT_NE(::GetLastError(), DWORD(ERROR_SUCCESS));
}

}  // namespace
}  // namespace orvalis
