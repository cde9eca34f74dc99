// EDIT window access for the data-entry edit views.
#include "controls/entry/edit_view.h"

#include "win/wide.h"

namespace orvalis::controls {
namespace {

// Code points and UTF-16 units of a UTF-8 lead byte.
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
int UnitsOfLead(unsigned char b) { return (b & 0xF8) == 0xF0 ? 2 : 1; }

}  // namespace

int Utf16Offset(std::string_view text, int index) {
  int units = 0;
  int chars = 0;
  for (std::size_t i = 0; i < text.size() && chars < index; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsContinuation(b)) continue;
    units += UnitsOfLead(b);
    ++chars;
  }
  return units;
}

int CharIndex(std::string_view text, int utf16Offset) {
  int units = 0;
  int chars = 0;
  for (std::size_t i = 0; i < text.size() && units < utf16Offset; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsContinuation(b)) continue;
    units += UnitsOfLead(b);
    ++chars;
  }
  return chars;
}

EditState ReadEdit(HWND edit) {
  EditState state;
  const int n = ::GetWindowTextLengthW(edit);
  std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(::GetWindowTextW(edit, wide.data(), n + 1)));
  state.text = win::Narrow(wide);
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  state.selStart = CharIndex(state.text, static_cast<int>(start));
  state.selEnd = CharIndex(state.text, static_cast<int>(end));
  return state;
}

void WriteEdit(HWND edit, std::string_view text, int selStart, int selEnd) {
  const std::wstring wide = win::Wide(text);
  const int n = ::GetWindowTextLengthW(edit);
  std::wstring shown(static_cast<std::size_t>(n) + 1, L'\0');
  shown.resize(static_cast<std::size_t>(::GetWindowTextW(edit, shown.data(), n + 1)));
  if (shown != wide) ::SetWindowTextW(edit, wide.c_str());
  ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(Utf16Offset(text, selStart)),
                 static_cast<LPARAM>(Utf16Offset(text, selEnd)));
}

}  // namespace orvalis::controls
