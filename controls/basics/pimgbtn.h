// PImgBtn: a windowless button drawn from bitmaps chosen by state, or from a
// theme part when a theme class is set and styles are on.
#pragma once

#include <string>
#include <string_view>

#include "controls/basics/pimgbtn_model.h"
#include "controls/basics/theme.h"
#include "ui/control.h"

namespace orvalis::controls {

class PImgBtn : public ui::GraphicControl {
 public:
  PImgBtn();
  ~PImgBtn() override;

  [[nodiscard]] std::string GetText() const { return caption_; }
  void SetText(std::string_view caption);
  void SetEnabled(bool enabled) override;

  void SetGlyph(const ui::Bitmap& b) { Copy(glyph_, b); }
  void SetGlyphDisabled(const ui::Bitmap& b) { Copy(glyphDisabled_, b); }
  void SetGlyphUp(const ui::Bitmap& b) { Copy(glyphUp_, b); }
  void SetGlyphDown(const ui::Bitmap& b) { Copy(glyphDown_, b); }
  void SetGlyphFocus(const ui::Bitmap& b) { Copy(glyphFocus_, b); }
  void SetAltGlyphUp(const ui::Bitmap& b) { Copy(altGlyphUp_, b); }
  void SetAltGlyphDown(const ui::Bitmap& b) { Copy(altGlyphDown_, b); }
  void SetFont(const ui::Font& font) override;

  void SetAlt(bool alternate);
  void SetStretchMode(PImgStretchMode mode);
  void SetTransparent(bool transparent);
  void SetTransparentMode(ui::TransparentMode mode);
  void SetTransparentColor(ui::Color color);
  void SetAlignment(ui::Alignment alignment);

  [[nodiscard]] const std::string& ThemeClass() const { return themeClass_; }
  void SetThemeClass(std::string_view themeClass);
  void SetThemePart(int part);
  // Closes the theme handle and opens one against the parent's window.
  void LoadTheme();
  [[nodiscard]] HTHEME Theme() const { return theme_.get(); }
  [[nodiscard]] bool Pressed() const { return pressed_; }

  void Loaded() override;
  void Paint(ui::Canvas& canvas) override;
  void WndProc(ui::Message& m) override;
  void Click() override;

  // Stored only.
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;

 protected:
  void MouseDown(ui::MouseButton button, unsigned keys, int x, int y) override;
  void MouseUp(ui::MouseButton button, unsigned keys, int x, int y) override;

 private:
  void Copy(ui::Bitmap& field, const ui::Bitmap& value) {
    field = value;
    Invalidate();
  }
  [[nodiscard]] ImageButtonFace Face() const;

  bool pressed_ = false;
  bool alternate_ = false;
  PImgStretchMode stretchMode_ = stretchNone;
  ui::Bitmap glyph_, glyphDisabled_, glyphUp_, glyphDown_, glyphFocus_, altGlyphUp_, altGlyphDown_;
  std::string caption_;
  std::string themeClass_;
  int themePart_ = 0;
  unique_htheme theme_;
  ui::Alignment alignment_ = ui::Alignment::LeftJustify;
  bool transparent_ = true;
  ui::TransparentMode transparentMode_ = ui::TransparentMode::Automatic;
  ui::Color transparentColor_ = 0;
};

}  // namespace orvalis::controls
