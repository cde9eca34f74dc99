// The image button's look: a background image chosen by state, drawn whole,
// stretched or nine-sliced, with a glyph and caption on top.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "controls/basics/theme_surface.h"
#include "ui/bitmap.h"
#include "ui/panel_look.h"

namespace orvalis::controls {

enum PImgStretchMode : std::uint8_t { stretchNone, stretchTotal, stretchCenter };

struct ImageButtonFace {
  int width = 50;
  int height = 25;
  bool pressed = false;
  bool enabled = true;
  bool alternate = false;
  PImgStretchMode stretchMode = stretchNone;
  const ui::Bitmap* glyph = nullptr;
  const ui::Bitmap* glyphDisabled = nullptr;
  const ui::Bitmap* glyphUp = nullptr;
  const ui::Bitmap* glyphDown = nullptr;
  const ui::Bitmap* altGlyphUp = nullptr;
  const ui::Bitmap* altGlyphDown = nullptr;
  ui::Font font;
  std::string caption;
  ui::Alignment alignment = ui::Alignment::LeftJustify;
  bool transparent = true;
  ui::TransparentMode transparentMode = ui::TransparentMode::Automatic;
  ui::Color transparentColor = 0;
  ui::Color color = ui::kBtnFace;  // the brush that replaces the transparent colour in nine slices
  int themePart = 0;
};

// The background for the state; null when there is none.
[[nodiscard]] const ui::Bitmap* ChooseBackground(const ImageButtonFace& face);

struct SlicePiece {
  ui::Rect source;
  ui::Rect dest;
};

// Corners kept, edges and centre stretched from the middle row, column and pixel:
// top-left, bottom-left, top-right, bottom-right, left, top, right, bottom, centre.
[[nodiscard]] std::array<SlicePiece, 9> NineSlice(int imageWidth, int imageHeight, int width, int height);

void PaintImageButton(ui::Canvas& canvas, ThemeSurface& theme, const ImageButtonFace& face);

}  // namespace orvalis::controls
