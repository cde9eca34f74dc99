// Group box and multi-line edit.
#include "ui/simple_controls.h"

namespace orvalis::ui {

GroupBox::GroupBox() { SetBounds(0, 0, 185, 105); }

void GroupBox::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"BUTTON";
  params.systemClass = true;
  params.style = (params.style & ~DWORD(WS_TABSTOP)) | BS_GROUPBOX;
}

void GroupBox::WndProc(Message& m) {
  // The system group box leaves its inside to the parent, which clips its children.
  if (m.msg == WM_ERASEBKGND && Parent()) {
    RECT r;
    ::GetClientRect(HandleIfCreated(), &r);
    ::FillRect(reinterpret_cast<HDC>(m.wParam), &r, Parent()->ColorBrush());
    m.result = 1;
    return;
  }
  if (m.msg == CN_CTLCOLORSTATIC || m.msg == CN_CTLCOLORBTN) {
    if (WinControl* p = Parent()) {
      ::SetBkMode(reinterpret_cast<HDC>(m.wParam), TRANSPARENT);
      m.result = reinterpret_cast<LRESULT>(p->ColorBrush());
      return;
    }
  }
  WinControl::WndProc(m);
}

Memo::Memo() {
  SetBounds(0, 0, 185, 89);
  color_ = SystemColor(COLOR_WINDOW);
}

void Memo::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"EDIT";
  params.systemClass = true;
  params.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | (readOnly_ ? ES_READONLY : 0);
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void Memo::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, EM_SETREADONLY, value, 0);
}

}  // namespace orvalis::ui
