// The module (program or library) whose code is running: where its window
// classes are registered and its resources are found, also when the control
// package runs as a library inside another program.
#pragma once

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace orvalis::win {

[[nodiscard]] inline HINSTANCE ThisModule() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace orvalis::win
