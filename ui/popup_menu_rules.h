// The pop-up menu's rules that need no window: captions shown literally, and
// where the menu opens beside the control it belongs to.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvalis::ui {

// Item state bits of AddPopupItem.
inline constexpr int kPopupDisabled = 1;
inline constexpr int kPopupChecked = 2;
inline constexpr int kPopupDefault = 4;
inline constexpr int kPopupInsertFirst = 8;

// Alignment of the menu against its anchor.
inline constexpr int kPopupAlignLeft = 0;
inline constexpr int kPopupAlignRight = 1;
inline constexpr int kPopupAlignCenter = 2;

// Doubles every single "&" so that the caption shows its ampersands and no
// item gets an accelerator letter; a "&&" pair is left as it is.
[[nodiscard]] std::string LiteralMenuCaption(std::string_view caption);

struct PopupPoint {
  int x = 0;
  int y = 0;
};
struct PopupRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PopupRect&, const PopupRect&) = default;
};

// The anchor in the control's client coordinates: its bottom edge, at the
// left, the right (width - 1) or the middle (half the width, ties to even).
[[nodiscard]] PopupPoint PopupAnchor(int width, int height, int alignment);

// The rectangle the menu must not cover, around a screen anchor made by
// PopupAnchor: the control's height above the anchor and its width on the
// aligned side, so the menu opens below the control or above it, never over it.
[[nodiscard]] PopupRect PopupExclusion(PopupPoint screenAnchor, int width, int height, int alignment);

// TrackPopupMenuEx flags: the command is returned, the alignment applied, and
// with an exclusion rectangle the menu is kept out of it vertically.
[[nodiscard]] unsigned PopupTrackFlags(int alignment, bool withExclusion);

}  // namespace orvalis::ui
