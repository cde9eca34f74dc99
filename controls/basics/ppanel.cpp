// PPanel's window procedure and paint.
#include "controls/basics/ppanel.h"

#include <windowsx.h>

namespace orvalis::controls {

// The property of a part's first gradient colour.
constexpr int kGradientColor1 = 3810;

PPanel::PPanel() {
  SetCaption("");
  SetBounds(0, Top(), 601, Height());
}

PPanel::~PPanel() {
  AnsiTag.clear();
  theme_.reset();
}

void PPanel::SetThemeClass(std::string_view themeClass) {
  if (themeClass == themeClass_) return;
  themeClass_ = themeClass;
  LoadTheme();
  Invalidate();
}

void PPanel::LoadTheme() {
  theme_.reset();
  theme_.reset(ThemeOpen(Handle(), themeClass_));
}

// Inner boxes on a themed back panel take its colour so their corners blend in.
void PPanel::AdoptParentThemeColor() {
  auto* parent = dynamic_cast<PPanel*>(Parent());
  if (look_.BoxHeight == 0 || look_.DrawMode == dmNormal || !parent || parent->ThemeClass().empty()) return;
  unique_htheme temporary(ThemeOpen(parent->Handle(), parent->ThemeClass()));
  COLORREF color = 0;
  if (ThemeGetColor(temporary.get(), parent->Look().ThemePart, parent->Look().ThemeState, kGradientColor1, color))
    color_ = color;
}

void PPanel::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_CREATE: AdoptParentThemeColor(); break;
    case WM_ERASEBKGND:
      if (Visible() && !themeClass_.empty()) {
        m.result = 0;
        return;
      }
      break;
    case WM_PRINTCLIENT:
      if (Visible() && m.wParam &&
          ThemeDrawBackground(theme_.get(), HandleIfCreated(), reinterpret_cast<HDC>(m.wParam), look_.ThemePart,
                              look_.ThemeState, 0)) {
        m.result = 0;
        return;
      }
      break;
    case WM_THEMECHANGED: LoadTheme(); break;
    case WM_MOUSEWHEEL: {
      int delta = GET_WHEEL_DELTA_WPARAM(m.wParam);
      if (OnMouseWheel) OnMouseWheel(*this, delta);
      if (delta < 0 && OnMouseWheelDown) OnMouseWheelDown(*this);
      if (delta > 0 && OnMouseWheelUp) OnMouseWheelUp(*this);
      break;
    }
    default: break;
  }
  ui::Panel::WndProc(m);
}

void PPanel::Paint(ui::Canvas& canvas) {
  auto& gdi = dynamic_cast<ui::GdiCanvas&>(canvas);
  GdiThemeSurface theme(theme_.get(), HandleIfCreated(), gdi);
  PanelPaintInput in;
  in.look = look_;
  in.frame = Frame();
  in.client = ClientSize();
  in.visible = Visible();
  PaintPanel(canvas, theme, in);
}

}  // namespace orvalis::controls
