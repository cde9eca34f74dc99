// The date edit's window and its calendar pop-up: messages in, the model's
// text, selection and choices out.
#include "controls/entry/pdateedit.h"

#include <commctrl.h>

#include "controls/entry/edit_view.h"
#include "controls/dialogs/placement.h"
#include "ui/clipboard.h"
#include "ui/form.h"

namespace orvalis::controls {

// The borderless pop-up: losing the activation or a close request hides it.
class DatePopup : public ui::Form {
 public:
  std::function<void()> OnDeactivate;

 protected:
  void MakeCreateParams(CreateParams& params) override {
    Form::MakeCreateParams(params);
    params.exStyle |= WS_EX_TOOLWINDOW;
  }
  void WndProc(ui::Message& m) override {
    if (m.msg == WM_ACTIVATE && LOWORD(m.wParam) == WA_INACTIVE && OnDeactivate) OnDeactivate();
    if (m.msg == WM_CLOSE) {  // the pop-up is only ever hidden
      if (OnDeactivate) OnDeactivate();
      m.result = 0;
      return;
    }
    Form::WndProc(m);
  }
};

// The system month calendar with week numbers and no today marker.
class MonthCalendar : public ui::WinControl {
 public:
  std::function<void()> OnSelect;
  std::function<bool(int)> OnKey;  // true when the key is taken

  // The selected day's number, 0 when none.
  [[nodiscard]] double Day() {
    SYSTEMTIME st{};
    if (!::SendMessageW(Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st))) return 0;
    return DayNumber(st.wYear, st.wMonth, st.wDay).value_or(0);
  }
  void SetDay(double day) {
    const CalendarDay c = DayOfNumber(WholeDays(day).value_or(0));
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(c.year);
    st.wMonth = static_cast<WORD>(c.month);
    st.wDay = static_cast<WORD>(c.day);
    ::SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  }
  // The size one month needs, border included.
  [[nodiscard]] ui::Size Needed() {
    RECT r{};
    ::SendMessageW(Handle(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
    return {r.right - r.left + 2 * ::GetSystemMetrics(SM_CXBORDER),
            r.bottom - r.top + 2 * ::GetSystemMetrics(SM_CYBORDER)};
  }

 protected:
  void MakeCreateParams(CreateParams& params) override {
    WinControl::MakeCreateParams(params);
    params.className = MONTHCAL_CLASSW;
    params.systemClass = true;
    params.style |= WS_TABSTOP | WS_BORDER | MCS_WEEKNUMBERS | MCS_NOTODAY;
  }
  void WndProc(ui::Message& m) override {
    if (m.msg == ui::CN_NOTIFY && reinterpret_cast<const NMHDR*>(m.lParam)->code == MCN_SELECT && OnSelect) {
      OnSelect();
      m.result = 0;
      return;
    }
    if (m.msg == WM_KEYDOWN && OnKey && OnKey(static_cast<int>(m.wParam))) {
      m.result = 0;
      return;
    }
    WinControl::WndProc(m);
  }
};

namespace {

double Today() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return DayNumber(st.wYear, st.wMonth, st.wDay).value_or(0);
}

}  // namespace

PDateEdit::PDateEdit() {
  model_.OnChange = [this] {
    if (OnChange) OnChange(*this);
  };
}

// The calendar goes before the form it stands on.
PDateEdit::~PDateEdit() {
  if (calendar_) {
    calendar_->OnSelect = nullptr;
    calendar_->OnKey = nullptr;
  }
  if (popup_) popup_->OnDeactivate = nullptr;
  calendar_.reset();
  popup_.reset();
}

void PDateEdit::SetDate(double value) {
  model_.SetDate(value);
  Show();
}

void PDateEdit::Loaded() {
  model_.Loaded();
  Show();
  EditBox::Loaded();
}

void PDateEdit::HandleCreated() {
  Show();
  if (popup_) return;
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
  popup_ = std::make_unique<DatePopup>();
  popup_->SetBorderStyle(ui::BorderStyle::None);
  popup_->SetVisible(false);
  popup_->SetName(Name() + "Pick");
  popup_->OnDeactivate = [this] { HidePopup(false); };
  calendar_ = std::make_unique<MonthCalendar>();
  calendar_->SetName(Name() + "Calendar");
  calendar_->SetParent(popup_.get());
  calendar_->OnSelect = [this] { CalendarPick(); };
  calendar_->OnKey = [this](int key) { return CalendarKey(key); };
}

bool PDateEdit::CalendarShown() const {
  return popup_ && popup_->HandleAllocated() && ::IsWindowVisible(popup_->HandleIfCreated());
}

HWND PDateEdit::CalendarHandle() const { return popup_ ? popup_->HandleIfCreated() : nullptr; }

void PDateEdit::Show() {
  if (HWND hwnd = HandleIfCreated()) WriteEdit(hwnd, model_.Text(), model_.SelStart(), model_.SelEnd());
}

void PDateEdit::SyncSelection() {
  if (HWND hwnd = HandleIfCreated()) {
    const EditState state = ReadEdit(hwnd);
    model_.SetSelection(state.selStart, state.selEnd);
  }
}

void PDateEdit::DoDatePick() {
  HWND edit = HandleIfCreated();
  if (!popup_ || !edit) return;
  HWND popup = popup_->Handle();
  // Owned by the field's window, so it stays above it.
  ::SetWindowLongPtrW(popup, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(::GetAncestor(edit, GA_ROOT)));
  calendar_->SetDay(model_.CalendarStart(Today()));
  const ui::Size size = calendar_->Needed();
  calendar_->SetBounds(0, 0, size.cx, size.cy);
  RECT r;
  ::GetWindowRect(edit, &r);
  popup_->SetBounds(r.left, r.bottom, size.cx, size.cy);
  KeepOnScreen(*popup_);
  popup_->SetVisible(true);
  ::SetForegroundWindow(popup);
  // Placed again now that the window is shown at its size.
  popup_->SetBounds(r.left, r.bottom, size.cx, size.cy);
  KeepOnScreen(*popup_);
  calendar_->SetFocus();
  Show();
}

void PDateEdit::CalendarPick() {
  if (model_.CalendarClick(calendar_->Day())) HidePopup(true);
  Show();
}

bool PDateEdit::CalendarKey(int virtualKey) {
  switch (virtualKey) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_F4: break;
    default: return false;
  }
  const CalendarKeyResult result = PDateEditModel::CalendarKey(virtualKey, calendar_->Day());
  calendar_->SetDay(result.date);
  if (result.pick) CalendarPick();
  if (result.close) HidePopup(true);
  return true;
}

