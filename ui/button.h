// The framework's push buttons: `Button` is the system push button with a modal
// result and default/cancel flags; `BitBtn` is owner-drawn with a glyph beside
// its caption.
#pragma once

#include <string_view>

#include "ui/bitbtn_look.h"
#include "ui/bitmap.h"
#include "ui/control.h"

namespace orvalis::ui {

class Button : public WinControl {
 public:
  Button();
  [[nodiscard]] std::string Caption() const { return Text(); }
  void SetCaption(std::string_view caption) { SetText(caption); }
  [[nodiscard]] int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  [[nodiscard]] bool Default() const { return default_; }
  void SetDefault(bool value);
  [[nodiscard]] bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }

  // Sets the form's modal result (when the button has one), then the click event.
  void Click() override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(Message& m) override;

 private:
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

class BitBtn : public Button {
 public:
  BitBtn();
  [[nodiscard]] const Bitmap& Glyph() const { return glyph_; }
  void SetGlyph(const Bitmap& glyph);
  [[nodiscard]] ButtonLayout Layout() const { return layout_; }
  void SetLayout(ButtonLayout layout);
  [[nodiscard]] int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

 protected:
  void MakeCreateParams(CreateParams& params) override;
  // Draws the classic look on the reflected WM_DRAWITEM.
  void WndProc(Message& m) override;

 private:
  Bitmap glyph_;
  ButtonLayout layout_ = ButtonLayout::GlyphLeft;
  int spacing_ = 4;
};

}  // namespace orvalis::ui
