// Hyperlink hover of the label.
#include "controls/basics/plabel_model.h"

#include "ui/canvas.h"

namespace orvalis::controls {

void LinkMouseEnter(std::string_view link, LinkHost& host) {
  if (link.empty()) return;
  host.SetFontStyle(host.FontStyle() | ui::kUnderline);
  host.SetScreenCursor(crHandPoint);
}

void LinkMouseLeave(std::string_view link, LinkHost& host) {
  if (link.empty()) return;
  host.SetFontStyle(host.FontStyle() & ~ui::kUnderline);
  host.SetScreenCursor(crDefault);
}

void LinkClick(LinkHost& host) { host.SetScreenCursor(crDefault); }

}  // namespace orvalis::controls
