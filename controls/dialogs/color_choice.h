// The colour selection's rules without the dialog: the custom-colour text kept
// in the settings store, the dialog's 48 basic colours, how the dialog opens
// for a colour and flags, and what the caller's colour becomes afterwards.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ui/canvas.h"

namespace orvalis::controls {

// Flags of SelectColorAt and Color_Select, a bit set.
constexpr unsigned kColorAllowFullOpen = 1;  // the user may open the custom colour editor
constexpr unsigned kColorOpenFull = 2;       // the editor is open from the start
constexpr unsigned kColorWindowIsNone = 4;   // the window colour means "no colour" and is offered as black

// The system-colour reference of the window background (COLOR_WINDOW).
constexpr ui::Color kWindowColorRef = ui::SystemColor(5);

// (x, y) meaning "no position given": centre on the active form.
constexpr int kNoPosition = 65535;

// The sixteen custom colours when the settings store holds none.
extern const std::string_view kDefaultCustomColors;

// The basic colours of the platform's colour dialog, as 0x00BBGGRR, in its order.
[[nodiscard]] const std::array<ui::Color, 48>& BasicColors();

// The dialog's sixteen custom colour slots from the text: a line "ColorX=HHHHHH"
// fills slot X (A to P, either case) with the six characters after "=" read as
// hex; slots without a line are white.
[[nodiscard]] std::array<ui::Color, 16> CustomColorSlots(std::string_view text);
// The text of sixteen slots: "ColorA=" … "ColorP=" with six upper-case hex
// digits each, lines separated by CR LF.
[[nodiscard]] std::string CustomColorText(const std::array<ui::Color, 16>& slots);

// Whether the colour is one of the basic colours or equals a custom colour of
// the text (the six characters from the eighth of each line, whatever the name).
[[nodiscard]] bool IsKnownColor(ui::Color rgb, std::string_view customText);

struct ColorDialogStart {
  bool fullOpen = false;
  bool preventFullOpen = false;
  ui::Color start = 0;  // the colour the dialog shows first, 0x00BBGGRR
};

// How the dialog opens for the caller's colour `color`, which is `rgb` on screen
// (a system-colour reference resolved to its present value).
[[nodiscard]] ColorDialogStart StartColorDialog(ui::Color color, ui::Color rgb, unsigned flags,
                                                std::string_view customText);

// The caller's colour after the dialog. A colour equal to `rgb` leaves `color`
// as it was, so a system-colour reference survives choosing its own value.
[[nodiscard]] ui::Color ColorAfterDialog(ui::Color color, ui::Color rgb, unsigned flags, bool confirmed,
                                         ui::Color chosen);

}  // namespace orvalis::controls
