// Run-or-install question: Cancel (also Esc), Execute and Install (the default).
#include "setup/select_install_window.h"

#include "controls/basics/pbitbtn.h"
#include "setup/texts.h"
#include "ui/text_label.h"

namespace orvalis {

TfrmSelectInstall::TfrmSelectInstall(const RunOrInstallTexts& texts) : SetupForm("frmSelectInstall", true) {
  SetCaption(kDialogCaption);
  auto& back = Add<controls::PPanel>(*this, "pBack", 0, 0, 389, 81);
  LookAsBackground(back);
  auto& l = Add<ui::TextLabel>(back, "l", 7, 20, 374, 33);
  l.SetFont(DialogFont());
  l.SetCentered(true);
  l.SetWordWrap(true);
  l.SetCaption(texts.question);
  auto& cancel = Add<controls::PBitBtn>(back, "btnCancel", 4, 51, 85, 25);
  auto& execute = Add<controls::PBitBtn>(back, "btnExecute", 164, 51, 108, 25);
  auto& install = Add<controls::PBitBtn>(back, "btnInstall", 276, 51, 108, 25);
  for (auto* b : {&cancel, &execute, &install}) b->SetFont(DialogFont());
  cancel.SetCaption(texts.cancelCaption);
  cancel.SetModalResult(ui::mrCancel);
  cancel.SetCancel(true);
  execute.SetCaption(texts.executeCaption);
  execute.SetModalResult(ui::mrYes);
  install.SetCaption(texts.installCaption);
  install.SetModalResult(ui::mrOk);
  install.SetDefault(true);
  SetClientSize(back.Width(), back.Height());
}

RunChoice TfrmSelectInstall::Choose() {
  switch (ShowModal()) {
    case ui::mrYes: return RunChoice::kExecute;
    case ui::mrOk: return RunChoice::kInstall;
    default: return RunChoice::kCancelled;
  }
}

}  // namespace orvalis
