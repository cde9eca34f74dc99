// The elevated restart through the shell's "runas" verb.
#include "services/elevation.h"

#include <windows.h>
#include <shellapi.h>

#include "services/command_line.h"
#include "win/wide.h"

namespace orvalis {
namespace {

std::wstring OwnExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

// The "runas" start; with `process` the started process's handle is kept.
bool ShellRunas(std::string_view program, std::string_view arguments, win::unique_handle* process) {
  std::wstring file = win::Wide(program);
  std::wstring parameters = win::Wide(arguments);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | (process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpVerb = L"runas";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&info)) return false;
  if (process) process->reset(info.hProcess);
  return true;
}

}  // namespace

std::string OwnArguments() { return std::string(ArgumentsOf(win::Narrow(::GetCommandLineW()))); }

bool AskElevation(std::string_view text) {
  return ::MessageBoxW(::GetActiveWindow(), win::Wide(text).c_str(), L"Warning", MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool StartElevated(std::string_view program, std::string_view arguments) {
  return ShellRunas(program, arguments, nullptr);
}

bool RestartElevated(std::string_view arguments) {
  std::wstring self = OwnExecutable();
  return !self.empty() && StartElevated(win::Narrow(self), arguments);
}

win::unique_handle StartElevatedProcess(std::string_view program, std::string_view arguments) {
  win::unique_handle process;
  if (!ShellRunas(program, arguments, &process)) return {};
  // A program always comes with its process; without one there is nothing to wait for.
  if (!process) ::SetLastError(ERROR_INVALID_HANDLE);
  return process;
}

win::unique_handle RestartElevatedProcess(std::string_view arguments) {
  std::wstring self = OwnExecutable();
  if (self.empty()) return {};
  return StartElevatedProcess(win::Narrow(self), arguments);
}

bool OfferElevation(std::string_view message, std::string_view question) {
  std::string text(message);
  text += question;
  if (!AskElevation(text)) return false;
  static_cast<void>(RestartElevated(OwnArguments()));
  return true;
}

}  // namespace orvalis
