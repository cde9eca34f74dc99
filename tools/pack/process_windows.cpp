// Helper programs on Windows: CreateProcessW with a quoted command line and a
// pipe for the output.
#include "tools/pack/process.h"

#include "win/unique_any.h"
#include "win/wide.h"

#include <windows.h>

namespace orvalis::pack {

namespace {

// One argument as the C runtime's command-line parser reads it back: quoted
// when it is empty or holds a blank, tab or quote; backslashes are doubled only
// before a quote.
// https://learn.microsoft.com/cpp/c-language/parsing-c-command-line-arguments
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string LastErrorText() { return "error " + std::to_string(GetLastError()); }

}  // namespace

std::string ProgramSearchPath() {
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (size == 0) return "";
  std::wstring path(size, L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", path.data(), size));
  return win::Narrow(path);
}

std::filesystem::path FindProgram(std::string_view name, std::string_view searchPath) {
  if (name.empty()) return {};
  std::wstring file = win::Wide(name);
  if (file.size() < 4 || _wcsicmp(file.c_str() + file.size() - 4, L".exe") != 0) file += L".exe";
  while (true) {
    const std::size_t semicolon = searchPath.find(';');
    std::wstring folder = win::Wide(searchPath.substr(0, semicolon));
    if (!folder.empty() && folder.front() == L'"' && folder.back() == L'"' && folder.size() >= 2)
      folder = folder.substr(1, folder.size() - 2);
    if (!folder.empty()) {
      if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
      if (IsFile(folder + file)) return std::filesystem::path(folder + file);
    }
    if (semicolon == std::string_view::npos) return {};
    searchPath.remove_prefix(semicolon + 1);
  }
}

Result<ProgramRun> RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  win::unique_handle reader;
  win::unique_handle writer;
  if (!CreatePipe(reader.put(), writer.put(), &inherit, 0)) return Failure{"cannot make a pipe: " + LastErrorText()};
  SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

  std::wstring commandLine = QuoteArgument(program.wstring());
  for (const std::string& arg : args) commandLine += L" " + QuoteArgument(win::Wide(arg));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = writer.get();
  startup.hStdError = writer.get();
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info))
    return Failure{"cannot start \"" + win::Narrow(program.wstring()) + "\": " + LastErrorText()};
  win::unique_handle process(info.hProcess);
  win::unique_handle thread(info.hThread);
  writer.reset();  // the child holds the only write end now, so reading ends with it

  ProgramRun run;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  run.exitCode = static_cast<int>(code);
  return run;
}

}  // namespace orvalis::pack
