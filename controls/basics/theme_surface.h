// The visual-styles theme as paint code sees it: one theme handle already bound
// to the control's window and to the canvas being painted. Without a theme
// every call answers false or 0 and the control draws its classic look.
#pragma once

#include <optional>
#include <string_view>

#include "ui/canvas.h"

namespace orvalis::controls {

class ThemeSurface {
 public:
  virtual ~ThemeSurface() = default;
  // The part over the window's client rectangle, the parent's background first
  // where the part is partly transparent.
  virtual bool DrawBackground(int part, int state, int sizeFlags) = 0;
  // The part over the canvas's clip box, without a window.
  virtual bool DrawPart(int part, int state, int sizeFlags) = 0;
  virtual bool DrawTextRect(int part, int state, std::string_view text, const ui::Rect& r, unsigned flags) = 0;
  // Width in pixels, 0 on any failure.
  virtual int TextWidth(int part, int state, std::string_view text, const ui::Rect& bounds, unsigned flags) = 0;
};

class NoTheme final : public ThemeSurface {
 public:
  bool DrawBackground(int, int, int) override { return false; }
  bool DrawPart(int, int, int) override { return false; }
  bool DrawTextRect(int, int, std::string_view, const ui::Rect&, unsigned) override { return false; }
  int TextWidth(int, int, std::string_view, const ui::Rect&, unsigned) override { return 0; }
};

// The rectangle a part is drawn into for the size flags of the drawing helper:
// above 0, bit 0 keeps the part's natural width at the left edge, otherwise bit 1
// at the right edge; without a part size (the query failed) the rectangle stays whole.
[[nodiscard]] ui::Rect SizedPartRect(const ui::Rect& r, int sizeFlags, std::optional<int> partWidth);

}  // namespace orvalis::controls
