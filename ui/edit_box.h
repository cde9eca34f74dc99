// A single-line system edit box with a sunken border.
#pragma once

#include "ui/control.h"

namespace orvalis::ui {

class EditBox : public WinControl {
 public:
  EditBox();

 protected:
  void MakeCreateParams(CreateParams& params) override;
};

}  // namespace orvalis::ui
