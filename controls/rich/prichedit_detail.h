// What the units of the rich text control share on the Win32 side: messages to
// the inner window, its selection and formats, scopes for flags and handlers,
// the wait cursor, and what one unit makes for the others (storage, the OLE
// callback, the pop-up menu's filling). Only the control's own sources include
// this header.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <richole.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/rich/editor_rules.h"
#include "controls/rich/prichedit.h"
#include "win/gdi.h"

namespace orvalis::controls::detail {

// The editor's own setting: the background it shows while its tool bar is up.
inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kEditorColorValue[] = "TextEditorColor";

inline LRESULT SendTo(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return window ? ::SendMessageW(window, msg, wParam, lParam) : 0;
}

inline bool Dutch(const PRichEdit& rtf) { return rtf.GetLanguage() == "NLD"; }

inline int ScreenDpiX() {
  win::window_dc screen(nullptr);
  return screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
}

inline int ScreenDpiY() {
  win::window_dc screen(nullptr);
  return screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

inline std::u16string_view Utf16(const std::wstring& text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "the window's text is UTF-16");
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

inline CHARFORMATW SelectionFormat(HWND inner) {
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_ALL;
  SendTo(inner, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  return format;
}

inline PARAFORMAT2 ParagraphFormat(HWND inner) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof format;
  SendTo(inner, EM_GETPARAFORMAT, 0, LPARAM(&format));
  return format;
}

inline void SetParagraph(HWND inner, PARAFORMAT2 format, DWORD mask) {
  format.cbSize = sizeof format;
  format.dwMask = mask;
  SendTo(inner, EM_SETPARAFORMAT, 0, LPARAM(&format));
}

inline CHARRANGE Selection(HWND inner) {
  CHARRANGE range{};
  SendTo(inner, EM_EXGETSEL, 0, LPARAM(&range));
  return range;
}

inline void Select(HWND inner, LONG start, LONG end) {
  CHARRANGE range{start, end};
  SendTo(inner, EM_EXSETSEL, 0, LPARAM(&range));
}

// Sets and restores a flag for the length of a scope.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), previous_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

// Takes an event handler away for the length of a scope, as if it were not assigned.
template <typename Handler>
class DetachScope {
 public:
  explicit DetachScope(Handler& handler) : handler_(handler), saved_(std::move(handler)) { handler_ = nullptr; }
  ~DetachScope() { handler_ = std::move(saved_); }
  DetachScope(const DetachScope&) = delete;
  DetachScope& operator=(const DetachScope&) = delete;

 private:
  Handler& handler_;
  Handler saved_;
};

// The hourglass while the host is asked, the previous cursor afterwards.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// The shift state of a key event (kShiftKey, kAltKey, kCtrlKey).
inline unsigned ShiftState() {
  unsigned shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= kShiftKey;
  if (::GetKeyState(VK_MENU) < 0) shift |= kAltKey;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= kCtrlKey;
  return shift;
}

// A compound storage in memory, as every embedded object of the inner window
// gets (prichedit_objects.cpp).
[[nodiscard]] HRESULT NewMemoryStorage(IStorage** storage) noexcept;
// The inner window's OLE callback, with one reference for the caller.
[[nodiscard]] IRichEditOleCallback* NewOleCallback();

// Fills the process-wide pop-up menu with the shown entries, and shows it below
// a rectangle of `window`: the chosen tag or -1 (prichedit_menus.cpp).
void FillPopup(const std::vector<MenuEntry>& items);
[[nodiscard]] int TrackBelow(HWND window, const RECT& r);

}  // namespace orvalis::controls::detail
