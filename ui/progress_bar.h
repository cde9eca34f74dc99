// The system progress bar; range and position are kept until the window exists.
#pragma once

#include "ui/control.h"

namespace orvalis::ui {

class ProgressBar : public WinControl {
 public:
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  [[nodiscard]] int Position() const { return position_; }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

}  // namespace orvalis::ui
