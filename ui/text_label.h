// A static text with a window of its own, drawn over its parent's background:
// unlike the windowless Label, a driver in another process can find it by its
// designer name and read its text.
#pragma once

#include <string_view>

#include "ui/control.h"

namespace orvalis::ui {

class TextLabel : public WinControl {
 public:
  void SetCaption(std::string_view caption);
  void SetCentered(bool centered) { centered_ = centered; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(Message& m) override;

 private:
  void PaintText(HDC dc);

  bool centered_ = false;
  bool wordWrap_ = false;
};

}  // namespace orvalis::ui
