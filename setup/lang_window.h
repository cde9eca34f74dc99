// The language dialog (TfrmLang): Dutch or English for the whole run.
#pragma once

#include "setup/setup_host.h"
#include "setup/window_parts.h"
#include "ui/list_box.h"
#include "ui/text_label.h"

namespace orvalis {

class TfrmLang final : public SetupForm {
 public:
  TfrmLang();
  // Shows the dialog modally: the chosen language, or cancelled.
  LanguageChoice Choose();

 private:
  void Accept();
  void Cancel();

  controls::PPanel& pBack_;
  ui::TextLabel& l_;
  ui::ListBox& list_;
};

}  // namespace orvalis
