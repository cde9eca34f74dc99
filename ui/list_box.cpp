// The list box and the check-list box.
#include "ui/list_box.h"

#include <windowsx.h>

#include <string>

#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::ui {

// ---------------------------------------------------------------- ListBox

ListBox::ListBox() { color_ = SystemColor(COLOR_WINDOW); }

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

void ListBox::WndProc(Message& m) {
  switch (m.msg) {
    case CN_COMMAND:
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
  const int index = int(item.itemID);
  const RECT& r = item.rcItem;
  const int box = r.bottom - r.top - 1;
  const RECT check{r.left + 1, r.top, r.left + 1 + box, r.top + box};
  int length = int(::SendMessageW(HandleIfCreated(), LB_GETTEXTLEN, WPARAM(index), 0));
  std::wstring caption(size_t(length > 0 ? length : 0) + 1, L'\0');
  ::SendMessageW(HandleIfCreated(), LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(caption.data()));
  caption.resize(size_t(length > 0 ? length : 0));
  DrawCheckListItem(item, check, check.right + 2, caption, Checked(index), Enabled());
}

void DrawCheckListItem(const DRAWITEMSTRUCT& item, const RECT& box, int textLeft, std::wstring_view caption,
                       bool checked, bool enabled, const std::function<bool(HDC dc)>& drawThemedBox) {
  HDC dc = item.hDC;
  win::saved_dc saved(dc);
  const RECT r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOW));
  bool themed = false;
  if (drawThemedBox) {
    // A themed part is drawn over the clip box: narrow it to the box.
    win::saved_dc clip(dc);
    ::IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    themed = drawThemedBox(dc);
  }
  if (!themed) {
    RECT check = box;
    ::DrawFrameControl(dc, &check, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));
  }
  RECT text{textLeft, r.top, r.right, r.bottom};
  ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT inner{text.left + 2, text.top, text.right, text.bottom};
  ::DrawTextW(dc, caption.data(), int(caption.size()), &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &text);
}

void CheckListBox::WndProc(Message& m) {
  switch (m.msg) {
    case CN_DRAWITEM:
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

}  // namespace orvalis::ui
