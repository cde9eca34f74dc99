// Administrator check, process lookup and the program starter.
#include "services/processes.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <memory>
#include <vector>

#include "core/text.h"
#include "services/paths.h"
#include "services/wait_window.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

constexpr char kApplicationTitle[] = "Orvalis Setup";

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if ((::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0) return TRUE;
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  search->found = window;
  return FALSE;
}

// The application's other top-level windows are disabled while it waits for
// a started program, and enabled again afterwards.
class DisabledWindows {
 public:
  explicit DisabledWindows(HWND except) : except_(except) {
    ::EnumThreadWindows(::GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;
  ~DisabledWindows() {
    for (HWND window : disabled_) ::EnableWindow(window, TRUE);
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM param) noexcept {
    auto* self = reinterpret_cast<DisabledWindows*>(param);
    if (window == self->except_ || !::IsWindowEnabled(window)) return TRUE;
    try {
      self->disabled_.push_back(window);
    } catch (...) {
      return FALSE;
    }
    ::EnableWindow(window, FALSE);
    return TRUE;
  }

  HWND except_;
  std::vector<HWND> disabled_;
};

// Pumps the thread's messages until `process` ends. A quit message ends the
// wait early and is posted again for the application's own loop. Sleeps in
// MsgWaitForMultipleObjects between messages instead of spinning.
void PumpUntilEnded(HANDLE process) {
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(int(message.wParam));
        return;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    DWORD code = 0;
    if (!::GetExitCodeProcess(process, &code) || code != STILL_ACTIVE) return;
    ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
  }
}

}  // namespace

DWORD WaitForProcessPumping(HANDLE process) {
  PumpUntilEnded(process);
  DWORD code = STILL_ACTIVE;
  if (!::GetExitCodeProcess(process, &code)) code = STILL_ACTIVE;
  return code;
}

bool IsUserAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  win::unique_sid administrators;
  if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, administrators.put()))
    return false;
  BOOL member = FALSE;
  return ::CheckTokenMembership(nullptr, administrators.get(), &member) && member;
}

HWND FindProcessWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  ::EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD FindProcessByName(std::string_view file, bool needWindow) {
  win::unique_file snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  const std::string wanted = UpperCase(FileNamePart(file));
  const DWORD self = ::GetCurrentProcessId();
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == self) continue;
    if (UpperCase(FileNamePart(win::Narrow(entry.szExeFile))) != wanted) continue;
    if (needWindow && FindProcessWindow(entry.th32ProcessID) == nullptr) continue;
    return entry.th32ProcessID;
  }
  return 0;
}

bool LaunchProgram(std::string_view file, std::string_view parameters, unsigned flags, std::string_view waitCaption) {
  if (flags & kLaunchActivate) {
    if (DWORD running = FindProcessByName(file, false)) {
      if (HWND window = FindProcessWindow(running)) {
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        return true;
      }
    }
  }

  const bool wait = (flags & kLaunchWait) != 0;
  win::unique_window waitWindow;
  std::unique_ptr<DisabledWindows> disabled;
  if (wait) {
    std::string text = "Wait until ";
    text += waitCaption.empty() ? file : waitCaption;
    text += " ends";
    waitWindow = ShowWaitWindow(kApplicationTitle, text, ::GetActiveWindow());
    if (!(flags & kLaunchKeepEnabled)) disabled = std::make_unique<DisabledWindows>(waitWindow.get());
  }

  std::wstring wideFile = win::Wide(file);
  std::wstring wideParameters = win::Wide(parameters);
  std::wstring folder = win::Wide(StartFolderOf(file));
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = waitWindow.get();
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = (flags & kLaunchHidden) ? SW_HIDE : SW_SHOWNORMAL;
  bool started = ::ShellExecuteExW(&info) != FALSE;
  win::unique_handle process(started ? info.hProcess : nullptr);

  // A document handed to a program that was already running gives no process to wait for.
  if (wait && process) PumpUntilEnded(process.get());
  disabled.reset();
  return started;
}

bool StartProgram(std::string_view file, unsigned flags) { return LaunchProgram(file, {}, flags, {}); }

bool ShellOpen(std::string_view file, std::string_view parameters, std::string_view folder) {
  std::wstring wideFile = win::Wide(file);
  std::wstring wideParameters = win::Wide(parameters);
  std::wstring wideFolder = win::Wide(folder);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
  info.lpDirectory = wideFolder.empty() ? nullptr : wideFolder.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExW(&info) != FALSE;
}

}  // namespace orvalis
