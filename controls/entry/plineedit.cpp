// The formula line editor's window: messages in, the model's display text out.
#include "controls/entry/plineedit.h"

#include <windowsx.h>

#include <utility>

#include "controls/entry/edit_view.h"
#include "ui/clipboard.h"
#include "ui/gdi_canvas.h"
#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

// The system clipboard as the model's keys use it.
class SystemClipboard final : public FormulaClipboard {
 public:
  explicit SystemClipboard(HWND owner) : owner_(owner) {}
  std::string GetText() override { return ui::ReadClipboardText(owner_).value_or(""); }
  void SetText(const std::string& text) override { (void)ui::WriteClipboardText(owner_, text); }

 private:
  HWND owner_;
};

bool IsDown(int vk) { return ::GetKeyState(vk) < 0; }

}  // namespace

PLineEdit::PLineEdit() {
  SetReadOnly(true);
  model_.OnChange = [this](LineEditModel&) {
    Display();
    DoChange();
  };
  model_.CaretScreenPos = [this] {
    const POINT p = CursorPos();
    return ScreenPoint{p.x, p.y};
  };
}

void PLineEdit::MakeCreateParams(CreateParams& params) {
  PMemo::MakeCreateParams(params);
  params.style |= WS_TABSTOP;
}

void PLineEdit::HandleCreated() {
  PMemo::HandleCreated();
  Display();
  CheckScrolling();
}

void PLineEdit::SetText(std::string_view stored) {
  model_.SetText(stored);
  Display();
  CheckScrolling();
}

int PLineEdit::SelStart() const {
  DWORD start = 0;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, EM_GETSEL, WPARAM(&start), 0);
  return int(start);
}

void PLineEdit::SetSelStart(int pos) {
  model_.SetCursor(model_.CursorFromDisplay(pos < 0 ? 0 : std::size_t(pos)));
  Display();
}

int PLineEdit::SelLength() const {
  DWORD start = 0, end = 0;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(end - start);
}

void PLineEdit::SetSelLength(int length) {
  HWND h = HandleIfCreated();
  if (!h) return;
  const int start = SelStart();
  ::SendMessageW(h, EM_SETSEL, WPARAM(start), LPARAM(start + (length < 0 ? 0 : length)));
}

void PLineEdit::SetOnEditVar(EditVarEvent handler) {
  onEditVar_ = std::move(handler);
  // The model tells "no handler" from an empty function: typed "v" then inserts nothing.
  if (onEditVar_)
    model_.OnEditVar = [this](PVar& var, bool edit, std::int32_t left, std::int32_t top) {
      return onEditVar_(*this, var, edit, left, top);
    };
  else
    model_.OnEditVar = nullptr;
}

void PLineEdit::DoEdit(POINT at) { model_.DoEdit({at.x, at.y}); }

POINT PLineEdit::CursorPos() {
  POINT p{1, 1};
  HWND h = HandleIfCreated();
  if (!h) return p;
  const std::size_t caret = model_.DisplayCaret();
  if (caret > 0) {
    const LRESULT at = ::SendMessageW(h, EM_POSFROMCHAR, WPARAM(caret - 1), 0);
    if (at != -1) p = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  }
  ::ClientToScreen(h, &p);
  return p;
}

void PLineEdit::Display() {
  model_.SetCursor(model_.Cursor());
  HWND h = HandleIfCreated();
  if (!h) return;
  const std::wstring wide = win::Wide(model_.DisplayText());
  const int length = ::GetWindowTextLengthW(h);
  std::wstring shown(std::size_t(length) + 1, L'\0');
  shown.resize(std::size_t(::GetWindowTextW(h, shown.data(), length + 1)));
  if (shown != wide) ::SetWindowTextW(h, wide.c_str());
  const WPARAM caret = model_.DisplayCaret();
  ::SendMessageW(h, EM_SETSEL, caret, LPARAM(caret));
  ::SendMessageW(h, EM_SCROLLCARET, 0, 0);
}

void PLineEdit::DoChange() {
  CheckScrolling();
  if (OnChange) OnChange(*this);
}

void PLineEdit::CheckScrolling() {
  HWND h = HandleIfCreated();
  if (!h) return;
  win::window_dc dc(h);
  if (!dc) return;
  win::selected_object font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(h, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc.get(), &metrics);
  std::vector<int> widths;
  for (const std::string& line : model_.DisplayLines()) {
    const std::wstring wide = win::Wide(line);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), wide.c_str(), int(wide.size()), &size);
    widths.push_back(size.cx);
  }
  RECT client{};
  ::GetClientRect(h, &client);
  const bool needed = NeedsVerticalScroll(widths, metrics.tmHeight, client.right, client.bottom);
  const bool shown = (::GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL) != 0;
  if (needed == shown) return;
  ::ShowScrollBar(h, SB_VERT, needed);
  Display();
}

