// Entry of the C interface's test program:
//   orvalis_capi_tests.exe [--module=PATH] [GoogleTest options]
// The module is OrvalisControls.dll beside the program unless named.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "capi_table.h"

int wmain(int argc, wchar_t** argv) {
  std::wstring path;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument.rfind(L"--module=", 0) == 0) path = argument.substr(9);
  }
  if (path.empty()) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    path = self;
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"OrvalisControls.dll";
  }
  std::string error;
  if (!orvalis::capi_test::LoadModule(path, error)) {
    std::fwprintf(stderr, L"orvalis_capi_tests: cannot load %ls: ", path.c_str());
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
