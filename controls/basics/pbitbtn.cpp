// PBitBtn's window procedure and themed paint.
#include "controls/basics/pbitbtn.h"

namespace orvalis::controls {

PBitBtn::PBitBtn() { LoadTheme(); }

PBitBtn::~PBitBtn() { theme_.reset(); }

void PBitBtn::SetCaption(std::string_view caption) {
  SetText(caption);
  Invalidate();
}

void PBitBtn::SetGrayed(bool grayed) {
  grayed_ = grayed;
  Invalidate();
}

void PBitBtn::Loaded() {
  LoadTheme();
  ui::BitBtn::Loaded();
}

void PBitBtn::LoadTheme() {
  if (!Parent()) return;
  theme_.reset();
  theme_.reset(ThemeOpen(Handle(), "Button"));
}

void PBitBtn::MouseDown(ui::MouseButton button, unsigned keys, int x, int y) {
  states_.MouseDown(*this);
  ui::BitBtn::MouseDown(button, keys, x, y);
}

void PBitBtn::MouseUp(ui::MouseButton button, unsigned keys, int x, int y) {
  states_.MouseUp(*this);
  ui::BitBtn::MouseUp(button, keys, x, y);
}

void PBitBtn::MouseMove(unsigned keys, int x, int y) {
  states_.MouseMove(*this);
  ui::BitBtn::MouseMove(keys, x, y);
}

bool PBitBtn::TrackMouseLeave() {
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, HandleIfCreated(), 0};
  return tme.hwndTrack && ::TrackMouseEvent(&tme) != FALSE;
}

bool PBitBtn::PaintThemed(HDC given) {
  HWND hwnd = HandleIfCreated();
  win::paint_scope scope(hwnd, given);
  if (!scope.dc()) return false;
  ui::GdiCanvas canvas(scope.dc());
  GdiThemeSurface theme(theme_.get(), hwnd, canvas);
  ThemedButtonFace face;
  face.width = Width();
  face.height = Height();
  face.state = states_.State();
  face.focused = Focused();
  face.enabled = Enabled() && ::IsWindowEnabled(hwnd);
  face.grayed = grayed_;
  face.caption = GetCaption();
  face.glyph = &Glyph();
  face.layout = Layout();
  face.font = GetFont();
  return PaintThemedButton(canvas, theme, face);
}

void PBitBtn::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_CREATE:
    case WM_THEMECHANGED: LoadTheme(); break;
    case WM_MOUSELEAVE: states_.MouseLeave(*this); break;
    case WM_NCPAINT:
      if (theme_) {
        m.result = 0;
        return;
      }
      break;
    case WM_PAINT:
      if (theme_ && PaintThemed(reinterpret_cast<HDC>(m.wParam))) {
        m.result = 0;
        return;
      }
      break;
    case ui::CN_DRAWITEM:
      // The reflected owner draw carries its context in the draw-item record.
      if (theme_ && PaintThemed(reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam)->hDC)) {
        m.result = TRUE;
        return;
      }
      break;
    default: break;
  }
  ui::BitBtn::WndProc(m);
}

}  // namespace orvalis::controls
