// PMemo: the framework multi-line edit with the package's stored-only properties.
#pragma once

#include "ui/simple_controls.h"

namespace orvalis::controls {

class PMemo : public ui::Memo {
 public:
  PMemo();
  bool StoreInFile = true;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool ColumnFooter = false;
  bool RowHeader = false;
  bool QQ = false;
};

}  // namespace orvalis::controls
