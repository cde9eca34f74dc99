// The framework's check box and radio button.
#include "ui/check_box.h"

namespace orvalis::ui {

ToggleButton::ToggleButton() { SetBounds(0, 0, 97, 17); }

void ToggleButton::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"BUTTON";
  params.systemClass = true;
  if (CaptionLeftOfBox()) params.style |= BS_LEFTTEXT;
}

void ToggleButton::SetAlignment(Alignment a) {
  alignment_ = a;
  if (HWND h = HandleIfCreated()) {
    LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE);
    style = CaptionLeftOfBox() ? style | BS_LEFTTEXT : style & ~LONG_PTR(BS_LEFTTEXT);
    ::SetWindowLongPtrW(h, GWL_STYLE, style);
  }
  Invalidate();
}

int ToggleButton::CheckValue() const {
  if (HWND h = HandleIfCreated()) return int(::SendMessageW(h, BM_GETCHECK, 0, 0));
  return check_;
}

void ToggleButton::SetCheckValue(int value) {
  check_ = value;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, BM_SETCHECK, WPARAM(value), 0);
}

void ToggleButton::WndProc(Message& m) {
  switch (m.msg) {
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
      // The box stands on its parent: the parent's colour behind the caption.
      WinControl* p = Parent();
      if (!p) break;
      HDC dc = reinterpret_cast<HDC>(m.wParam);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      m.result = reinterpret_cast<LRESULT>(p->ColorBrush());
      return;
    }
    case CN_COMMAND:
      if (HIWORD(m.wParam) == BN_CLICKED) {
        check_ = CheckValue();
        Click();
        m.result = 0;
        return;
      }
      break;
    default: break;
  }
  WinControl::WndProc(m);
  if (m.msg == WM_CREATE && check_ != BST_UNCHECKED) ::SendMessageW(HandleIfCreated(), BM_SETCHECK, WPARAM(check_), 0);
}

CheckBoxState CheckBox::State() const {
  int v = CheckValue();
  return v == BST_CHECKED ? CheckBoxState::Checked : v == BST_INDETERMINATE ? CheckBoxState::Grayed : CheckBoxState::Unchecked;
}

void CheckBox::SetState(CheckBoxState state) {
  SetCheckValue(state == CheckBoxState::Checked ? BST_CHECKED
                : state == CheckBoxState::Grayed ? BST_INDETERMINATE
                                                 : BST_UNCHECKED);
}

void CheckBox::MakeCreateParams(CreateParams& params) {
  ToggleButton::MakeCreateParams(params);
  params.style |= allowGrayed_ ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
}

void RadioButton::MakeCreateParams(CreateParams& params) {
  ToggleButton::MakeCreateParams(params);
  params.style |= BS_AUTORADIOBUTTON;
}

}  // namespace orvalis::ui
