// Color_Select, the colour selection exported from the setup executable for
// callers outside the program. Linked into the setup executable only, as an
// object of its own, so the export is there whether or not the program itself
// selects colours.
#include <cstdint>

#include "controls/color_select.h"

extern "C" __declspec(dllexport) int __cdecl Color_Select(void* /*ignored*/, std::uint32_t* colour, int flags) {
  if (colour == nullptr) return 0;
  orvalis::ui::Color value = *colour;
  bool confirmed = false;
  try {
    confirmed = orvalis::controls::SelectColorAt(value, unsigned(flags), orvalis::controls::kNoPosition,
                                                 orvalis::controls::kNoPosition);
  } catch (...) {
    return 0;  // nothing escapes to a foreign caller
  }
  *colour = value;
  return confirmed ? 1 : 0;
}
