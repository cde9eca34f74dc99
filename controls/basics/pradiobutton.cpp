// PRadioButton's focused look and focus caption.
#include "controls/basics/pradiobutton.h"

#include "controls/basics/pcheckbox.h"

namespace orvalis::controls {

PRadioButton::PRadioButton() { LoadTheme(); }

PRadioButton::~PRadioButton() { theme_.reset(); }

void PRadioButton::Loaded() {
  LoadTheme();
  ui::RadioButton::Loaded();
}

void PRadioButton::LoadTheme() {
  if (!Parent()) return;
  theme_.reset();
  theme_.reset(ThemeOpen(Handle(), "Button"));
}

void PRadioButton::WndProc(ui::Message& m) {
  if (m.msg == WM_CREATE || m.msg == WM_THEMECHANGED) LoadTheme();
  const bool painting = m.msg == WM_PAINT || m.msg == ui::CN_DRAWITEM;
  if (HandleFocusedBox(*this, theme_.get(), m, kRadioButtonPart, painting ? RadioHotState(Checked()) : 0,
                       BoxSizeFlags(CaptionLeftOfBox()), [this](ui::Message& x) { ui::RadioButton::WndProc(x); }))
    return;
  ui::RadioButton::WndProc(m);
  if (m.msg == ui::CN_COMMAND) Invalidate();
}

void PRadioButton::DoEnter() {
  if (auto caption = RadioEnterCaption(Caption())) SetCaption(*caption);
  Invalidate();
  ui::RadioButton::DoEnter();
}

// The focused box goes with the focus.
void PRadioButton::DoExit() {
  Invalidate();
  ui::RadioButton::DoExit();
}

}  // namespace orvalis::controls
