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
  // Messages sent from other threads and programs (such as a request for a
  // window's text) are answered here, and the window system gets to report
  // what it uncovered, since the run pumps no queue while it works; posted
  // input stays queued.
  MSG pending;
  ::PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  constexpr unsigned long long kMinimumInterval = 50;  // ms: 20 pictures a second
  const unsigned long long now = ::GetTickCount64();
  if (!force && lastPaint_ != 0 && now - lastPaint_ < kMinimumInterval) return;
  lastPaint_ = now;
  if (pending_) {
    label_->SetCaption(step_);
    bar_->SetPosition(position_);
    pending_ = false;
  }
  if (HWND h = HandleIfCreated())
    ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace orvalis