void PLineEdit::TakeCaret() {
  HWND h = HandleIfCreated();
  if (!h) return;
  DWORD start = 0, end = 0;
  ::SendMessageW(h, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  model_.SetCursor(model_.CursorFromDisplay(end));
  Display();
}

void PLineEdit::ShowHintAt(POINT client) {
  HWND h = HandleIfCreated();
  const LRESULT at = ::SendMessageW(h, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
  const PVar* var = at == -1 ? nullptr : model_.VarAtToken(model_.TokenAtDisplay(LOWORD(at)));
  // The tool is registered again only when the hint changes, so the tip is not reset on every move.
  if (var != nullptr) {
    if (Hint() != var->Hint) SetHint(var->Hint);
    if (!ShowHint()) SetShowHint(true);
  } else {
    if (!Hint().empty()) SetHint("");
    if (ShowHint()) SetShowHint(false);
  }
}

void PLineEdit::ContextMenu(ui::Message& m) {
  if (model_.Locked) {
    m.result = 0;
    return;
  }
  HWND h = HandleIfCreated();
  POINT screen{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
  POINT client = screen;
  if (m.lParam == -1) {  // from the keyboard: at the caret
    screen = CursorPos();
    client = screen;
    ::ScreenToClient(h, &client);
  } else {
    ::ScreenToClient(h, &client);
    if (client.x < 0) {
      ::GetCursorPos(&screen);
      client = screen;
      ::ScreenToClient(h, &client);
    }
    const LRESULT at = ::SendMessageW(h, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
    if (at != -1) model_.SetCursor(model_.CursorFromDisplay(LOWORD(at)));
    Display();
  }
  bool handled = false;
  if (OnContextPopup) OnContextPopup(*this, client, handled);
  if (handled) {
    m.result = 0;
    return;
  }
  m.lParam = MAKELPARAM(screen.x, screen.y);
  PMemo::WndProc(m);
}

void PLineEdit::WndProc(ui::Message& m) {
  HWND h = HandleIfCreated();
  switch (m.msg) {
    case WM_CHAR:
      // Every character is the model's: the read-only memo would turn Ctrl+X's
      // character into a second cut.
      if (m.wParam < 0x80 && model_.KeyPress(char(m.wParam))) Display();
      m.result = 0;
      return;
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN: {
      // F10 arrives as a system key; other Alt combinations are the menu's.
      if (IsDown(VK_MENU) || (m.msg == WM_SYSKEYDOWN && m.wParam != VK_F10)) break;
      SystemClipboard clip(h);
      if (!model_.KeyDown(int(m.wParam), IsDown(VK_CONTROL), IsDown(VK_SHIFT), clip)) break;
      Display();
      m.result = 0;
      return;
    }
    case WM_KEYUP:
      PMemo::WndProc(m);
      if (m.wParam == VK_UP || m.wParam == VK_DOWN || m.wParam == VK_PRIOR || m.wParam == VK_NEXT) TakeCaret();
      return;
    case WM_COPY:
    case WM_CUT:
    case WM_PASTE: {
      SystemClipboard clip(h);
      if (m.msg == WM_COPY) model_.Copy(clip);
      else if (m.msg == WM_CUT) model_.Cut(clip);
      else model_.Paste(clip);
      Display();
      m.result = 0;
      return;
    }
    case WM_LBUTTONUP:
      PMemo::WndProc(m);
      TakeCaret();
      return;
    case WM_LBUTTONDBLCLK: {
      // The first click placed the caret; the memo's word selection is not wanted.
      POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      ::ClientToScreen(h, &at);
      DoEdit(at);
      m.result = 0;
      return;
    }
    case WM_MOUSEMOVE:
      ShowHintAt(POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
      break;
    case WM_CONTEXTMENU: ContextMenu(m); return;
    case ui::CN_CTLCOLORSTATIC: {
      // A read-only edit asks for a dialog's grey; the formula is typed into,
      // so it keeps the look of an editable field unless disabled.
      if (!Enabled()) break;
      HDC dc = reinterpret_cast<HDC>(m.wParam);
      ::SetBkColor(dc, ui::ResolveColor(GetColor()));
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      m.result = reinterpret_cast<LRESULT>(ColorBrush());
      return;
    }
    default: break;
  }
  PMemo::WndProc(m);
}

}  // namespace orvalis::controls
