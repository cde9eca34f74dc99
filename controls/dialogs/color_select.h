// Colour selection: the platform's colour dialog at a chosen screen position,
// with sixteen custom colours kept per user in the settings store
// ("Settings\CustomColors").
#pragma once

#include "controls/dialogs/color_choice.h"
#include "ui/canvas.h"

namespace orvalis::controls {

// Shows the colour dialog for `color` (0x00BBGGRR or a system-colour
// reference) with the flags of color_choice.h, its top-left corner at screen
// point (x, y) pulled back into that monitor's work area; kNoPosition for both
// centres it on the active form. True when the user confirmed; `color` then
// holds the choice.
[[nodiscard]] bool SelectColorAt(ui::Color& color, unsigned flags, int x, int y);

}  // namespace orvalis::controls
