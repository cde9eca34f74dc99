// The small window shown while the program starter waits for a started
// program: one centred, word-wrapped line of text and no buttons.
#pragma once

#include <windows.h>

#include <string_view>

#include "win/unique_any.h"

namespace orvalis::ui {

inline constexpr wchar_t kWaitWindowClass[] = L"OrvalisWaitWindow";

// Creates and shows the window (not modal). It is centred over `over` when
// that is not null. Null when it cannot be created.
[[nodiscard]] win::unique_window ShowWaitWindow(std::string_view title, std::string_view text, HWND over);

}  // namespace orvalis::ui
