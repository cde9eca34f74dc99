// The process-wide pop-up menu: cleared, filled with tagged items and shown
// below a control (or at the mouse), answering the chosen item's tag.
// Captions are UTF-8 and shown literally (see LiteralMenuCaption).
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/popup_menu_rules.h"

namespace orvalis::ui {

// Removes every item; the menu itself stays for the next use.
void ClearPopupMenu();

// A top-level item. A negative tag adds nothing; the caption "-" is a
// separator; `state` holds the kPopup... bits. `shortcut` is kept with the item
// for the caller but not drawn.
void AddPopupItem(int tag, std::string_view caption, int state, unsigned shortcut = 0);

// An item below the first item (depth first) tagged `parentTag`, or at the top
// level when no item has that tag. The menu has no image list, so
// `imageIndex` has nothing to show.
void AddPopupSubItem(int parentTag, int tag, std::string_view caption, int imageIndex, int state,
                     unsigned shortcut = 0);

// Shows the menu and waits for the choice: the chosen item's tag, or -1 when
// the menu is empty or dismissed. With a control the menu opens below it (above
// when the screen has no room); with null it opens at the mouse cursor.
[[nodiscard]] int ShowPopupMenu(HWND control, int alignment);

// The menu as the system holds it (null before first use), and the tag of an
// item found by its command identifier (-1 for none).
[[nodiscard]] HMENU PopupMenuHandle();
[[nodiscard]] int PopupTagOfCommand(UINT command);

}  // namespace orvalis::ui
