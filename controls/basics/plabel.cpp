// PLabel's link hover.
#include "controls/basics/plabel.h"

#include "ui/application.h"

namespace orvalis::controls {

PLabel::PLabel() { SetAutoSize(false); }

PLabel::~PLabel() = default;

void PLabel::SetFontStyle(std::uint8_t style) {
  ui::Font f = GetFont();
  f.style = style;
  SetFont(f);
}

void PLabel::SetScreenCursor(int cursor) { ui::Screen::SetCursor(cursor); }

void PLabel::WndProc(ui::Message& m) {
  if (m.msg == ui::CM_MOUSEENTER) LinkMouseEnter(link_, *this);
  if (m.msg == ui::CM_MOUSELEAVE) LinkMouseLeave(link_, *this);
  ui::Label::WndProc(m);
}

void PLabel::Click() {
  LinkClick(*this);
  ui::Label::Click();
}

}  // namespace orvalis::controls
