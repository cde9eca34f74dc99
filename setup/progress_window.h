// The progress window of an install pass (TfrmProgress): a caption line, the
// current step or file, and a bar. Repainted explicitly, since the run pumps
// no messages while it works.
#pragma once

#include <string>

#include "setup/window_parts.h"
#include "ui/progress_bar.h"
#include "ui/text_label.h"

namespace orvalis {

class TfrmProgress final : public SetupForm {
 public:
  TfrmProgress(const std::string& caption, int maximum);

  // The step text and bar position take effect at the next repaint.
  void SetStep(const std::string& text);
  void SetPosition(int position);
  [[nodiscard]] int Position() const;
  // Shows the latest text and position. Repaints closer together than a
  // screen can usefully show are put off until the next one (a pass calls
  // this for every file, and each repaint is a round trip to the window
  // system); `force` paints now, as before a message box.
  void Repaint(bool force = false);

 private:
  ui::TextLabel* label_ = nullptr;
  ui::ProgressBar* bar_ = nullptr;
  std::string step_;
  int position_ = 0;
  bool pending_ = false;
  unsigned long long lastPaint_ = 0;
};

}  // namespace orvalis
