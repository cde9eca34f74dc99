// The framework panel's own look: bevels, the fill in its colour and the
// caption. Controls built on the panel call it before adding their own drawing.
#pragma once

#include <cstdint>
#include <string>

#include "ui/canvas.h"

namespace orvalis::ui {

enum class Bevel : std::uint8_t { None, Lowered, Raised };
enum class Alignment : std::uint8_t { LeftJustify, RightJustify, Center };

struct PanelFrame {
  int width = 0;
  int height = 0;
  Bevel outer = Bevel::Raised;
  Bevel inner = Bevel::None;
  int bevelWidth = 1;
  Color color = kBtnFace;
  std::string caption;
  Alignment alignment = Alignment::Center;
  Font font;
};

// Outlines `r` `width` times, upper-left lines in one colour and lower-right in
// the other, and leaves `r` inset by `width`.
void Frame3D(Canvas& canvas, Rect& r, Color topLeft, Color bottomRight, int width);

void PaintPanelFrame(Canvas& canvas, const PanelFrame& panel);

}  // namespace orvalis::ui
