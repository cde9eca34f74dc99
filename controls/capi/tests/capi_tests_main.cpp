// Entry of the C interface's test program:
//   orvalis_capi_tests.exe [--module=PATH] [GoogleTest options]
// The module is OrvalisControls.dll beside the program unless named; a bare
// name (--module=OrvalisSetup.exe) is a module beside the program too.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "capi_coverage.h"
#include "capi_table.h"

namespace {

// A test that hangs (a modal loop nobody answers) ends the program with its
// name instead of stopping the whole test run.
class Watchdog : public testing::EmptyTestEventListener {
 public:
  static constexpr ULONGLONG kLimit = 60000;

  Watchdog() { ::CreateThread(nullptr, 0, Watch, this, 0, nullptr); }
  void OnTestStart(const testing::TestInfo& test) override {
    name_ = std::string(test.test_suite_name()) + "." + test.name();
    started_ = ::GetTickCount64();
  }
  void OnTestEnd(const testing::TestInfo&) override { started_ = 0; }

 private:
  static DWORD WINAPI Watch(void* self) {
    auto& dog = *static_cast<Watchdog*>(self);
    for (;;) {
      ::Sleep(1000);
      const ULONGLONG started = dog.started_;
      if (started != 0 && ::GetTickCount64() - started > kLimit) {
        std::fprintf(stderr, "orvalis_capi_tests: %s did not end within %llu s\n", dog.name_.c_str(), kLimit / 1000);
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
      }
    }
  }

  std::string name_;
  std::atomic<ULONGLONG> started_{0};
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring path;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument.rfind(L"--module=", 0) == 0) path = argument.substr(9);
  }
  // A bare name is a module beside the program.
  if (path.empty()) path = L"OrvalisControls.dll";
  if (path.find_first_of(L"\\/") == std::wstring::npos) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring program = self;
    path = program.substr(0, program.find_last_of(L"\\/") + 1) + path;
  }
  std::string error;
  if (!orvalis::capi_test::LoadModule(path, error)) {
    std::fwprintf(stderr, L"orvalis_capi_tests: cannot load %ls: ", path.c_str());
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  orvalis::capi_test::RegisterCoverage();
  testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  return RUN_ALL_TESTS();
}
