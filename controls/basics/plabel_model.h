// Hyperlink hover of the label: underline and the screen-wide hand cursor
// while the mouse is over a label with a link.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvalis::controls {

constexpr int crDefault = 0;
constexpr int crHandPoint = -21;

class LinkHost {
 public:
  virtual ~LinkHost() = default;
  [[nodiscard]] virtual std::uint8_t FontStyle() const = 0;
  virtual void SetFontStyle(std::uint8_t style) = 0;
  virtual void SetScreenCursor(int cursor) = 0;
};

void LinkMouseEnter(std::string_view link, LinkHost& host);
void LinkMouseLeave(std::string_view link, LinkHost& host);
// Before the click event runs.
void LinkClick(LinkHost& host);

}  // namespace orvalis::controls
