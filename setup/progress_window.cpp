// Progress window: a framed box on the themed background.
#include "setup/progress_window.h"

#include "setup/texts.h"

namespace orvalis {

TfrmProgress::TfrmProgress(const std::string& caption, int maximum) : SetupForm("frmProgress", false) {
  SetCaption(kApplicationTitle);
  auto& back = Add<controls::PPanel>(*this, "pBack", 0, 0, 353, 89);
  LookAsBackground(back);
  auto& files = Add<controls::PPanel>(back, "pFiles", 8, 8, 337, 73);
  LookAsFrame(files);
  auto& lMain = Add<ui::TextLabel>(files, "lMain", 12, 8, 313, 16);
  lMain.SetCentered(true);
  lMain.SetFont(DialogFont(ui::kBold));
  lMain.SetCaption(caption);
  label_ = &Add<ui::TextLabel>(files, "Label", 12, 28, 313, 16);
  label_->SetFont(DialogFont());
  bar_ = &Add<ui::ProgressBar>(files, "Bar", 12, 48, 313, 16);
  bar_->SetRange(0, maximum);
  SetClientSize(353, 89);
  Show();
  Repaint();
}

void TfrmProgress::SetStep(const std::string& text) {
  step_ = text;
  pending_ = true;
}

void TfrmProgress::SetPosition(int position) {
  position_ = position;
  pending_ = true;
}

int TfrmProgress::Position() const { return position_; }

void TfrmProgress::Repaint(bool force) {
  constexpr unsigned long long kMinimumInterval = 50;  // ms: 20 pictures a second
  const unsigned long long now = ::GetTickCount64();
  if (!force && lastPaint_ != 0 && now - lastPaint_ < kMinimumInterval) return;
  lastPaint_ = now;
  // Messages sent from other threads and programs (such as a request for a
  // window's text) are answered here, and the window system gets to report
  // what it uncovered, since the run pumps no queue while it works; posted
  // input stays queued. Each look at the queue is a round trip to the server
  // under Wine, so it is taken as often as a picture, not once per file.
  MSG pending;
  ::PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  if (pending_) {
    // Both invalidate only themselves.
    label_->SetCaption(step_);
    bar_->SetPosition(position_);
    pending_ = false;
  }
  // Forced, the whole window is painted again; otherwise only what is invalid:
  // the label, the bar and whatever the window system uncovered. Painting the
  // themed panels as well took about 5 ms a picture under Wine.
  const UINT what = force ? RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW : RDW_ALLCHILDREN | RDW_UPDATENOW;
  if (HWND h = HandleIfCreated()) ::RedrawWindow(h, nullptr, nullptr, what);
}

}  // namespace orvalis