// Hides the pop-up and shows the date again; after a choice or a closing key
// the field gets the focus back.
void PDateEdit::HidePopup(bool refocus) {
  if (hiding_ || !CalendarShown()) return;
  hiding_ = true;
  popup_->SetVisible(false);
  model_.CalendarClosed();
  Show();
  hiding_ = false;
  if (refocus && HandleIfCreated()) {
    ::SetForegroundWindow(::GetAncestor(HandleIfCreated(), GA_ROOT));
    ::SetFocus(HandleIfCreated());
  }
}

void PDateEdit::WndProc(ui::Message& m) {
  HWND hwnd = HandleIfCreated();
  switch (m.msg) {
    case WM_CHAR:
      SyncSelection();
      if (model_.KeyPress(static_cast<char32_t>(m.wParam))) {
        Show();
        m.result = 0;
        return;
      }
      break;  // the clipboard keys: the EDIT sends the messages below
    case WM_KEYDOWN:
      SyncSelection();
      switch (model_.KeyDown(static_cast<int>(m.wParam))) {
        case DateKeyAction::Consumed: Show(); m.result = 0; return;
        case DateKeyAction::OpenCalendar: DoDatePick(); m.result = 0; return;
        case DateKeyAction::PassOn: EditBox::WndProc(m); SyncSelection(); return;
      }
      break;
    case WM_COPY:
      SyncSelection();
      if (auto text = model_.Copy()) ui::WriteClipboardText(hwnd, *text);
      m.result = 0;
      return;
    case WM_CUT:
      SyncSelection();
      if (auto text = model_.Cut()) ui::WriteClipboardText(hwnd, *text);
      Show();
      m.result = 0;
      return;
    case WM_CLEAR:
      SyncSelection();
      model_.Clear();
      Show();
      m.result = 0;
      return;
    case WM_PASTE:
      SyncSelection();
      if (auto text = ui::ReadClipboardText(hwnd)) {
        model_.Paste(*text);
        Show();
      }
      m.result = 0;
      return;
    case WM_SETFOCUS:
      EditBox::WndProc(m);
      model_.Enter();
      Show();
      return;
    case WM_KILLFOCUS:
      model_.Exit();
      Show();
      EditBox::WndProc(m);
      return;
    case WM_LBUTTONDBLCLK:
      DoDatePick();
      m.result = 0;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      EditBox::WndProc(m);
      SyncSelection();
      return;
    default: break;
  }
  EditBox::WndProc(m);
}

}  // namespace orvalis::controls
