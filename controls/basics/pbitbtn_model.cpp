// State machine and themed paint of the push button.
#include "controls/basics/pbitbtn_model.h"

namespace orvalis::controls {

void PushButtonStates::MouseDown(PushButtonHost& host) {
  state_ = pbsPressed;
  host.Invalidate();
}

void PushButtonStates::MouseUp(PushButtonHost& host) {
  if (state_ != pbsPressed) return;
  state_ = pbsHot;
  host.Invalidate();
}

void PushButtonStates::MouseMove(PushButtonHost& host) {
  if (state_ != pbsNormal || !host.TrackMouseLeave()) return;
  state_ = pbsHot;
  host.Invalidate();
}

void PushButtonStates::MouseLeave(PushButtonHost& host) {
  state_ = pbsNormal;
  host.Invalidate();
}

int DrawingState(int buttonState, bool focused, bool disabledOrGrayed) {
  if (disabledOrGrayed) return pbsDisabled;
  if (buttonState == pbsNormal && focused) return pbsDefault;
  return buttonState;
}

ui::Bitmap MakeGrayGlyph(const ui::Bitmap& source) {
  ui::Bitmap out(source.Width(), source.Height());
  for (int x = 0; x < source.Width(); ++x)
    for (int y = 0; y < source.Height(); ++y) {
      ui::Color p = source.Pixel(x, y);
      int v = int(((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255)) / 5 + 96;
      out.SetPixel(x, y, ui::Color(v + 256 * v + 65536 * v));
    }
  return out;
}

ui::Point ThemedGlyphPosition(const ThemedButtonFace& f, int tw) {
  const int gw = f.glyph->Width(), gh = f.glyph->Height();
  ui::Point at{(f.width - gw) / 2, (f.height - gh) / 2};
  if (f.caption.empty()) return at;
  if (f.layout == ui::ButtonLayout::GlyphLeft) at.x = (f.width - tw) / 2 - gw - 2;
  if (f.layout == ui::ButtonLayout::GlyphRight) at.x = (f.width + tw) / 2 + 2;
  return at;
}

bool PaintThemedButton(ui::Canvas& canvas, ThemeSurface& theme, const ThemedButtonFace& f) {
  const bool gray = !f.enabled || f.grayed;
  const int s = DrawingState(f.state, f.focused, gray);
  const ui::Rect text{2, 2, f.width - 2, f.height - 2};
  const bool drew = theme.DrawBackground(kPushButtonPart, s, 0);
  const ui::Font previous = canvas.GetFont();
  ui::Font font;
  font.height = f.font.height;
  font.face = f.font.face;
  font.weight = 400;
  font.charset = 1;
  canvas.SetFont(font);
  if (drew && f.glyph && !f.glyph->Empty()) {
    int tw = f.caption.empty() ? 0 : theme.TextWidth(kPushButtonPart, s, f.caption, text, ui::kDtSingleLine);
    ui::Point at = ThemedGlyphPosition(f, tw);
    if (gray) {
      ui::Bitmap copy = MakeGrayGlyph(*f.glyph);
      canvas.DrawTransparent(at.x, at.y, copy, copy.Pixel(0, copy.Height() - 1));
    } else {
      canvas.DrawTransparent(at.x, at.y, *f.glyph, f.glyph->Pixel(0, f.glyph->Height() - 1));
    }
  }
  if (!f.caption.empty())
    theme.DrawTextRect(kPushButtonPart, s, f.caption, text, ui::kDtCenter | ui::kDtVCenter | ui::kDtSingleLine);
  canvas.SetFont(previous);
  return drew;
}

}  // namespace orvalis::controls
