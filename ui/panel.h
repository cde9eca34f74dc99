// The framework panel: a windowed container with bevels, a background colour
// and a centred caption.
#pragma once

#include <string_view>

#include "ui/control.h"
#include "ui/panel_look.h"

namespace orvalis::ui {

class Panel : public WinControl {
 public:
  Panel();
  [[nodiscard]] std::string Caption() const { return Text(); }
  void SetCaption(std::string_view caption) { SetText(caption); }
  [[nodiscard]] Bevel BevelOuter() const { return outer_; }
  void SetBevelOuter(Bevel b);
  [[nodiscard]] Bevel BevelInner() const { return inner_; }
  void SetBevelInner(Bevel b);
  [[nodiscard]] int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int w);
  [[nodiscard]] Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void Paint(Canvas& canvas) override;
  // The framework's standard panel painting (bevels, fill, caption).
  [[nodiscard]] PanelFrame Frame() const;

 private:
  Bevel outer_ = Bevel::Raised;
  Bevel inner_ = Bevel::None;
  int bevelWidth_ = 1;
  Alignment alignment_ = Alignment::Center;
};

}  // namespace orvalis::ui
