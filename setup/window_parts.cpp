// System controls as framework controls, and the shared panel looks.
#include "setup/window_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include "win/wide.h"

namespace orvalis {

ui::Font DialogFont(std::uint8_t style) {
  ui::Font font;
  font.face = "MS Sans Serif";
  font.height = -11;
  font.style = style;
  return font;
}

// ---------------------------------------------------------------- TextLabel

TextLabel::TextLabel() { SetFont(DialogFont()); }

void TextLabel::SetCaption(std::string_view caption) {
  SetText(caption);
  // Transparent text leaves the old pixels: the parent repaints the area first.
  if (HWND h = HandleIfCreated()) ::InvalidateRect(h, nullptr, TRUE);
}

void TextLabel::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"STATIC";
  params.systemClass = true;
  params.style &= ~DWORD(WS_TABSTOP);
  params.style |= SS_NOPREFIX | (centered_ ? SS_CENTER : (wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP));
}

void TextLabel::WndProc(ui::Message& m) {
  // Painted here rather than by the static itself: the parent's background
  // first, then the text with the label's alignment and wrapping.
  HWND h = HandleIfCreated();
  if (m.msg == WM_ERASEBKGND) {
    m.result = 1;
    return;
  }
  if (m.msg == WM_PAINT && h) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(h, &ps);
    // The static class paints with its parent's clipping (CS_PARENTDC): keep
    // the background and the text inside the label's own rectangle.
    RECT own{};
    ::GetClientRect(h, &own);
    ::IntersectClipRect(dc, own.left, own.top, own.right, own.bottom);
    if (WinControl* parent = Parent(); parent && parent->HandleAllocated()) {
      int saved = ::SaveDC(dc);
      POINT origin{};
      ::GetViewportOrgEx(dc, &origin);
      ::SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
      ::SendMessageW(parent->HandleIfCreated(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
      ::RestoreDC(dc, saved);
    }
    int saved = ::SaveDC(dc);
    if (auto font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0))) ::SelectObject(dc, font);
    ui::Color color = GetFont().color;
    ::SetTextColor(dc, (color & ui::kSystemColorFlag) ? ::GetSysColor(int(color & 0xFF)) : COLORREF(color));
    ::SetBkMode(dc, TRANSPARENT);
    std::wstring text = win::Wide(Text());
    RECT r{};
    ::GetClientRect(h, &r);
    UINT format = DT_NOPREFIX | (centered_ ? DT_CENTER : DT_LEFT) |
                  (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE | DT_END_ELLIPSIS);
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
    ::RestoreDC(dc, saved);
    ::EndPaint(h, &ps);
    m.result = 0;
    return;
  }
  WinControl::WndProc(m);
}

// ---------------------------------------------------------------- FrameCheckBox

FrameCheckBox::FrameCheckBox() { SetFont(DialogFont()); }

void FrameCheckBox::WndProc(ui::Message& m) {
  if (m.msg == ui::CN_CTLCOLORSTATIC || m.msg == ui::CN_CTLCOLORBTN) {
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    m.result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  ui::CheckBox::WndProc(m);
}

// ---------------------------------------------------------------- EditBox

EditBox::EditBox() {
  color_ = ui::SystemColor(COLOR_WINDOW);
  SetFont(DialogFont());
}

void EditBox::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"EDIT";
  params.systemClass = true;
  params.style |= ES_AUTOHSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

// ---------------------------------------------------------------- ListBox

ListBox::ListBox() {
  color_ = ui::SystemColor(COLOR_WINDOW);
  SetFont(DialogFont());
}

void ListBox::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"LISTBOX";
  params.systemClass = true;
  params.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void ListBox::HandleCreated() { ::SendMessageW(HandleIfCreated(), LB_SETITEMHEIGHT, 0, itemHeight_); }

void ListBox::Clear() { ::SendMessageW(Handle(), LB_RESETCONTENT, 0, 0); }

int ListBox::AddItem(std::string_view text) {
  std::wstring w = win::Wide(text);
  return int(::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str())));
}

int ListBox::Count() const {
  HWND h = HandleIfCreated();
  return h ? int(::SendMessageW(h, LB_GETCOUNT, 0, 0)) : 0;
}

