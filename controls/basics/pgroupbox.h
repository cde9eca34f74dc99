// PGroupBox: the framework group box with the package's stored-only properties.
#pragma once

#include "ui/simple_controls.h"

namespace orvalis::controls {

class PGroupBox : public ui::GroupBox {
 public:
  PGroupBox();
  bool SizeInHeight = false;
  bool StoreInFile = true;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool Size = false;
};

}  // namespace orvalis::controls
