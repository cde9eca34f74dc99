// The main dialog (TSForm): product, version, product information, install
// folder with its folder menu, and the custom-installation box. It lives for
// the whole run and is shown again by every install pass.
#pragma once

#include "controls/basics/pbitbtn.h"
#include "controls/rich/prichedit.h"
#include "setup/setup_host.h"
#include "setup/window_parts.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/text_label.h"

namespace orvalis {
// Result codes of the window while a pass shows it.
enum MainWindowResult : int { kMainOpen = 0, kMainInstall = 1, kMainCancel = 2 };

class TSForm final : public SetupForm {
 public:
  TSForm();
  // Fills and lays out the window from `model`, shows it and handles messages
  // until Install, Cancel or the close box; on Install the box and the folder
  // text go back into `model`. The window stays shown.
  MainDialogResult ShowDialog(MainDialogModel& model);

 protected:
  void WndProc(ui::Message& m) override;

 private:
  void Fill(const MainDialogModel& model);
  void FolderMenu();

  int result_ = kMainOpen;
  const MainDialogModel* model_ = nullptr;
  controls::PPanel& pBack_;
  controls::PPanel& header_;
  ui::TextLabel& label_;
  controls::PPanel& rtfBox_;
  controls::PRichEdit& rtf_;
  controls::PPanel& setupBox_;
  ui::TextLabel& lFolder_;
  ui::EditBox& path_;
  controls::PBitBtn& btnBrowse_;
  FrameCheckBox& chkCustom_;
  controls::PBitBtn& btnCancel_;
  controls::PBitBtn& btnInstall_;
  ui::TextLabel& vLabel_;
};

}  // namespace orvalis
