// The clipboard's text, UTF-8 inside and UTF-16 (CF_UNICODETEXT) on the clipboard.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace orvalis::ui {

// The clipboard's text, nothing when it holds none or cannot be opened.
[[nodiscard]] std::optional<std::string> ReadClipboardText(HWND owner);
// Puts `text` on the clipboard as text, in place of what it held; false when
// the clipboard is busy or the memory cannot be had.
bool WriteClipboardText(HWND owner, std::string_view text);

}  // namespace orvalis::ui
