// The tagged check list's window: the model's captions in an owner-drawn list
// box, a themed (or classic) check box drawn before each, and the toggles.
#include "controls/lists/pchecklistbox.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/basics/pcheckbox_model.h"
#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

constexpr int kItemHeight = 17;
constexpr int kBoxSize = 13;
constexpr int kBoxLeft = 2;
// The check-box part's normal states.
constexpr int kUncheckedNormal = 1;
constexpr int kUncheckedDisabled = 4;
constexpr int kCheckedNormal = 5;
constexpr int kCheckedDisabled = 8;

}  // namespace

PCheckListBox::PCheckListBox() {
  SetItemHeight(kItemHeight);
  LoadTheme();
}

PCheckListBox::~PCheckListBox() { theme_.reset(); }

void PCheckListBox::MakeCreateParams(CreateParams& params) {
  ListBox::MakeCreateParams(params);
  params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_TABSTOP;
}

void PCheckListBox::HandleCreated() {
  ListBox::HandleCreated();
  Reload();
}

void PCheckListBox::Loaded() {
  LoadTheme();
  ListBox::Loaded();
}

void PCheckListBox::LoadTheme() {
  if (!Parent()) return;
  theme_.reset();
  theme_.reset(ThemeOpen(Handle(), "Button"));
}

void PCheckListBox::Reload() {
  HWND h = HandleIfCreated();
  if (!h) return;
  const int top = int(::SendMessageW(h, LB_GETTOPINDEX, 0, 0));
  const int caret = int(::SendMessageW(h, LB_GETCURSEL, 0, 0));
  ::SendMessageW(h, LB_RESETCONTENT, 0, 0);
  for (const auto& item : model_.Items()) {
    const std::wstring caption = win::Wide(item.caption);
    ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  }
  if (caret >= 0 && caret < ItemCount()) ::SendMessageW(h, LB_SETCURSEL, WPARAM(caret), 0);
  if (top > 0) ::SendMessageW(h, LB_SETTOPINDEX, WPARAM(top), 0);
}

void PCheckListBox::Add(std::string caption) {
  model_.Add(std::move(caption));
  Reload();
}

bool PCheckListBox::AddTag(std::string caption, std::string tag) {
  if (!model_.AddTag(std::move(caption), std::move(tag))) return false;
  Reload();
  return true;
}

void PCheckListBox::Clear() {
  model_.Clear();
  Reload();
}

bool PCheckListBox::Checked(int index) const {
  return index >= 0 && index < ItemCount() && model_.Items()[static_cast<std::size_t>(index)].checked;
}

void PCheckListBox::SetChecked(int index, bool checked) {
  if (index < 0 || index >= ItemCount()) return;
  model_.SetChecked(static_cast<std::size_t>(index), checked);
  InvalidateItem(index);
}

void PCheckListBox::SetTags(std::string_view tags) {
  model_.SetTags(tags);
  Invalidate();
}

void PCheckListBox::InvalidateItem(int index) {
  HWND h = HandleIfCreated();
  if (!h) return;
  RECT r{};
  if (::SendMessageW(h, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    ::InvalidateRect(h, &r, TRUE);
}

void PCheckListBox::Toggle(int index) {
  if (index < 0 || index >= ItemCount() || !Enabled()) return;
  SetChecked(index, !Checked(index));
  if (OnClickCheck) OnClickCheck(*this, index);
}

bool PCheckListBox::InBox(LPARAM point) const {
  return GET_X_LPARAM(point) < kBoxLeft + kBoxSize + 2;
}

void PCheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == UINT(-1)) return;
  const int index = int(item.itemID);
  HDC dc = item.hDC;
  win::saved_dc saved(dc);
  const RECT r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOW));

  const int box = std::min(kBoxSize, int(r.bottom - r.top) - 2);
  const int boxTop = r.top + (r.bottom - r.top - box) / 2;
  RECT check{r.left + kBoxLeft, boxTop, r.left + kBoxLeft + box, boxTop + box};
  const bool on = Checked(index);
  bool themed = false;
  if (theme_) {
    // The part is drawn over the clip box: narrow it to the box.
    win::saved_dc clip(dc);
    ::IntersectClipRect(dc, check.left, check.top, check.right, check.bottom);
    const int state =
        Enabled() ? (on ? kCheckedNormal : kUncheckedNormal) : (on ? kCheckedDisabled : kUncheckedDisabled);
    themed = ThemeDrawPart(theme_.get(), dc, kCheckBoxPart, state, 0);
  }
  if (!themed)
    ::DrawFrameControl(dc, &check, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (on ? DFCS_CHECKED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));

  RECT text{check.right + 3, r.top, r.right, r.bottom};
  ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(!Enabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  if (index < ItemCount()) {
    const std::wstring caption = win::Wide(model_.Items()[static_cast<std::size_t>(index)].caption);
    RECT inner{text.left + 2, text.top, text.right, text.bottom};
    ::DrawTextW(dc, caption.c_str(), int(caption.size()), &inner,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &text);
}

void PCheckListBox::WndProc(ui::Message& m) {
  switch (m.msg) {
    case WM_CREATE:
    case WM_THEMECHANGED:
      LoadTheme();
      break;
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
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The list selects the item first; a press on its box also toggles it
      // (the second press of a double click too, so fast clicks are not lost).
      ListBox::WndProc(m);
      const DWORD hit = DWORD(::SendMessageW(HandleIfCreated(), LB_ITEMFROMPOINT, 0, m.lParam));
      if (HIWORD(hit) == 0 && InBox(m.lParam)) Toggle(int(LOWORD(hit)));
      return;
    }
    default: break;
  }
  ListBox::WndProc(m);
}

}  // namespace orvalis::controls
