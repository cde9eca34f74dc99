// The progress window of an install pass (TfrmProgress): a caption line, the
// current step or file, and a bar. Repainted explicitly, since the run pumps
// no messages while it works.
#pragma once

#include <string>

#include "setup/window_parts.h"

namespace orvalis {

class TfrmProgress final : public SetupForm {
 public:
  TfrmProgress(const std::string& caption, int maximum);

  void SetStep(const std::string& text);
  void SetPosition(int position);
  [[nodiscard]] int Position() const;
  void Repaint();

 private:
  TextLabel* label_ = nullptr;
  ProgressBar* bar_ = nullptr;
};

}  // namespace orvalis
