// The rich text editor's menus: the context menu with its field list and the
// tool bar's drop-down menu (objects, pictures, character map, line spacing,
// the editor's background).
#include "controls/rich/prichedit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/dialogs/color_select.h"
#include "controls/rich/prichedit_bars.h"
#include "controls/rich/prichedit_detail.h"
#include "services/settings.h"
#include "ui/popup_menu.h"
#include "ui/program_starter.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::controls {

void detail::FillPopup(const std::vector<MenuEntry>& items) {
  ui::ClearPopupMenu();
  for (const MenuEntry& e : items) {
    if (!e.shown) continue;
    const int state = (e.enabled ? 0 : ui::kPopupDisabled) | (e.checked ? ui::kPopupChecked : 0);
    if (e.parent < 0) ui::AddPopupItem(e.tag, e.caption, state);
    else ui::AddPopupSubItem(e.parent, e.tag, e.caption, -1, state);
  }
}

int detail::TrackBelow(HWND window, const RECT& r) {
  HMENU menu = ui::PopupMenuHandle();
  if (!menu || ::GetMenuItemCount(menu) <= 0) return -1;
  POINT p{r.left, r.bottom};
  ::ClientToScreen(window, &p);
  TPMPARAMS exclude{sizeof exclude, r};
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&exclude.rcExclude), 2);
  const UINT command = UINT(::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_VERTICAL,
                                               p.x, p.y, window, &exclude));
  return command ? ui::PopupTagOfCommand(command) : -1;
}

using detail::Dutch;
using detail::FillPopup;
using detail::kEditorColorValue;
using detail::kSettingsSection;
using detail::ParagraphFormat;
using detail::Selection;
using detail::TrackBelow;

// ---------------------------------------------------------------- menus

void PRichEdit::BuildContextMenu(int x, int y) {
  (void)x;
  (void)y;
  const CHARRANGE selection = Selection(Inner());
  ContextMenuState state;
  state.dutch = Dutch(*this);
  state.contextHelp = !Bars().contextHelp.empty();
  state.selection = selection.cpMax != selection.cpMin;
  state.clipboardData = Send(EM_CANPASTE) != 0;
  state.fieldEdit = bool(OnFieldEdit);
  state.fieldList = FieldList;
  FillPopup(ContextMenuItems(state));
}

void PRichEdit::ContextMenuAt(int x, int y) {
  BuildContextMenu(x, y);
  const int tag = ui::ShowPopupMenu(nullptr, ui::kPopupAlignLeft);
  switch (tag) {
    case kMenuHelp: {
      // The word under the mouse: letters, digits, "_" and "-".
      const std::wstring text = PositionText();
      const int p = std::clamp(CharFromPos(x, y), 0, int(text.size()));
      const auto inWord = [&](int i) { return ::IsCharAlphaNumericW(text[std::size_t(i)]) || text[std::size_t(i)] == L'_' || text[std::size_t(i)] == L'-'; };
      int start = p, end = p;
      while (start > 0 && inWord(start - 1)) --start;
      while (end < int(text.size()) && inWord(end)) ++end;
      (void)ui::StartProgram(Bars().contextHelp + win::Narrow(text.substr(std::size_t(start), std::size_t(end - start))), 0);
      break;
    }
    case kMenuCut: ClickCut(); break;
    case kMenuCopy: ClickCopy(); break;
    case kMenuPaste: ClickPaste(); break;
    case kMenuNewField: (void)FieldEdit(x, y, true); break;
    case kMenuEdit: (void)FieldEdit(x, y, false); break;
    default:
      // A name of the field list becomes a field at the selection.
      if (tag >= kMenuFieldBase && tag < kMenuFieldBase + int(FieldList.size()))
        (void)Insert(GetField(FieldList[std::size_t(tag - kMenuFieldBase)]), true);
      break;
  }
}

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring CharmapPath() {
  wchar_t system[MAX_PATH] = {};
  const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system, n) + L"\\charmap.exe";
}

std::vector<std::string> ImageFiles() {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  win::unique_find search(::FindFirstFileW((ProgramFolder() + L"Images\\*.BMP").c_str(), &found));
  if (!search) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(win::Narrow(found.cFileName));
  } while (::FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace

void PRichEdit::BuildDropDownMenu() {
  RichEditorBars& bars = Bars();
  DropDownState state;
  state.dutch = Dutch(*this);
  state.showInsertObject = bars.showInsertObject;
  state.useOle = bars.useOle;
  state.charmap = ::GetFileAttributesW(CharmapPath().c_str()) != INVALID_FILE_ATTRIBUTES;
  state.imageFiles = ImageFiles();
  const PARAFORMAT2 p = ParagraphFormat(Inner());
  state.spacingRule = p.bLineSpacingRule;
  state.spacingValue = p.dyLineSpacing;
  FillPopup(DropDownItems(state));
}

void PRichEdit::ClickMenu() {
  if (!richFormat_) return;
  const std::vector<std::string> images = ImageFiles();
  BuildDropDownMenu();
  RichToolBar* bar = ToolBar();
  const int tag = bar && bar->HandleAllocated() ? TrackBelow(bar->Handle(), bar->ButtonRect(ToolCommand::Menu))
                                                : ui::ShowPopupMenu(nullptr, ui::kPopupAlignLeft);
  if (const auto spacing = SpacingOfTag(tag)) {
    SetLineSpacing(spacing->rule, spacing->value);
    return;
  }
  switch (tag) {
    case kDropInsertObject: (void)InsertObject(false); break;
    case kDropPasteSpecial: (void)InsertObject(true); break;
    case kDropCharmap: (void)ui::StartProgram(win::Narrow(CharmapPath()), ui::kLaunchActivate); break;
    case kDropBackColor: {
      ui::Color color = SettingExists(kSettingsSection, kEditorColorValue)
                            ? ui::Color(ReadSettingInt(kSettingsSection, kEditorColorValue))
                            : ui::ResolveColor(GetColor());
      if (!SelectColorAt(color, 1, kNoPosition, kNoPosition)) break;
      if (const auto stored = StoredEditorColor(ui::ResolveColor(color), ui::ResolveColor(GetColor()))) {
        (void)WriteSettingInt(kSettingsSection, kEditorColorValue, std::int32_t(*stored), false);
        Send(EM_SETBKGNDCOLOR, 0, LPARAM(*stored));
      } else {
        DeleteSetting(kSettingsSection, kEditorColorValue, false);
        ApplyBackground();
      }
      const std::string rtf = GetRichText();
      SetRichText(rtf);
      break;
    }
    default:
      if (tag >= kDropImageBase && tag < kDropImageBase + int(images.size()))
        InsertFile(win::Narrow(ProgramFolder() + L"Images\\") + images[std::size_t(tag - kDropImageBase)]);
      break;
  }
}

}  // namespace orvalis::controls
