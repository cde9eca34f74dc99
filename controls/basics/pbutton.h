// PButton: the framework's plain push button with the package's stored-only properties.
#pragma once

#include <string>

#include "ui/button.h"

namespace orvalis::controls {

class PButton : public ui::Button {
 public:
  PButton();
  ~PButton() override;

  bool StoreInFile = true;
  bool CalcFormControls = false;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool ColumnFooter = false;
  bool ColumnHeader = false;
  bool RowHeader = false;
  std::string AnsiTag;
};

}  // namespace orvalis::controls
