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
    default: break;
  }
  EntryEdit::WndProc(m);
}

}  // namespace orvalis::controls
