// The framework panel.
#include "ui/panel.h"

namespace orvalis::ui {

Panel::Panel() { SetBounds(0, 0, 185, 41); }

void Panel::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"OrvalisPanel";
  params.style &= ~DWORD(WS_TABSTOP);
  params.exStyle |= WS_EX_CONTROLPARENT;
  params.classStyle |= CS_HREDRAW | CS_VREDRAW;
}

void Panel::SetBevelOuter(Bevel b) {
  outer_ = b;
  Invalidate();
}
void Panel::SetBevelInner(Bevel b) {
  inner_ = b;
  Invalidate();
}
void Panel::SetBevelWidth(int w) {
  bevelWidth_ = w;
  Invalidate();
}
void Panel::SetAlignment(Alignment a) {
  alignment_ = a;
  Invalidate();
}

PanelFrame Panel::Frame() const {
  PanelFrame f;
  f.width = Width();
  f.height = Height();
  f.outer = outer_;
  f.inner = inner_;
  f.bevelWidth = bevelWidth_;
  f.color = color_;
  f.caption = Text();
  f.alignment = alignment_;
  f.font = font_;
  return f;
}

void Panel::Paint(Canvas& canvas) { PaintPanelFrame(canvas, Frame()); }

}  // namespace orvalis::ui