int ListBox::ItemIndex() const {
  HWND h = HandleIfCreated();
  return h ? int(::SendMessageW(h, LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetItemIndex(int index) { ::SendMessageW(Handle(), LB_SETCURSEL, WPARAM(index), 0); }

void ListBox::SetItemHeight(int height) {
  itemHeight_ = height;
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, LB_SETITEMHEIGHT, 0, height);
}

void ListBox::WndProc(ui::Message& m) {
  switch (m.msg) {
    case ui::CN_COMMAND:
      if (HIWORD(m.wParam) == LBN_DBLCLK && OnDblClick) {
        OnDblClick(*this);
        m.result = 0;
        return;
      }
      break;
    case WM_KEYUP:
      if (OnKeyUp) OnKeyUp(*this, unsigned(m.wParam));
      break;
    case WM_CHAR:
      // Enter and Esc reach the list as characters when no dialog manager
      // turned them into commands first; they count as released keys.
      if ((m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) && OnKeyUp) {
        OnKeyUp(*this, unsigned(m.wParam));
        m.result = 0;
        return;
      }
      break;
    default: break;
  }
  WinControl::WndProc(m);
}

// ---------------------------------------------------------------- CheckListBox

void CheckListBox::MakeCreateParams(CreateParams& params) {
  ListBox::MakeCreateParams(params);
  params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

int CheckListBox::AddItem(std::string_view text, int tag, bool checked) {
  int index = ListBox::AddItem(text);
  if (index >= 0) {
    entries_.resize(size_t(index) + 1, Entry{0, false});
    entries_[size_t(index)] = {tag, checked};
  }
  return index;
}

bool CheckListBox::Checked(int index) const {
  return index >= 0 && size_t(index) < entries_.size() && entries_[size_t(index)].checked;
}

void CheckListBox::SetChecked(int index, bool checked) {
  if (index < 0 || size_t(index) >= entries_.size()) return;
  entries_[size_t(index)].checked = checked;
  if (HWND h = HandleIfCreated()) {
    RECT r{};
    if (::SendMessageW(h, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
      ::InvalidateRect(h, &r, TRUE);
  }
}

int CheckListBox::Tag(int index) const {
  return index >= 0 && size_t(index) < entries_.size() ? entries_[size_t(index)].tag : -1;
}

void CheckListBox::Toggle(int index) { SetChecked(index, !Checked(index)); }

void CheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == UINT(-1)) return;
  int index = int(item.itemID);
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOW));
  int box = r.bottom - r.top - 1;
  RECT check{r.left + 1, r.top, r.left + 1 + box, r.top + box};
  ::DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (Checked(index) ? DFCS_CHECKED : 0));
  RECT text{check.right + 2, r.top, r.right, r.bottom};
  ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  int length = int(::SendMessageW(HandleIfCreated(), LB_GETTEXTLEN, WPARAM(index), 0));
  std::wstring caption(size_t(length > 0 ? length : 0) + 1, L'\0');
  ::SendMessageW(HandleIfCreated(), LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(caption.data()));
  caption.resize(size_t(length > 0 ? length : 0));
  RECT inner{text.left + 2, text.top, text.right, text.bottom};
  ::DrawTextW(dc, caption.c_str(), int(caption.size()), &inner,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &text);
}

void CheckListBox::WndProc(ui::Message& m) {
  switch (m.msg) {
    case ui::CN_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam));
      m.result = TRUE;
      return;
    case WM_CHAR:
      if (m.wParam == L' ') {
        Toggle(int(::SendMessageW(HandleIfCreated(), LB_GETCARETINDEX, 0, 0)));
        m.result = 0;
        return;
      }
      break;
    case WM_LBUTTONDOWN: {
      DWORD hit = DWORD(::SendMessageW(HandleIfCreated(), LB_ITEMFROMPOINT, 0, m.lParam));
      int x = GET_X_LPARAM(m.lParam);
      if (HIWORD(hit) == 0 && x < itemHeight_ + 1) Toggle(int(LOWORD(hit)));
      break;
    }
    default: break;
  }
  ListBox::WndProc(m);
}

// ---------------------------------------------------------------- ProgressBar

ProgressBar::ProgressBar() = default;

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

int ProgressBar::Position() const { return position_; }

// ---------------------------------------------------------------- SetupForm

SetupForm::SetupForm(std::string name, bool closeBox) : closeBox_(closeBox) {
  SetName(std::move(name));
  SetBorderStyle(closeBox ? ui::BorderStyle::Single : ui::BorderStyle::Dialog);
  SetPosition(ui::FormPosition::ScreenCenter);
  SetFont(DialogFont());
}

void SetupForm::MakeCreateParams(CreateParams& params) {
  ui::Form::MakeCreateParams(params);
  params.style &= ~DWORD(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  if (!closeBox_) params.style &= ~DWORD(WS_SYSMENU);
}

// ---------------------------------------------------------------- Panel looks

void LookAsBackground(controls::PPanel& panel) {
  panel.SetBevelOuter(ui::Bevel::None);
  panel.SetThemePart(13);
  panel.SetThemeState(1);
  panel.SetThemeClass("ExplorerBar");
}

void LookAsHeader(controls::PPanel& panel) {
  panel.SetBevelOuter(ui::Bevel::None);
  panel.SetDrawMode(controls::dmGradientVertical);
  panel.SetPanelColor(15834985);
  panel.SetGradient1Color(16105114);
  panel.SetShadowColor(ui::kBtnShadow);
  panel.SetBoxHeight(10);
  panel.SetShadowWidth(1);
  panel.SetBorderSize(1);
}

void LookAsFrame(controls::PPanel& panel) {
  panel.SetBevelOuter(ui::Bevel::None);
  panel.SetDrawMode(controls::dmPanel);
  panel.SetBoxHeight(6);
  panel.SetBorderSize(1);
  panel.SetPanelColor(ui::SystemColor(COLOR_WINDOW));
  panel.SetPanelPenColor(12164479);
  panel.SetColor(11842740);
}

}  // namespace orvalis
