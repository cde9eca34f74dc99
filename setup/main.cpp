// Program entry of the setup: initialises the window system, runs the setup
// once with the command line's arguments and ends with the run's exit code.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "services/command_line.h"
#include "setup/run_setup.h"
#include "setup/setup_state.h"
#include "setup/win32_host.h"
#include "win/com.h"
#include "win/wide.h"

// The runtime's default terminate handler writes the demangled type of the
// exception to standard error, which a windowed setup does not have, and brings
// a whole C++ demangler (about 46 KB) along; abort straight away instead.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  // Shell links and the shell's own dialogs need COM on this thread.
  orvalis::win::com_scope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  orvalis::SetupState state;
  orvalis::Win32Host host;
  // An error that ends the run goes to the log; a quiet run shows nothing else.
  auto report = [&](const std::string& text) {
    std::string line = "error: ";
    host.AppendLog(line.append(text));
    line = "exit code: ";
    host.AppendLog(line.append(std::to_string(orvalis::kExitFailed)));
    if (!state.Quiet) ::MessageBoxW(nullptr, orvalis::win::Wide(text).c_str(), L"Orvalis Setup", MB_OK | MB_ICONERROR);
  };
  try {
    std::string commandLine = orvalis::win::Narrow(::GetCommandLineW());
    return orvalis::RunSetup(orvalis::ArgumentsOf(commandLine), state, host);
  } catch (const std::exception& error) {
    report(error.what());
  } catch (...) {
    report("Unexpected error");
  }
  return orvalis::kExitFailed;
}
