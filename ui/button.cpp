// The framework's push buttons.
#include "ui/button.h"

#include "ui/form.h"
#include "ui/gdi_canvas.h"

namespace orvalis::ui {

Button::Button() { SetBounds(0, 0, 75, 25); }

void Button::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"BUTTON";
  params.systemClass = true;
  params.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void Button::SetDefault(bool value) {
  default_ = value;
  if (HWND h = HandleIfCreated())
    ::SendMessageW(h, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::Click() {
  if (modalResult_ != 0)
    if (Form* f = Form::Of(*this)) f->SetModalResult(modalResult_);
  WinControl::Click();
}

void Button::WndProc(Message& m) {
  if (m.msg == CN_COMMAND && HIWORD(m.wParam) == BN_CLICKED) {
    Click();
    m.result = 0;
    return;
  }
  WinControl::WndProc(m);
}

BitBtn::BitBtn() = default;

void BitBtn::MakeCreateParams(CreateParams& params) {
  Button::MakeCreateParams(params);
  params.style = (params.style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void BitBtn::SetGlyph(const Bitmap& glyph) {
  glyph_ = glyph;
  Invalidate();
}

void BitBtn::SetLayout(ButtonLayout layout) {
  layout_ = layout;
  Invalidate();
}

void BitBtn::SetSpacing(int spacing) {
  spacing_ = spacing;
  Invalidate();
}

void BitBtn::WndProc(Message& m) {
  if (m.msg == CN_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
    BitBtnFace face;
    face.width = dis->rcItem.right - dis->rcItem.left;
    face.height = dis->rcItem.bottom - dis->rcItem.top;
    face.caption = Caption();
    face.glyph = &glyph_;
    face.layout = layout_;
    face.spacing = spacing_;
    face.pressed = (dis->itemState & ODS_SELECTED) != 0;
    face.focused = (dis->itemState & ODS_FOCUS) != 0;
    face.isDefault = Default() || face.focused;
    face.enabled = (dis->itemState & ODS_DISABLED) == 0;
    face.font = font_;
    GdiCanvas canvas(dis->hDC);
    PaintBitBtn(canvas, face);
    m.result = TRUE;
    return;
  }
  if (m.msg == WM_LBUTTONDBLCLK) m.msg = WM_LBUTTONDOWN;  // owner-drawn buttons see double clicks as presses
  Button::WndProc(m);
}

}  // namespace orvalis::ui
