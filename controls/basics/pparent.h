// PParent: the framework panel with the package's stored-only properties.
#pragma once

#include "ui/panel.h"

namespace orvalis::controls {

class PParent : public ui::Panel {
 public:
  PParent();
  bool StoreInFile = true;
  bool CalcControls = false;
  bool CalcForms = false;
};

}  // namespace orvalis::controls
