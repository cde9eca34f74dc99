// The colour selection's rules without the dialog.
#include "controls/dialogs/color_choice.h"

#include <algorithm>
#include <cstdlib>

#include "core/hex.h"
#include "core/text.h"

namespace orvalis::controls {
namespace {

// The lines of a text split at LF with a CR before it dropped; a text that
// ends with a line break has no empty last line.
template <typename F>
void ForEachLine(std::string_view text, F f) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    f(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

// The colour of a line: the six characters from the eighth, fewer when the line is shorter.
ui::Color LineColor(std::string_view line) { return HexToColor(line.size() > 7 ? line.substr(7, 6) : ""); }

}  // namespace

const std::string_view kDefaultCustomColors =
    "ColorA=000000\r\nColorB=800000\r\nColorC=000080\r\nColorD=800080\r\nColorE=008000\r\nColorF=808000\r\n"
    "ColorG=008080\r\nColorH=C0C0C0\r\nColorI=808080\r\nColorJ=FF0000\r\nColorK=0000FF\r\nColorL=FF00FF\r\n"
    "ColorM=00FF00\r\nColorN=FFFF00\r\nColorO=00FFFF\r\nColorP=FFFFFF";

const std::array<ui::Color, 48>& BasicColors() {
  static constexpr std::array<ui::Color, 48> kBasic = {
      0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000, 0xC080FF, 0xFF80FF, 0x0000FF, 0x00FFFF,
      0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080, 0xFF00FF, 0x404080, 0x4080FF, 0x00FF00, 0x808000,
      0x804000, 0xFF8080, 0x400080, 0x8000FF, 0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000,
      0x800080, 0xFF0080, 0x000040, 0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040,
      0x000000, 0x008080, 0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x400040, 0xFFFFFF,
  };
  return kBasic;
}

std::array<ui::Color, 16> CustomColorSlots(std::string_view text) {
  std::array<ui::Color, 16> slots;
  slots.fill(0xFFFFFF);
  ForEachLine(text, [&](std::string_view line) {
    if (line.size() < 7 || !SameText(line.substr(0, 5), "Color") || line[6] != '=') return;
    char letter = line[5];
    if (letter >= 'a' && letter <= 'p') letter = char(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'P') return;
    slots[std::size_t(letter - 'A')] = LineColor(line);
  });
  return slots;
}

std::string CustomColorText(const std::array<ui::Color, 16>& slots) {
  std::string text;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += "Color";
    text += char('A' + i);
    text += '=';
    text += PaddedNumber(slots[i] & 0xFFFFFF, 6, 16);
  }
  return text;
}

bool IsKnownColor(ui::Color rgb, std::string_view customText) {
  const auto& basic = BasicColors();
  if (std::find(basic.begin(), basic.end(), rgb) != basic.end()) return true;
  bool known = false;
  ForEachLine(customText, [&](std::string_view line) { known = known || LineColor(line) == rgb; });
  return known;
}

ColorDialogStart StartColorDialog(ui::Color color, ui::Color rgb, unsigned flags, std::string_view customText) {
  ColorDialogStart s;
  s.fullOpen = !IsKnownColor(rgb, customText) || (flags & kColorOpenFull) != 0;
  s.preventFullOpen = (flags & kColorAllowFullOpen) == 0;
  s.start = (flags & kColorWindowIsNone) != 0 && color == kWindowColorRef ? 0 : rgb;
  return s;
}

ui::Color ColorAfterDialog(ui::Color color, ui::Color rgb, unsigned flags, bool confirmed, ui::Color chosen) {
  if (!confirmed || chosen == rgb) return color;
  if ((flags & kColorWindowIsNone) != 0 && chosen == 0) return kWindowColorRef;
  return chosen;
}

}  // namespace orvalis::controls
