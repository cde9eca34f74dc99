// Helpers the data-entry edit views share at the Win32 boundary: the EDIT
// window's text and selection, whose UTF-16 offsets the views map to the
// models' character positions. The clipboard's text is ui/clipboard.h.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvalis::controls {

// The UTF-16 offset of character `index` (a code point) of UTF-8 `text`, and back.
[[nodiscard]] int Utf16Offset(std::string_view text, int index);
[[nodiscard]] int CharIndex(std::string_view text, int utf16Offset);

// An EDIT window's text and selection, in characters of the text.
struct EditState {
  std::string text;
  int selStart = 0;
  int selEnd = 0;
};
[[nodiscard]] EditState ReadEdit(HWND edit);
// Shows `text` with the selection from `selStart` to `selEnd` (characters);
// the text is set only when it differs, so the caret does not flicker.
void WriteEdit(HWND edit, std::string_view text, int selStart, int selEnd);

}  // namespace orvalis::controls
