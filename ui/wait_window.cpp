// The program starter's wait window.
#include "ui/wait_window.h"

#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

constexpr int kMargin = 25;
constexpr int kTextWidth = 300;

LRESULT CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_CLOSE) return 0;  // it goes away when the program ends, not before
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWaitClass(HINSTANCE instance) {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof info;
  info.lpfnWndProc = WaitWindowProc;
  info.hInstance = instance;
  info.hCursor = ::LoadCursorW(nullptr, IDC_WAIT);
  info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  info.lpszClassName = kWaitWindowClass;
  return ::RegisterClassExW(&info) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The height of `text` wrapped to the label's width.
int WrappedTextHeight(const std::wstring& text, HFONT font) {
  win::window_dc screen(nullptr);
  if (!screen) return 16;
  win::selected_object selected(screen.get(), font);
  RECT bounds = {0, 0, kTextWidth, 0};
  ::DrawTextW(screen.get(), text.c_str(), int(text.size()), &bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  return bounds.bottom - bounds.top;
}

}  // namespace

win::unique_window ShowWaitWindow(std::string_view title, std::string_view text, HWND over) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterWaitClass(instance)) return {};
  const DWORD style = WS_POPUP | WS_CAPTION;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  std::wstring label = win::Wide(text);
  auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  int textHeight = WrappedTextHeight(label, font);

  RECT frame = {0, 0, kTextWidth + 2 * kMargin, textHeight + 2 * kMargin};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int left = CW_USEDEFAULT;
  int top = CW_USEDEFAULT;
  RECT owner;
  if (over != nullptr && ::GetWindowRect(over, &owner)) {
    left = owner.left + (owner.right - owner.left - width) / 2;
    top = owner.top + (owner.bottom - owner.top - height) / 2;
  }
  win::unique_window window(::CreateWindowExW(exStyle, kWaitWindowClass, win::Wide(title).c_str(), style, left, top,
                                              width, height, nullptr, nullptr, instance, nullptr));
  if (!window) return {};
  HWND child = ::CreateWindowExW(0, L"STATIC", label.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, kMargin,
                                 kMargin, kTextWidth, textHeight, window.get(), nullptr, instance, nullptr);
  if (child != nullptr) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::ShowWindow(window.get(), SW_SHOWNORMAL);
  ::UpdateWindow(window.get());
  return window;
}

}  // namespace orvalis::ui
