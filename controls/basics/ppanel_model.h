// The panel's owner-drawn boxes: rounded boxes with shadow, border, gradients,
// corner nails and a caption tab, painted onto any canvas.
#pragma once

#include <cstdint>

#include "controls/basics/theme_surface.h"
#include "ui/canvas.h"
#include "ui/panel_look.h"

namespace orvalis::controls {

using ui::Color;

enum PPanelDM : std::uint8_t {
  dmNormal,
  dmPanel,
  dmGradientHorizontal,
  dmGradientVertical,
  dmGradientDiagonal1,
  dmGradientDiagonal2,
  dmGradientBorder,
  dmHeader,
  dmCard,
  dmBaseline,
};

// The paint-relevant properties, with the panel's constructor values.
struct PanelLook {
  int NailSize = 0;
  Color NailColor = 0;
  int BoxHeight = 0;
  int ShadowWidth = 0;
  int BorderSize = 0;
  Color PanelColor = 0;
  Color ShadowColor = 0;
  Color PanelPenColor = 0;
  Color ShadowPenColor = 0;
  Color Gradient1Color = 0;
  Color Gradient2Color = 0;
  int Gradient1Pos = 0;
  int Gradient2Pos = 0;
  int GradientWidth = 0;
  int GradientSize = 0;
  bool GradientPositions = false;
  PPanelDM DrawMode = dmNormal;
  int ThemePart = 0;
  int ThemeState = 0;
};

struct PanelPaintInput {
  PanelLook look;
  ui::PanelFrame frame;  // size, bevels, Color, caption and font of the framework panel
  ui::Size client;       // client width and height (the nails' corners)
  bool visible = true;
};

// The three-stop gradient PanelColor → Gradient1Color → Gradient2Color at a
// percentage of the run.
[[nodiscard]] Color GradientColor(const PanelLook& look, double percent);

// Channel-wise from + (to − from) × num / den in integers; den 0 gives `from`.
[[nodiscard]] Color BlendColor(Color from, Color to, int num, int den);

// A 9 × 8 slider thumb with its point up at (x, y).
void DrawPositionMarker(ui::Canvas& canvas, int x, int y);

// A shaded nail head with a slot in the square whose upper-left corner is (x1, y1).
void DrawNail(ui::Canvas& canvas, Color nailColor, int x1, int y1, int x2, int y2);

void PaintPanel(ui::Canvas& canvas, ThemeSurface& theme, const PanelPaintInput& in);

}  // namespace orvalis::controls
