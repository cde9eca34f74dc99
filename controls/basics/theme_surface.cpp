// Rectangle rule of the theme drawing helper.
#include "controls/basics/theme_surface.h"

namespace orvalis::controls {

ui::Rect SizedPartRect(const ui::Rect& r, int sizeFlags, std::optional<int> partWidth) {
  ui::Rect out = r;
  if (sizeFlags <= 0 || !partWidth) return out;
  if (sizeFlags & 1)
    out.right = out.left + *partWidth;
  else if (sizeFlags & 2)
    out.left = out.right - *partWidth;
  return out;
}

}  // namespace orvalis::controls
