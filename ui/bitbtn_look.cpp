// The framework bitmap button's classic look.
#include "ui/bitbtn_look.h"

namespace orvalis::ui {

BitBtnLayout LayoutBitBtn(const BitBtnFace& face, Size text) {
  bool hasGlyph = face.glyph && !face.glyph->Empty();
  int gw = hasGlyph ? face.glyph->Width() : 0;
  int gh = hasGlyph ? face.glyph->Height() : 0;
  int gap = hasGlyph && !face.caption.empty() ? face.spacing : 0;
  BitBtnLayout out;
  bool horizontal = face.layout == ButtonLayout::GlyphLeft || face.layout == ButtonLayout::GlyphRight;
  if (horizontal) {
    int total = gw + gap + text.cx;
    int left = (face.width - total) / 2;
    int textLeft = face.layout == ButtonLayout::GlyphLeft ? left + gw + gap : left;
    out.glyph = {face.layout == ButtonLayout::GlyphLeft ? left : left + text.cx + gap, (face.height - gh) / 2};
    out.text = {textLeft, (face.height - text.cy) / 2, textLeft + text.cx, (face.height - text.cy) / 2 + text.cy};
  } else {
    int total = gh + gap + text.cy;
    int top = (face.height - total) / 2;
    int textTop = face.layout == ButtonLayout::GlyphTop ? top + gh + gap : top;
    out.glyph = {(face.width - gw) / 2, face.layout == ButtonLayout::GlyphTop ? top : top + text.cy + gap};
    out.text = {(face.width - text.cx) / 2, textTop, (face.width - text.cx) / 2 + text.cx, textTop + text.cy};
  }
  return out;
}

Bitmap EmbossedGlyph(const Bitmap& glyph) {
  constexpr Color kKey = 0xFF00FF;
  constexpr Color kShadow = 0x808080;
  constexpr Color kLight = 0xFFFFFF;
  Color key = glyph.EffectiveTransparentColor();
  Bitmap out(glyph.Width() + 1, glyph.Height() + 1, kKey);
  for (int pass = 0; pass < 2; ++pass)
    for (int y = 0; y < glyph.Height(); ++y)
      for (int x = 0; x < glyph.Width(); ++x)
        if (glyph.Pixel(x, y) != key) out.SetPixel(x + 1 - pass, y + 1 - pass, pass == 0 ? kLight : kShadow);
  out.SetPixel(0, out.Height() - 1, kKey);
  out.transparent = true;
  return out;
}

void PaintBitBtn(Canvas& canvas, const BitBtnFace& face) {
  Rect r{0, 0, face.width, face.height};
  canvas.DrawFrame(r, face.pressed     ? FrameKind::PushButtonPressed
                      : face.isDefault ? FrameKind::PushButtonDefault
                                       : FrameKind::PushButton);
  Font font = face.font;
  font.color = face.enabled ? kBtnText : kGrayText;
  canvas.SetFont(font);
  Size text = face.caption.empty() ? Size{} : canvas.TextExtent(face.caption);
  BitBtnLayout layout = LayoutBitBtn(face, text);
  int shift = face.pressed ? 1 : 0;
  if (face.glyph && !face.glyph->Empty()) {
    Point at{layout.glyph.x + shift, layout.glyph.y + shift};
    if (face.enabled) {
      canvas.DrawTransparent(at.x, at.y, *face.glyph, face.glyph->EffectiveTransparentColor());
    } else {
      Bitmap gray = EmbossedGlyph(*face.glyph);
      canvas.DrawTransparent(at.x, at.y, gray, gray.EffectiveTransparentColor());
    }
  }
  if (!face.caption.empty()) {
    Rect t{layout.text.left + shift, layout.text.top + shift, layout.text.right + shift, layout.text.bottom + shift};
    canvas.DrawTextRect(face.caption, t, kDtCenter | kDtVCenter | kDtSingleLine);
  }
  if (face.focused) canvas.FocusRect(Rect{4, 4, face.width - 4, face.height - 4});
}

}  // namespace orvalis::ui
