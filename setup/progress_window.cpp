// Progress window with standard controls: lMain, Label and Bar.
#include "setup/progress_window.h"

#include <commctrl.h>

#include "win/wide.h"

namespace orvalis {
namespace {

constexpr wchar_t kClassName[] = L"TfrmProgress";
constexpr int kClientWidth = 353;
constexpr int kClientHeight = 89;

void RegisterClassOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  registered = ::RegisterClassExW(&wc) != 0;
}

// The designer name, as a global atom so a driver in another process can read it.
void Name(HWND window, const wchar_t* name) {
  ATOM atom = ::GlobalAddAtomW(name);
  if (atom) ::SetPropW(window, L"OrvalisName", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

BOOL CALLBACK Unname(HWND window, LPARAM) noexcept {
  if (auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::RemovePropW(window, L"OrvalisName"))))
    ::GlobalDeleteAtom(atom);
  return TRUE;
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, int x, int y, int w, int h, const wchar_t* name) {
  HWND child = ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  Name(child, name);
  return child;
}

}  // namespace

ProgressWindow::ProgressWindow(const std::string& caption, int maximum) {
  RegisterClassOnce();
  DWORD style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  window_ = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"Orvalis Setup", style, x, y, width, height,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) return;
  Name(window_, L"frmProgress");
  lMain_ = Child(window_, L"STATIC", SS_CENTER, 20, 14, 313, 16, L"lMain");
  label_ = Child(window_, L"STATIC", SS_LEFT | SS_PATHELLIPSIS, 20, 36, 313, 16, L"Label");
  bar_ = Child(window_, PROGRESS_CLASSW, 0, 20, 60, 313, 16, L"Bar");
  ::SetWindowTextW(lMain_, win::Wide(caption).c_str());
  ::SendMessageW(bar_, PBM_SETRANGE32, 0, maximum);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  Repaint();
}

ProgressWindow::~ProgressWindow() {
  if (window_ == nullptr) return;
  ::EnumChildWindows(window_, Unname, 0);
  Unname(window_, 0);
  ::DestroyWindow(window_);
}

void ProgressWindow::SetText(const std::string& text) {
  if (label_ != nullptr) ::SetWindowTextW(label_, win::Wide(text).c_str());
}

void ProgressWindow::SetPosition(int position) {
  if (bar_ != nullptr) ::SendMessageW(bar_, PBM_SETPOS, position, 0);
}

void ProgressWindow::Repaint() {
  if (window_ == nullptr) return;
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace orvalis
