// The run-or-install question (TfrmSelectInstall) of a package that may run
// without installing.
#pragma once

#include "setup/setup_host.h"
#include "setup/window_parts.h"

namespace orvalis {

class TfrmSelectInstall final : public SetupForm {
 public:
  explicit TfrmSelectInstall(const RunOrInstallTexts& texts);
  // Shows the question modally: Execute, Install, or cancelled (Cancel, Esc
  // or the close box).
  RunChoice Choose();
};

}  // namespace orvalis
