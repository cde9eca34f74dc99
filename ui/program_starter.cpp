// The program starter.
#include "ui/program_starter.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "services/paths.h"
#include "services/processes.h"
#include "ui/wait_window.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

constexpr char kApplicationTitle[] = "Orvalis Setup";

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

}  // namespace

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
  if (wait && process) (void)WaitForProcessPumping(process.get());
  disabled.reset();
  return started;
}

bool StartProgram(std::string_view file, unsigned flags) { return LaunchProgram(file, {}, flags, {}); }

}  // namespace orvalis::ui
