// The tagged check list's window: the model's captions in an owner-drawn list
// box, drawn as the framework's check list draws its items with a themed box
// where the theme has one, and the toggles.
#include "controls/lists/pchecklistbox.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/basics/pcheckbox_model.h"
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
  const RECT& r = item.rcItem;
  const int box = std::min(kBoxSize, int(r.bottom - r.top) - 2);
  const int boxTop = r.top + (r.bottom - r.top - box) / 2;
  const RECT check{r.left + kBoxLeft, boxTop, r.left + kBoxLeft + box, boxTop + box};
  const bool on = Checked(index), enabled = Enabled();
  const std::wstring caption =
      index < ItemCount() ? win::Wide(model_.Items()[static_cast<std::size_t>(index)].caption) : std::wstring();
  std::function<bool(HDC)> themedBox;
  if (theme_) {
    themedBox = [&](HDC dc) {
      const int state =
          enabled ? (on ? kCheckedNormal : kUncheckedNormal) : (on ? kCheckedDisabled : kUncheckedDisabled);
      return ThemeDrawPart(theme_.get(), dc, kCheckBoxPart, state, 0);
    };
  }
  ui::DrawCheckListItem(item, check, check.right + 3, caption, on, enabled, themedBox);
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
