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

}  // namespace

std::string OwnArguments() { return std::string(ArgumentsOf(win::Narrow(::GetCommandLineW()))); }

bool AskElevation(std::string_view text) {
  return ::MessageBoxW(::GetActiveWindow(), win::Wide(text).c_str(), L"Warning", MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool StartElevated(std::string_view program, std::string_view arguments) {
  std::wstring file = win::Wide(program);
  std::wstring parameters = win::Wide(arguments);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"runas";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExW(&info) != FALSE;
}

bool RestartElevated(std::string_view arguments) {
  std::wstring self = OwnExecutable();
  return !self.empty() && StartElevated(win::Narrow(self), arguments);
}

bool OfferElevation(std::string_view message, std::string_view question) {
  std::string text(message);
  text += question;
  if (!AskElevation(text)) return false;
  static_cast<void>(RestartElevated(OwnArguments()));
  return true;
}

}  // namespace orvalis
