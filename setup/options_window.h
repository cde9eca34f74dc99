// The options dialog (TfrmCustom) of a custom installation: optional files,
// software-list entry, program start and shortcuts.
#pragma once

#include "setup/setup_host.h"
#include "setup/window_parts.h"
#include "ui/check_box.h"
#include "ui/list_box.h"

namespace orvalis {

class TfrmCustom final : public SetupForm {
 public:
  explicit TfrmCustom(const OptionsDialogModel& model);
  // Shows the dialog modally; on Install the ticks go back into `model`.
  bool Confirm(OptionsDialogModel& model);

 private:
  ui::CheckListBox* list_ = nullptr;
  ui::CheckBox* chkUnInstall_ = nullptr;
  ui::CheckBox* chkRun_ = nullptr;
  ui::CheckBox* chkLink_ = nullptr;
  ui::CheckBox* chkMenu_ = nullptr;
};

}  // namespace orvalis
