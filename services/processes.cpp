// Administrator check, process lookup, waiting for a process and the shell's "open".
#include "services/processes.h"

#include <shellapi.h>
#include <tlhelp32.h>


#include "core/text.h"
#include "services/paths.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

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
