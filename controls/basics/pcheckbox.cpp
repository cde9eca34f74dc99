// PCheckBox's focused look and focus captions.
#include "controls/basics/pcheckbox.h"

#include "win/gdi.h"

namespace orvalis::controls {

bool HandleFocusedBox(ui::WinControl& control, HTHEME theme, ui::Message& m, int part, int state, int sizeFlags,
                      const std::function<void(ui::Message&)>& inherited) {
  switch (m.msg) {
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      if (!theme || !control.Focused()) return false;
      m.result = 0;
      return true;
    case WM_PAINT:
    case ui::CN_DRAWITEM: {
      if (!theme || !control.Focused()) return false;
      HWND hwnd = control.HandleIfCreated();
      // The inherited painting draws into the same context (WM_PAINT with a DC).
      win::paint_scope paint(hwnd, reinterpret_cast<HDC>(m.wParam));
      m.wParam = reinterpret_cast<WPARAM>(paint.dc());
      inherited(m);
      if (paint.dc()) ThemeDrawBackground(theme, hwnd, paint.dc(), part, state, sizeFlags);
      return true;
    }
    default: return false;
  }
}

PCheckBox::PCheckBox() { LoadTheme(); }

PCheckBox::~PCheckBox() { theme_.reset(); }

void PCheckBox::Loaded() {
  LoadTheme();
  ui::CheckBox::Loaded();
}

void PCheckBox::LoadTheme() {
  if (!Parent()) return;
  theme_.reset();
  theme_.reset(ThemeOpen(Handle(), "Button"));
}

void PCheckBox::WndProc(ui::Message& m) {
  if (m.msg == WM_CREATE || m.msg == WM_THEMECHANGED) LoadTheme();
  // The check state is asked of the window only for painting: asking inside
  // every message would recurse through BM_GETCHECK itself.
  int hot = 0;
  if (m.msg == WM_PAINT || m.msg == ui::CN_DRAWITEM) {
    ui::CheckBoxState s = State();
    hot = CheckBoxHotState(s == ui::CheckBoxState::Checked  ? CheckState::Checked
                           : s == ui::CheckBoxState::Grayed ? CheckState::Grayed
                                                            : CheckState::Unchecked);
  }
  if (HandleFocusedBox(*this, theme_.get(), m, kCheckBoxPart, hot, BoxSizeFlags(CaptionLeftOfBox()),
                       [this](ui::Message& x) { ui::CheckBox::WndProc(x); }))
    return;
  ui::CheckBox::WndProc(m);
  // The system redraws the box directly on clicks and focus changes: repaint
  // fully so the focused box is drawn again.
  if (m.msg == ui::CN_COMMAND) Invalidate();
}

void PCheckBox::DoEnter() {
  if (auto caption = CheckBoxEnterCaption(Caption(), bool(theme_), CaptionLeftOfBox())) SetCaption(*caption);
  Invalidate();
  ui::CheckBox::DoEnter();
}

void PCheckBox::DoExit() {
  if (auto caption = CheckBoxExitCaption(Caption())) SetCaption(*caption);
  Invalidate();
  ui::CheckBox::DoExit();
}

}  // namespace orvalis::controls
