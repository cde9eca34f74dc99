// The data-entry edits' message forwarding.
#include "controls/entry/entry_edit.h"

#include "controls/entry/edit_view.h"
#include "ui/clipboard.h"
#include "win/wide.h"

namespace orvalis::controls {

EntryEdit::EntryEdit() { color_ = ui::SystemColor(COLOR_WINDOW); }

void EntryEdit::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"EDIT";
  params.systemClass = true;
  params.style |= ES_AUTOHSCROLL | WS_TABSTOP;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void EntryEdit::Show() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  const EditText& edit = ModelEdit();
  const std::wstring wide = win::Wide(edit.Text());
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring current(std::size_t(length) + 1, L'\0');
  current.resize(std::size_t(::GetWindowTextW(hwnd, current.data(), length + 1)));
  if (current != wide) ::SetWindowTextW(hwnd, wide.c_str());
  // EM_SETSEL's first argument is the anchor, the second the end the caret is at.
  ::SendMessageW(hwnd, EM_SETSEL, WPARAM(edit.Anchor()), LPARAM(edit.Caret()));
  Shown();
}

void EntryEdit::ReadSelection() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  DWORD start = 0, end = 0;
  ::SendMessageW(hwnd, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  const EditText& edit = ModelEdit();
  // The same range keeps the model's own anchor and caret (EM_GETSEL loses the direction).
  if (edit.SelStart() == start && edit.SelEnd() == end) return;
  ModelSelect(start, end);
}

void EntryEdit::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_GETDLGCODE:
      WinControl::WndProc(m);
      // Escape belongs to the field (it restores the entry value), not to the dialog.
      if (auto* key = reinterpret_cast<const MSG*>(m.lParam);
          key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE)
        m.result |= DLGC_WANTMESSAGE;
      return;
    case WM_CHAR:
      ReadSelection();
      if (!ModelKeyPress(char32_t(m.wParam))) break;
      Show();
      m.result = 0;
      return;
    case WM_KEYDOWN:
      ReadSelection();
      if (!ModelKeyDown(int(m.wParam), ::GetKeyState(VK_SHIFT) < 0)) break;
      Show();
      m.result = 0;
      return;
    case WM_SETFOCUS:
      ModelEnter();
      WinControl::WndProc(m);
      Show();
      return;
    case WM_KILLFOCUS:
      ModelExit();
      WinControl::WndProc(m);
      Show();
      return;
    case WM_DESTROY: ModelDestroy(); break;
    case WM_COPY:
      ReadSelection();
      if (ModelEdit().HasSelection()) (void)ui::WriteClipboardText(HandleIfCreated(), ModelEdit().Selected());
      m.result = 0;
      return;
    case WM_CUT:
      ReadSelection();
      if (auto cut = ModelCut()) (void)ui::WriteClipboardText(HandleIfCreated(), *cut);
      Show();
      m.result = 0;
      return;
    case WM_CLEAR:
      ReadSelection();
      (void)ModelClear();
      Show();
      m.result = 0;
      return;
    case WM_PASTE:
      ReadSelection();
      ModelPaste(ui::ReadClipboardText(HandleIfCreated()).value_or(""));
      Show();
      m.result = 0;
      return;
    default: break;
  }
  WinControl::WndProc(m);
}

}  // namespace orvalis::controls
