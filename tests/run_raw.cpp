// Test launcher: starts a program with an exact command-line text, which a
// shell cannot hand through Wine's argument quoting unchanged.
//   run-raw.exe [--no-wait] "C:\path\Setup.exe /P:\"C:\My Folder\" /U"
// Prints the new process id; with waiting (the default) then prints "exit=CODE"
// and exits with the same code. The printed line carries the whole code: a
// shell sees only its low 8 bits (1603 would read as 67).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  bool wait = true;
  int first = 1;
  if (argc > 1 && std::wcscmp(argv[1], L"--no-wait") == 0) {
    wait = false;
    first = 2;
  }
  if (argc != first + 1) {
    std::fprintf(stderr, "usage: run-raw.exe [--no-wait] COMMANDLINE\n");
    return 2;
  }
  std::wstring commandLine = argv[first];
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    std::fprintf(stderr, "run-raw: cannot start (error %lu)\n", ::GetLastError());
    return 2;
  }
  std::printf("%lu\n", process.dwProcessId);
  std::fflush(stdout);
  DWORD code = 0;
  if (wait) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit=%lu\n", code);
    std::fflush(stdout);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
