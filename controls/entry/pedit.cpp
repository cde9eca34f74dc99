// The masked edit's window: messages in, the model's text and selection out.
#include "controls/entry/pedit.h"

#include "controls/entry/edit_view.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

// Posted to the field after it lost the focus with an incomplete text.
constexpr UINT kComplain = WM_APP + 0x254;

}  // namespace

PEdit::PEdit() {
  model_.OnChange = [this] {
    if (OnChange) OnChange(*this);
  };
}

void PEdit::SetValue(std::string_view text) {
  model_.SetText(text);
  Show();
}

void PEdit::Loaded() {
  model_.Loaded({Left(), Top(), Width(), Height()});
  EditBox::Loaded();
}

void PEdit::Show() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  showing_ = true;
  WriteEdit(hwnd, model_.Text(), model_.SelStart(), model_.SelEnd());
  showing_ = false;
}

// The EDIT moves the caret itself (arrows, mouse); the model learns it before
// every message that works on the selection.
void PEdit::SyncSelection() {
  if (HWND hwnd = HandleIfCreated()) {
    const EditState state = ReadEdit(hwnd);
    model_.SetSelection(state.selStart, state.selEnd);
  }
}

// After the EDIT handled a message itself: a changed text goes to the model.
void PEdit::Pull() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  const EditState state = ReadEdit(hwnd);
  if (state.text != model_.Text())
    model_.TextEdited(state.text, state.selStart, state.selEnd);
  else
    model_.SetSelection(state.selStart, state.selEnd);
}

void PEdit::Complain() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  ui::Application::MessageDialog(MaskComplaint(language_));
  ::SetFocus(hwnd);
  const int end = model_.Length();
  model_.SetSelection(end, end);
  Show();
}

void PEdit::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_CHAR:
      SyncSelection();
      if (model_.KeyPress(static_cast<char32_t>(m.wParam))) {
        Show();
        m.result = 0;
        return;
      }
      EditBox::WndProc(m);
      Pull();
      return;
    case WM_KEYDOWN:
      SyncSelection();
      if (model_.KeyDown(static_cast<int>(m.wParam))) {
        m.result = 0;
        return;
      }
      EditBox::WndProc(m);
      Pull();
      return;
    case WM_PASTE:
      SyncSelection();
      if (auto text = ui::ReadClipboardText(HandleIfCreated())) {
        model_.Paste(*text);
        Show();
      }
      m.result = 0;
      return;
    case WM_CUT: {
      SyncSelection();
      const std::string cut = model_.Cut();
      if (!cut.empty()) ui::WriteClipboardText(HandleIfCreated(), cut);
      Show();
      m.result = 0;
      return;
    }
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      EditBox::WndProc(m);
      Pull();
      return;
    case WM_SETTEXT:
      EditBox::WndProc(m);
      if (!showing_) {
        // A text set from outside the view: the model takes it as the host's.
        model_.SetText(win::Narrow(reinterpret_cast<const wchar_t*>(m.lParam)));
        Show();
      }
      return;
    case WM_MOUSEMOVE:
      if (auto hint = model_.MouseMove()) {
        SetHint(hint->hint);
        SetShowHint(hint->show);
      }
      if (m.wParam & MK_LBUTTON) {
        EditBox::WndProc(m);
        SyncSelection();
        return;
      }
      break;
    case WM_SETFOCUS:
      EditBox::WndProc(m);
      model_.Enter();
      SyncSelection();
      return;
    case WM_KILLFOCUS: {
      SyncSelection();
      const bool incomplete = model_.Exit();
      Show();
      if (incomplete) ::PostMessageW(HandleIfCreated(), kComplain, 0, 0);
      EditBox::WndProc(m);
      return;
    }
    case kComplain:
      Complain();
      m.result = 0;
      return;
    case WM_DESTROY:
      model_.Destroy();
      break;
    default: break;
  }
  EditBox::WndProc(m);
}

}  // namespace orvalis::controls
