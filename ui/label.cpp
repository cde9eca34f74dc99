// The framework label.
#include "ui/label.h"

#include "ui/gdi_canvas.h"
#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::ui {

Label::Label() { SetBounds(0, 0, 65, 13); }

void Label::SetCaption(std::string_view caption) {
  caption_ = caption;
  AdjustSize();
  Invalidate();
}

void Label::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustSize();
}

void Label::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void Label::SetWordWrap(bool value) {
  wordWrap_ = value;
  Invalidate();
}

void Label::SetAlignment(Alignment a) {
  alignment_ = a;
  Invalidate();
}

void Label::AdjustSize() {
  if (!autoSize_ || wordWrap_) return;
  Size s;
  {
    win::window_dc screen(nullptr);
    GdiCanvas canvas(screen.get());
    canvas.SetFont(font_);
    s = canvas.TextExtent(caption_.empty() ? std::string_view(" ") : std::string_view(caption_));
  }
  SetSize(s.cx, s.cy);
}

void Label::Paint(Canvas& canvas) {
  if (!transparent_) {
    canvas.BrushColor(color_);
    canvas.FillRect({0, 0, Width(), Height()});
  }
  Font f = font_;
  if (!Enabled()) f.color = kGrayText;
  canvas.SetFont(f);
  unsigned align = alignment_ == Alignment::Center         ? kDtCenter
                   : alignment_ == Alignment::RightJustify ? kDtRight
                                                           : kDtLeft;
  canvas.DrawTextRect(caption_, {0, 0, Width(), Height()}, align | (wordWrap_ ? 0x10u /* DT_WORDBREAK */ : kDtSingleLine));
}

}  // namespace orvalis::ui
