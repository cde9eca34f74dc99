// The demo product's program. It records how it was started (command line and
// working folder) in %TEMP%\OrvalisDemo-launch.txt, so a test can check what the
// setup started, and then ends.
#include <windows.h>

#include <string>

#include "win/unique_any.h"
#include "win/wide.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  wchar_t temp[MAX_PATH + 1] = {};
  if (::GetTempPathW(MAX_PATH + 1, temp) == 0) return 0;
  wchar_t folder[32768] = {};
  ::GetCurrentDirectoryW(32768, folder);
  std::string record = "args=" + orvalis::win::Narrow(commandLine) + "\r\nfolder=" +
                       orvalis::win::Narrow(folder) + "\r\n";
  std::wstring path = std::wstring(temp) + L"OrvalisDemo-launch.txt";
  orvalis::win::unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  DWORD written = 0;
  (void)::WriteFile(file.get(), record.data(), DWORD(record.size()), &written, nullptr);
  return 0;
}
