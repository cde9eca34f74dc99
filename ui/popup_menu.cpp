// The pop-up menu service over one HMENU, owned by a hidden window of its own.
#include "ui/popup_menu.h"

#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

struct MenuState {
  win::unique_window owner;
  win::unique_hmenu menu;
  UINT nextCommand = 1;
};

MenuState& State() {
  static MenuState state;
  return state;
}

HMENU Menu() {
  MenuState& s = State();
  if (!s.menu) s.menu.reset(::CreatePopupMenu());
  return s.menu.get();
}

// The window that owns the menu while it is tracked; it never shows.
HWND Owner() {
  MenuState& s = State();
  if (s.owner && ::IsWindow(s.owner.get())) return s.owner.get();
  (void)s.owner.release();  // destroyed already (the thread that made it ended): nothing to destroy
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OrvalisPopupOwner";
  ::RegisterClassExW(&wc);  // fails harmlessly when it exists
  s.owner.reset(::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                                  nullptr));
  return s.owner.get();
}

struct Found {
  HMENU menu = nullptr;
  int position = -1;
};

// Depth first: the item whose data (the tag) or command identifier matches.
template <typename Match>
Found FindItem(HMENU menu, Match&& match) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!::GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    if (match(info)) return {menu, i};
    if (info.hSubMenu) {
      Found inner = FindItem(info.hSubMenu, match);
      if (inner.menu) return inner;
    }
  }
  return {};
}

}  // namespace

void ClearPopupMenu() {
  HMENU menu = State().menu.get();
  if (!menu) return;
  while (::GetMenuItemCount(menu) > 0)
    if (!::DeleteMenu(menu, 0, MF_BYPOSITION)) break;  // DeleteMenu also destroys sub-menus
  State().nextCommand = 1;
}

void AddPopupItem(int tag, std::string_view caption, int state, unsigned shortcut) {
  AddPopupSubItem(-1, tag, caption, tag, state, shortcut);
}

void AddPopupSubItem(int parentTag, int tag, std::string_view caption, int /*imageIndex*/, int state,
                     unsigned /*shortcut*/) {
  if (tag < 0) return;
  HMENU menu = Menu();
  if (!menu) return;
  HMENU parent = menu;
  Found p = FindItem(menu, [&](const MENUITEMINFOW& i) { return (i.fType & MFT_SEPARATOR) == 0 && int(i.dwItemData) == parentTag; });
  if (parentTag >= 0 && p.menu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    ::GetMenuItemInfoW(p.menu, UINT(p.position), TRUE, &info);
    if (!info.hSubMenu) {
      win::unique_hmenu sub(::CreatePopupMenu());
      info.hSubMenu = sub.get();
      if (sub && ::SetMenuItemInfoW(p.menu, UINT(p.position), TRUE, &info)) {
        (void)sub.release();  // the item owns it now
      } else {
        info.hSubMenu = nullptr;
      }
    }
    parent = info.hSubMenu;
  }

  std::wstring text = win::Wide(LiteralMenuCaption(caption));
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
  item.wID = State().nextCommand++;
  item.dwItemData = ULONG_PTR(tag);
  if (caption == "-") {
    item.fType = MFT_SEPARATOR;
    item.fMask &= ~UINT(MIIM_STRING);
  } else {
    item.fType = MFT_STRING;
    item.dwTypeData = text.data();
  }
  item.fState = ((state & kPopupDisabled) ? MFS_DISABLED : MFS_ENABLED) |
                ((state & kPopupChecked) ? MFS_CHECKED : MFS_UNCHECKED) | ((state & kPopupDefault) ? MFS_DEFAULT : 0);
  UINT position = (state & kPopupInsertFirst) ? 0 : UINT(::GetMenuItemCount(parent));
  ::InsertMenuItemW(parent, position, TRUE, &item);
}

int ShowPopupMenu(HWND control, int alignment) {
  HMENU menu = State().menu.get();
  if (!menu || ::GetMenuItemCount(menu) <= 0) return -1;
  HWND owner = Owner();
  UINT command = 0;
  if (control) {
    RECT client{};
    ::GetClientRect(control, &client);
    int width = client.right - client.left, height = client.bottom - client.top;
    PopupPoint anchor = PopupAnchor(width, height, alignment);
    POINT screen{anchor.x, anchor.y};
    ::ClientToScreen(control, &screen);
    PopupRect r = PopupExclusion({screen.x, screen.y}, width, height, alignment);
    TPMPARAMS params{sizeof params, {r.left, r.top, r.right, r.bottom}};
    command = UINT(::TrackPopupMenuEx(menu, PopupTrackFlags(alignment, true), screen.x, screen.y, owner, &params));
  } else {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    command = UINT(::TrackPopupMenu(menu, PopupTrackFlags(alignment, false), cursor.x, cursor.y, 0, owner, nullptr));
  }
  return command > 0 ? PopupTagOfCommand(command) : -1;
}

HMENU PopupMenuHandle() { return State().menu.get(); }

int PopupTagOfCommand(UINT command) {
  HMENU menu = State().menu.get();
  if (!menu) return -1;
  Found f = FindItem(menu, [&](const MENUITEMINFOW& i) { return i.wID == command && !i.hSubMenu; });
  if (!f.menu) return -1;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  ::GetMenuItemInfoW(f.menu, UINT(f.position), TRUE, &info);
  return int(info.dwItemData);
}

}  // namespace orvalis::ui
