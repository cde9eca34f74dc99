// Program entry of the setup: initialises the window system, runs the setup
// once with the command line's arguments and ends with exit code 0.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "services/command_line.h"
#include "setup/run_setup.h"
#include "setup/setup_state.h"
#include "setup/win32_host.h"
#include "win/com.h"
#include "win/wide.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  // Shell links and the shell's own dialogs need COM on this thread.
  orvalis::win::com_scope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  try {
    orvalis::SetupState state;
    orvalis::Win32Host host;
    std::string commandLine = orvalis::win::Narrow(::GetCommandLineW());
    orvalis::RunSetup(orvalis::ArgumentsOf(commandLine), state, host);
  } catch (const std::exception& error) {
    ::MessageBoxW(nullptr, orvalis::win::Wide(error.what()).c_str(), L"Orvalis Setup", MB_OK | MB_ICONERROR);
  } catch (...) {
    ::MessageBoxW(nullptr, L"Unexpected error", L"Orvalis Setup", MB_OK | MB_ICONERROR);
  }
  return 0;
}
