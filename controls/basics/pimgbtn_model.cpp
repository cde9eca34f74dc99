// Paint of the image button.
#include "controls/basics/pimgbtn_model.h"

#include "controls/basics/pbitbtn_model.h"

namespace orvalis::controls {
namespace {

bool Has(const ui::Bitmap* b) { return b && !b->Empty(); }

ui::Bitmap WithTransparency(ui::Bitmap b, const ImageButtonFace& f) {
  b.transparent = f.transparent;
  b.transparentMode = f.transparentMode;
  if (f.transparentMode == ui::TransparentMode::Fixed) b.transparentColor = f.transparentColor;
  return b;
}

}  // namespace

const ui::Bitmap* ChooseBackground(const ImageButtonFace& f) {
  if (!f.enabled && Has(f.glyphDisabled)) return f.glyphDisabled;
  if (f.alternate) {
    if (f.pressed && Has(f.altGlyphDown)) return f.altGlyphDown;
    if (Has(f.altGlyphUp)) return f.altGlyphUp;
  }
  if (f.pressed && Has(f.glyphDown)) return f.glyphDown;
  if (Has(f.glyphUp)) return f.glyphUp;
  return nullptr;
}

std::array<SlicePiece, 9> NineSlice(int bw, int bh, int W, int H) {
  const int hw = bw / 2, hh = bh / 2;
  return {{
      {{0, 0, hw, hh}, {0, 0, hw, hh}},
      {{0, hh, hw, bh}, {0, H - hh, hw, H}},
      {{hw, 0, bw, hh}, {W - hw, 0, W, hh}},
      {{hw, hh, bw, bh}, {W - hw, H - hh, W, H}},
      {{0, hh, hw, hh + 1}, {0, hh, hw, H - hh}},
      {{hw, 0, hw + 1, hh}, {hw, 0, W - hw, hh}},
      {{hw, hh, bw, hh + 1}, {W - hw, hh, W, H - hh}},
      {{hw, hh, hw + 1, bh}, {hw, H - hh, W - hw, H}},
      {{hw, hh, hw + 1, hh + 1}, {hw, hh, W - hw, H - hh}},
  }};
}

void PaintImageButton(ui::Canvas& c, ThemeSurface& theme, const ImageButtonFace& f) {
  const int state = f.pressed ? 3 : 1;
  if (theme.DrawPart(f.themePart, state, 0)) return;
  c.BrushColor(f.color);
  int Wb = f.width, Hb = f.height;
  if (const ui::Bitmap* chosen = ChooseBackground(f)) {
    ui::Bitmap b = WithTransparency(*chosen, f);
    switch (f.stretchMode) {
      case stretchNone:
        c.Draw(0, 0, b);
        Wb = b.Width();
        Hb = b.Height();
        break;
      case stretchTotal: c.StretchDraw({0, 0, f.width, f.height}, b); break;
      case stretchCenter: {
        ui::Color tc = f.transparentMode == ui::TransparentMode::Automatic ? b.Pixel(0, b.Height() - 1)
                                                                          : f.transparentColor;
        for (const SlicePiece& p : NineSlice(b.Width(), b.Height(), f.width, f.height)) {
          if (f.transparent)
            c.BrushCopy(p.dest, b, p.source, tc);
          else
            c.CopyRect(p.dest, b, p.source);
        }
        break;
      }
    }
  }
  const bool hasGlyph = Has(f.glyph);
  int gx = 0, gy = 0;
  if (hasGlyph) {
    gy = (Hb - f.glyph->Height()) / 2;
    gx = f.alignment == ui::Alignment::RightJustify ? Wb - f.glyph->Width() : (Wb - f.glyph->Width()) / 2;
  }
  if (!f.caption.empty()) {
    c.SetFont(f.font);
    ui::Size text = c.TextExtent(f.caption);
    int ty = (Hb - text.cy) / 2;
    int tx = (Wb - text.cx) / 2;
    if (hasGlyph) {
      tx += f.glyph->Width() / 2 + 1;
      gx = tx - f.glyph->Width() - 2;
    }
    c.SetBrush(ui::Brush{c.GetBrush().color, ui::BrushStyle::Clear});
    if (f.pressed) {
      ++tx;
      ++ty;
    }
    c.WriteText(tx, ty, f.caption);
  }
  if (hasGlyph) {
    if (f.pressed) {
      ++gx;
      ++gy;
    }
    c.Draw(gx, gy, WithTransparency(f.enabled ? *f.glyph : MakeGrayGlyph(*f.glyph), f));
  }
}

}  // namespace orvalis::controls
