// Pop-up menu captions and placement.
#include "ui/popup_menu_rules.h"

namespace orvalis::ui {
namespace {

// The platform's TrackPopupMenu flag values.
constexpr unsigned kTpmCenterAlign = 0x4;
constexpr unsigned kTpmRightAlign = 0x8;
constexpr unsigned kTpmVertical = 0x40;
constexpr unsigned kTpmReturnCmd = 0x100;

}  // namespace

std::string LiteralMenuCaption(std::string_view caption) {
  std::string out;
  out.reserve(caption.size() + 4);
  for (std::size_t i = 0; i < caption.size(); ++i) {
    char c = caption[i];
    out += c;
    if (c != '&') continue;
    if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;  // an existing pair stays one literal ampersand
    } else {
      out += '&';
    }
  }
  return out;
}

PopupPoint PopupAnchor(int width, int height, int alignment) {
  int x = 0;
  if (alignment == kPopupAlignRight) {
    x = width - 1;
  } else if (alignment == kPopupAlignCenter) {
    x = width / 2;
    if (width % 2 != 0 && x % 2 != 0) ++x;  // x.5 rounds to the even neighbour
  }
  return {x, height};
}

PopupRect PopupExclusion(PopupPoint screenAnchor, int width, int height, int alignment) {
  PopupRect r{screenAnchor.x, screenAnchor.y - height, screenAnchor.x + width, screenAnchor.y};
  if (alignment == kPopupAlignRight) {
    r.left = screenAnchor.x - width;
    r.right = screenAnchor.x;
  } else if (alignment == kPopupAlignCenter) {
    r.left = screenAnchor.x - width / 2;
    r.right = screenAnchor.x + width / 2;
  }
  return r;
}

unsigned PopupTrackFlags(int alignment, bool withExclusion) {
  unsigned flags = kTpmReturnCmd;
  if (alignment == kPopupAlignRight) flags |= kTpmRightAlign;
  if (alignment == kPopupAlignCenter) flags |= kTpmCenterAlign;
  if (withExclusion) flags |= kTpmVertical;
  return flags;
}

}  // namespace orvalis::ui
