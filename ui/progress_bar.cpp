// The progress bar.
#include "ui/progress_bar.h"

#include <commctrl.h>

namespace orvalis::ui {

void ProgressBar::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = PROGRESS_CLASSW;
  params.systemClass = true;
  params.style &= ~DWORD(WS_TABSTOP);
}

void ProgressBar::HandleCreated() {
  ::SendMessageW(HandleIfCreated(), PBM_SETRANGE32, WPARAM(minimum_), LPARAM(maximum_));
  ::SendMessageW(HandleIfCreated(), PBM_SETPOS, WPARAM(position_), 0);
}

void ProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, PBM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
}

void ProgressBar::SetPosition(int position) {
  position_ = position;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, PBM_SETPOS, WPARAM(position), 0);
}

}  // namespace orvalis::ui
