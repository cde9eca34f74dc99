// The clipboard's text.
#include "ui/clipboard.h"

#include <cstring>

#include "win/scope_exit.h"
#include "win/wide.h"

namespace orvalis::ui {

std::optional<std::string> ReadClipboardText(HWND owner) {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(owner)) return std::nullopt;
  win::scope_exit close([] { ::CloseClipboard(); });
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* wide = static_cast<const wchar_t*>(::GlobalLock(data));
  if (!wide) return std::nullopt;
  win::scope_exit unlock([data] { ::GlobalUnlock(data); });
  return win::Narrow(wide);
}

bool WriteClipboardText(HWND owner, std::string_view text) {
  const std::wstring wide = win::Wide(text);
  if (!::OpenClipboard(owner)) return false;
  win::scope_exit close([] { ::CloseClipboard(); });
  ::EmptyClipboard();
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* p = ::GlobalLock(memory);
  if (!p) {
    ::GlobalFree(memory);
    return false;
  }
  std::memcpy(p, wide.c_str(), bytes);
  ::GlobalUnlock(memory);
  if (::SetClipboardData(CF_UNICODETEXT, memory)) return true;  // the clipboard owns it now
  ::GlobalFree(memory);
  return false;
}

}  // namespace orvalis::ui
