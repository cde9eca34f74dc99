// Program entry of the setup. The run-setup driver is wired in here once it
// exists; until then the program starts, initialises and ends with code 0.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return 0;
}
