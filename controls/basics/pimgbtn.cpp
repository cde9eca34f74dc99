// PImgBtn's state, theme and paint.
#include "controls/basics/pimgbtn.h"

namespace orvalis::controls {

PImgBtn::PImgBtn() { SetBounds(0, 0, 50, 25); }

PImgBtn::~PImgBtn() { theme_.reset(); }

void PImgBtn::SetText(std::string_view caption) {
  caption_ = caption;
  Invalidate();
}

void PImgBtn::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  ui::GraphicControl::SetEnabled(enabled);
  Invalidate();
}

void PImgBtn::SetFont(const ui::Font& font) {
  font_ = font;
  Invalidate();
}

void PImgBtn::SetAlt(bool alternate) {
  alternate_ = alternate;
  Invalidate();
}
void PImgBtn::SetStretchMode(PImgStretchMode mode) {
  stretchMode_ = mode;
  Invalidate();
}
void PImgBtn::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}
void PImgBtn::SetTransparentMode(ui::TransparentMode mode) {
  transparentMode_ = mode;
  Invalidate();
}
void PImgBtn::SetTransparentColor(ui::Color color) {
  transparentColor_ = color;
  Invalidate();
}
void PImgBtn::SetAlignment(ui::Alignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void PImgBtn::SetThemeClass(std::string_view themeClass) {
  if (themeClass == themeClass_) return;
  themeClass_ = themeClass;
  LoadTheme();
  Invalidate();
}

void PImgBtn::SetThemePart(int part) {
  if (part == themePart_) return;
  themePart_ = part;
  Invalidate();
}

void PImgBtn::LoadTheme() {
  theme_.reset();
  if (Parent()) theme_.reset(ThemeOpen(Parent()->Handle(), themeClass_));
}

void PImgBtn::Loaded() { LoadTheme(); }

void PImgBtn::MouseDown(ui::MouseButton button, unsigned keys, int x, int y) {
  pressed_ = true;
  Invalidate();
  ui::GraphicControl::MouseDown(button, keys, x, y);
}

void PImgBtn::MouseUp(ui::MouseButton button, unsigned keys, int x, int y) {
  if (pressed_) {
    pressed_ = false;
    Invalidate();
  }
  ui::GraphicControl::MouseUp(button, keys, x, y);
}

void PImgBtn::Click() {
  if (pressed_) {
    pressed_ = false;
    Invalidate();
  }
  Invalidate();
  ui::GraphicControl::Click();
}

void PImgBtn::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_PRINTCLIENT:
      if (m.wParam && ThemeDrawBackground(theme_.get(), Parent() ? Parent()->HandleIfCreated() : nullptr,
                                          reinterpret_cast<HDC>(m.wParam), themePart_, pressed_ ? 3 : 1, 0)) {
        m.result = 0;
        return;
      }
      break;
    case WM_THEMECHANGED: LoadTheme(); break;
    case WM_CAPTURECHANGED:
      // Another window took the mouse during the press: the button is up again.
      if (pressed_) {
        pressed_ = false;
        Invalidate();
      }
      break;
    default: break;
  }
  ui::GraphicControl::WndProc(m);
}

ImageButtonFace PImgBtn::Face() const {
  ImageButtonFace f;
  f.width = Width();
  f.height = Height();
  f.pressed = pressed_;
  f.enabled = Enabled();
  f.alternate = alternate_;
  f.stretchMode = stretchMode_;
  f.glyph = &glyph_;
  f.glyphDisabled = &glyphDisabled_;
  f.glyphUp = &glyphUp_;
  f.glyphDown = &glyphDown_;
  f.altGlyphUp = &altGlyphUp_;
  f.altGlyphDown = &altGlyphDown_;
  f.font = font_;
  f.caption = caption_;
  f.alignment = alignment_;
  f.transparent = transparent_;
  f.transparentMode = transparentMode_;
  f.transparentColor = transparentColor_;
  f.color = color_;
  f.themePart = themePart_;
  return f;
}

void PImgBtn::Paint(ui::Canvas& canvas) {
  auto& gdi = dynamic_cast<ui::GdiCanvas&>(canvas);
  GdiThemeSurface theme(theme_.get(), nullptr, gdi);
  PaintImageButton(canvas, theme, Face());
}

}  // namespace orvalis::controls
