// The framework bitmap button's own look without visual styles: the platform's
// push-button frame, a glyph beside the caption and a focus rectangle.
#pragma once

#include <cstdint>
#include <string>

#include "ui/bitmap.h"
#include "ui/canvas.h"

namespace orvalis::ui {

enum class ButtonLayout : std::uint8_t { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

struct BitBtnFace {
  int width = 0;
  int height = 0;
  std::string caption;
  const Bitmap* glyph = nullptr;  // may be null or empty
  ButtonLayout layout = ButtonLayout::GlyphLeft;
  int spacing = 4;  // pixels between glyph and caption
  bool pressed = false;
  bool isDefault = false;
  bool focused = false;
  bool enabled = true;
  Font font;
};

struct BitBtnLayout {
  Point glyph;
  Rect text;
};

// Centres glyph and caption together as the layout says.
[[nodiscard]] BitBtnLayout LayoutBitBtn(const BitBtnFace& face, Size textSize);

// The embossed look of a disabled glyph: a white copy one pixel down and to the
// right under a grey copy; the result is transparent on its bottom-left pixel.
[[nodiscard]] Bitmap EmbossedGlyph(const Bitmap& glyph);

void PaintBitBtn(Canvas& canvas, const BitBtnFace& face);

}  // namespace orvalis::ui
