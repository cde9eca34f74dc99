// The pop-up menu service against the system's menu: items as built, and the
// tag that a choice made in the tracked menu comes back as.
#include "ui/popup_menu.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

struct Item {
  std::string text;
  bool separator = false;
  bool disabled = false;
  bool checked = false;
  bool isDefault = false;
  int tag = -1;
  HMENU sub = nullptr;
};

Item ItemAt(HMENU menu, int position) {
  wchar_t text[128] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
  info.dwTypeData = text;
  info.cch = 128;
  EXPECT_TRUE(::GetMenuItemInfoW(menu, UINT(position), TRUE, &info)) << position;
  return {win::Narrow(text),         (info.fType & MFT_SEPARATOR) != 0, (info.fState & MFS_DISABLED) != 0,
          (info.fState & MFS_CHECKED) != 0, (info.fState & MFS_DEFAULT) != 0, int(info.dwItemData), info.hSubMenu};
}

TEST(PopupMenu, ItemsCarryTagsStatesAndLiteralCaptions) {
  ClearPopupMenu();
  AddPopupItem(1, "Program folder", kPopupChecked);
  AddPopupItem(2, "Local user folder", kPopupDisabled);
  AddPopupItem(0, "-", 0);
  AddPopupItem(3, "Save & close", kPopupDefault);
  AddPopupItem(-1, "never", 0);
  AddPopupItem(9, "First", kPopupInsertFirst);
  HMENU menu = PopupMenuHandle();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(menu), 5);

  Item first = ItemAt(menu, 0);
  EXPECT_EQ(first.text, "First");
  EXPECT_EQ(first.tag, 9);
  Item program = ItemAt(menu, 1);
  EXPECT_EQ(program.text, "Program folder");
  EXPECT_EQ(program.tag, 1);
  EXPECT_TRUE(program.checked);
  EXPECT_FALSE(program.disabled);
  Item local = ItemAt(menu, 2);
  EXPECT_TRUE(local.disabled);
  EXPECT_FALSE(local.checked);
  EXPECT_TRUE(ItemAt(menu, 3).separator);
  Item select = ItemAt(menu, 4);
  EXPECT_EQ(select.text, "Save && close");  // shown as "Save & close", no accelerator
  EXPECT_TRUE(select.isDefault);
  EXPECT_EQ(select.tag, 3);

  ClearPopupMenu();
  EXPECT_EQ(::GetMenuItemCount(menu), 0);
  EXPECT_EQ(ShowPopupMenu(nullptr, kPopupAlignLeft), -1);  // nothing to show
}

TEST(PopupMenu, SubItemsGoBelowTheirParentOrToTheTopLevel) {
  ClearPopupMenu();
  AddPopupItem(5, "Parent", 0);
  AddPopupSubItem(5, 6, "Child", -1, 0);
  AddPopupSubItem(7, 8, "Orphan", -1, 0);  // no item tagged 7
  HMENU menu = PopupMenuHandle();
  ASSERT_EQ(::GetMenuItemCount(menu), 2);
  Item parent = ItemAt(menu, 0);
  ASSERT_NE(parent.sub, nullptr);
  ASSERT_EQ(::GetMenuItemCount(parent.sub), 1);
  EXPECT_EQ(ItemAt(parent.sub, 0).tag, 6);
  EXPECT_EQ(ItemAt(menu, 1).tag, 8);
  EXPECT_EQ(ItemAt(menu, 1).text, "Orphan");
  ClearPopupMenu();
}

// The tracked menu reads the thread's queue: keys posted before it opens
// choose an item or dismiss it.
int ChooseWithKeys(HWND control, std::initializer_list<WPARAM> keys) {
  for (WPARAM key : keys) {
    ::PostMessageW(control, WM_KEYDOWN, key, 0);
    ::PostMessageW(control, WM_KEYUP, key, 0xC0000000);
  }
  return ShowPopupMenu(control, kPopupAlignLeft);
}

TEST(PopupMenu, AChoiceReturnsTheItemsTagAndDismissingReturnsMinusOne) {
  win::unique_window anchor(::CreateWindowExW(0, L"BUTTON", L"anchor", WS_POPUP | WS_VISIBLE, 100, 100, 29, 21,
                                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(anchor);
  HWND window = anchor.get();
  ::SetForegroundWindow(window);
  ClearPopupMenu();
  AddPopupItem(1, "Program folder", 0);
  AddPopupItem(2, "Local user folder", kPopupChecked);
  AddPopupItem(0, "-", 0);
  AddPopupItem(3, "Select", 0);
  EXPECT_EQ(ChooseWithKeys(window, {VK_DOWN, VK_RETURN}), 1);
  EXPECT_EQ(ChooseWithKeys(window, {VK_UP, VK_RETURN}), 3);  // from the top, up wraps to the last item
  EXPECT_EQ(ChooseWithKeys(window, {VK_ESCAPE}), -1);
  ClearPopupMenu();
}

}  // namespace
}  // namespace orvalis::ui
