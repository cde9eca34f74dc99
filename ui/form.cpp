// Forms and their modal loop.
#include "ui/form.h"

#include "ui/button.h"

namespace orvalis::ui {
namespace {

DWORD StyleOf(BorderStyle b) {
  switch (b) {
    case BorderStyle::None: return WS_POPUP;
    case BorderStyle::Single: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;
    case BorderStyle::Dialog: return WS_CAPTION | WS_SYSMENU | WS_POPUP | WS_BORDER | DS_MODALFRAME;
    case BorderStyle::Sizeable: break;
  }
  return WS_OVERLAPPEDWINDOW;
}

DWORD ExStyleOf(BorderStyle b) { return WS_EX_CONTROLPARENT | (b == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0); }

template <typename F>
Button* FindButton(WinControl& root, F&& wanted) {
  for (Control* child : root.Controls()) {
    if (auto* b = dynamic_cast<Button*>(child); b && wanted(*b) && b->Visible() && b->Enabled()) return b;
    if (auto* w = dynamic_cast<WinControl*>(child))
      if (Button* found = FindButton(*w, wanted)) return found;
  }
  return nullptr;
}

}  // namespace

Form::Form() {
  SetVisible(false);
  color_ = kBtnFace;
}

void Form::MakeCreateParams(CreateParams& params) {
  params.className = L"OrvalisForm";
  params.style = StyleOf(borderStyle_) | WS_CLIPCHILDREN;
  params.exStyle = ExStyleOf(borderStyle_);
}

void Form::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  RECT r{0, 0, width, height};
  ::AdjustWindowRectEx(&r, StyleOf(borderStyle_), FALSE, ExStyleOf(borderStyle_));
  SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void Form::PlaceOnScreen() {
  if (position_ != FormPosition::ScreenCenter) return;
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  SetBounds(work.left + (work.right - work.left - Width()) / 2, work.top + (work.bottom - work.top - Height()) / 2,
            Width(), Height());
}

void Form::Show() {
  PlaceOnScreen();
  HWND hwnd = Handle();
  SetVisible(true);
  ::SetForegroundWindow(hwnd);
}

void Form::Close() {
  if (HandleAllocated()) ::SendMessageW(HandleIfCreated(), WM_CLOSE, 0, 0);
}

int Form::ShowModal() {
  HWND owner = ::GetActiveWindow();
  modalResult_ = mrNone;
  modal_ = true;
  Show();
  HWND hwnd = HandleIfCreated();
  if (owner && owner != hwnd) ::EnableWindow(owner, FALSE);
  MSG msg;
  while (modalResult_ == mrNone && hwnd && ::IsWindow(hwnd)) {
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      ::PostQuitMessage(int(msg.wParam));
      break;
    }
    if (::IsDialogMessageW(hwnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (owner && owner != hwnd) ::EnableWindow(owner, TRUE);
  SetVisible(false);
  if (owner) ::SetActiveWindow(owner);
  modal_ = false;
  return modalResult_ == mrNone ? mrCancel : modalResult_;
}

Form* Form::Of(Control& control) {
  for (Control* c = &control; c; c = c->Parent())
    if (auto* f = dynamic_cast<Form*>(c)) return f;
  return nullptr;
}

bool Form::ClickButton(bool defaultButton) {
  Button* b = defaultButton ? FindButton(*this, [](Button& x) { return x.Default(); })
                            : FindButton(*this, [](Button& x) { return x.Cancel(); });
  if (!b) return false;
  b->Click();
  return true;
}

void Form::WndProc(Message& m) {
  switch (m.msg) {
    case WM_CLOSE:
      if (OnClose) OnClose(*this);
      if (modal_) {
        modalResult_ = mrCancel;
        m.result = 0;
        return;
      }
      break;
    case WM_COMMAND:
      // Enter and Escape as the dialog manager reports them.
      if (m.lParam == 0 && (LOWORD(m.wParam) == IDOK || LOWORD(m.wParam) == IDCANCEL)) {
        if (!ClickButton(LOWORD(m.wParam) == IDOK) && LOWORD(m.wParam) == IDCANCEL && modal_) modalResult_ = mrCancel;
        m.result = 0;
        return;
      }
      break;
    default: break;
  }
  WinControl::WndProc(m);
}

}  // namespace orvalis::ui
