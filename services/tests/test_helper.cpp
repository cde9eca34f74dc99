// A small program the process tests start and look for.
//   orvalis_test_helper.exe sleep MS          runs MS milliseconds without a window
//   orvalis_test_helper.exe window TITLE MS   shows a window TITLE (as asked by the starter) for MS milliseconds
//   orvalis_test_helper.exe exit CODE         ends at once with exit code CODE
// With ORVALIS_HELPER_RECORD set it first writes its command line and its
// current folder, one per line in UTF-8, to that file.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "win/unique_any.h"
#include "win/wide.h"

namespace {

void Record() {
  wchar_t path[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"ORVALIS_HELPER_RECORD", path, MAX_PATH) == 0) return;
  wchar_t folder[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  std::string text = orvalis::win::Narrow(::GetCommandLineW()) + "\n" + orvalis::win::Narrow(folder) + "\n";
  orvalis::win::unique_file file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (file) ::WriteFile(file.get(), text.data(), DWORD(text.size()), &written, nullptr);
}

int ShowWindowFor(const wchar_t* title, UINT milliseconds, int show) {
  orvalis::win::unique_window window(::CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  if (!window) return 1;
  ::ShowWindow(window.get(), show);
  ::SetTimer(nullptr, 0, milliseconds, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    ::DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  Record();
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (args == nullptr) return 2;
  std::wstring mode = count > 1 ? args[1] : L"";
  int result = 0;
  if (mode == L"sleep" && count > 2) {
    ::Sleep(UINT(_wtoi(args[2])));
  } else if (mode == L"window" && count > 3) {
    result = ShowWindowFor(args[2], UINT(_wtoi(args[3])), show);
  } else if (mode == L"exit" && count > 2) {
    result = _wtoi(args[2]);
  }
  ::LocalFree(args);
  return result;
}
