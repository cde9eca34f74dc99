// Application title, message boxes, message pump, hints and screen cursor.
#include "ui/application.h"

#include <commctrl.h>

#include "ui/control.h"
#include "win/module.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

std::string& TitleText() {
  static std::string title;
  return title;
}

int screenCursor = Screen::kDefault;

// The one tooltip window of the process, made when the first hint is shown.
HWND HintWindow() {
  static HWND tip = nullptr;
  if (!tip || !::IsWindow(tip)) {
    tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            win::ThisModule(), nullptr);
  }
  return tip;
}

}  // namespace

void Application::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
}

const std::string& Application::Title() { return TitleText(); }
void Application::SetTitle(std::string title) { TitleText() = std::move(title); }

int Application::MessageDialog(std::string_view text, UINT flags) {
  return ::MessageBoxW(::GetActiveWindow(), win::Wide(text).c_str(), win::Wide(Title()).c_str(), flags);
}

bool Application::ProcessMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(int(msg.wParam));
      return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

void Application::UpdateHint(Control& control) {
  // A windowed control is its own tool; a windowless one is a rectangle of its parent.
  auto* windowed = dynamic_cast<WinControl*>(&control);
  HWND owner = windowed ? windowed->HandleIfCreated() : control.Parent() ? control.Parent()->HandleIfCreated() : nullptr;
  if (!owner) return;
  HWND tip = HintWindow();
  if (!tip) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = windowed ? ::GetParent(owner) : owner;
  ti.uId = windowed ? reinterpret_cast<UINT_PTR>(owner) : reinterpret_cast<UINT_PTR>(&control);
  ti.uFlags = TTF_SUBCLASS | (windowed ? TTF_IDISHWND : 0u);
  if (!ti.hwnd) ti.hwnd = owner;
  ::SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  if (!control.ShowHint() || control.Hint().empty()) return;
  std::wstring text = win::Wide(control.Hint());
  ti.lpszText = text.data();
  if (!windowed) {
    Rect b = control.BoundsRect();
    ti.rect = RECT{b.left, b.top, b.right, b.bottom};
  }
  ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

int Screen::Cursor() { return screenCursor; }

void Screen::SetCursor(int cursor) {
  screenCursor = cursor;
  ::SetCursor(CursorHandle());
}

HCURSOR Screen::CursorHandle() {
  return ::LoadCursorW(nullptr, screenCursor == kHandPoint ? IDC_HAND : IDC_ARROW);
}

}  // namespace orvalis::ui
