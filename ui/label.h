// The framework label: windowless text painted by its parent.
#pragma once

#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/panel_look.h"

namespace orvalis::ui {

class Label : public GraphicControl {
 public:
  Label();
  [[nodiscard]] const std::string& Caption() const { return caption_; }
  void SetCaption(std::string_view caption);
  [[nodiscard]] bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  [[nodiscard]] bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  [[nodiscard]] bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  [[nodiscard]] Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);

  void Paint(Canvas& canvas) override;

 private:
  void AdjustSize();

  std::string caption_;
  bool autoSize_ = true;
  bool transparent_ = false;
  bool wordWrap_ = false;
  Alignment alignment_ = Alignment::LeftJustify;
};

}  // namespace orvalis::ui
