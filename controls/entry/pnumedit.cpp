// The number edit's window: the model's text in a right-aligned EDIT and its
// prefix in a small static label placed on the edit.
#include "controls/entry/pnumedit.h"

#include "win/wide.h"

namespace orvalis::controls {

PNumEdit::PNumEdit() {
  SetSize(Width(), 21);
  model_.OnChange = [this](NumEditModel&) {
    if (OnChange) OnChange(*this);
  };
}

void PNumEdit::MakeCreateParams(CreateParams& params) {
  EntryEdit::MakeCreateParams(params);
  params.style |= alignment_;
}

void PNumEdit::SetAlignment(DWORD alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  // The EDIT takes a changed ES_LEFT/ES_RIGHT from its style on the next paint.
  if (HWND hwnd = HandleIfCreated()) {
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~LONG_PTR(ES_CENTER | ES_RIGHT)) | LONG_PTR(alignment));
    Invalidate();
  }
}

void PNumEdit::Loaded() {
  model_.FormatValue();
  Show();
  EntryEdit::Loaded();
}

void PNumEdit::Shown() {
  const auto caption = model_.PrefixLabel();
  HWND hwnd = HandleIfCreated();
  if (caption && !prefixLabel_ && hwnd) {
    prefixLabel_.reset(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 2, 1, 40,
                                         Height() - 6, hwnd, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::SendMessageW(prefixLabel_.get(), WM_SETFONT, ::SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
  }
  if (!prefixLabel_) return;
  if (caption) ::SetWindowTextW(prefixLabel_.get(), win::Wide(*caption).c_str());
  ::ShowWindow(prefixLabel_.get(), caption ? SW_SHOWNA : SW_HIDE);
}

void PNumEdit::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_CTLCOLORSTATIC:
      // The prefix label takes the edit's colour.
      if (prefixLabel_ && reinterpret_cast<HWND>(m.lParam) == prefixLabel_.get()) {
        ::SetBkColor(reinterpret_cast<HDC>(m.wParam), ::GetSysColor(COLOR_WINDOW));
        m.result = reinterpret_cast<LRESULT>(ColorBrush());
        return;
      }
      break;
    case WM_NCDESTROY: (void)prefixLabel_.release(); break;  // destroyed with the edit
    case WM_KEYDOWN:
      if (OnKeyDown) {
        unsigned key = unsigned(m.wParam);
        OnKeyDown(*this, key, ShiftState());
        if (key == 0) {
          m.result = 0;
          return;
        }
        m.wParam = key;
      }
      break;
    case WM_GETDLGCODE: {
      EntryEdit::WndProc(m);
      // A key the dialog takes never reaches the field as WM_KEYDOWN: the
      // host hears of it here instead (and only then, so no key twice).
      const auto* key = reinterpret_cast<const MSG*>(m.lParam);
      if (OnKeyDown && key && key->message == WM_KEYDOWN && DialogTakes(unsigned(key->wParam), m.result)) {
        unsigned copy = unsigned(key->wParam);
        OnKeyDown(*this, copy, ShiftState());
      }
      return;
    }
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(m.wParam);
      if (OnMouseWheel) OnMouseWheel(*this, delta);
      if (delta < 0 && OnMouseWheelDown) OnMouseWheelDown(*this);
      if (delta > 0 && OnMouseWheelUp) OnMouseWheelUp(*this);
      break;
    }
    default: break;
  }
  EntryEdit::WndProc(m);
}

unsigned PNumEdit::ShiftState() {
  unsigned shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= kKeyShift;
  if (::GetKeyState(VK_MENU) < 0) shift |= kKeyAlt;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= kKeyCtrl;
  return shift;
}

bool PNumEdit::DialogTakes(unsigned key, LRESULT code) {
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  switch (key) {
    case VK_TAB: return (code & DLGC_WANTTAB) == 0;
    case VK_RETURN:
    case VK_ESCAPE: return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return (code & DLGC_WANTARROWS) == 0;
    default: return false;
  }
}

}  // namespace orvalis::controls
