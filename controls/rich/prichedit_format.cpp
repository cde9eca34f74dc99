// The rich text editor's formatting commands: the tool bar's buttons, styles,
// alignment, fonts, numbering, line spacing and text colour.
#include "controls/rich/prichedit.h"

#include <algorithm>

#include "controls/dialogs/color_select.h"
#include "controls/rich/prichedit_bars.h"
#include "controls/rich/prichedit_detail.h"
#include "ui/popup_menu.h"
#include "win/wide.h"

namespace orvalis::controls {

using detail::Dutch;
using detail::FillPopup;
using detail::ParagraphFormat;
using detail::Selection;
using detail::SelectionFormat;
using detail::SetParagraph;
using detail::TrackBelow;

// ---------------------------------------------------------------- formatting commands

void PRichEdit::ToolCommandClicked(ToolCommand command) {
  switch (command) {
    case ToolCommand::Menu: ClickMenu(); break;
    case ToolCommand::Undo: ClickUndo(); break;
    case ToolCommand::Cut: ClickCut(); break;
    case ToolCommand::Copy: ClickCopy(); break;
    case ToolCommand::Paste: ClickPaste(); break;
    case ToolCommand::Print: ClickPrint(); break;
    case ToolCommand::Bold: ClickBold(); break;
    case ToolCommand::Italic: ClickItalic(); break;
    case ToolCommand::Underline: ClickUnderline(); break;
    case ToolCommand::StrikeOut: ClickStrikeOut(); break;
    case ToolCommand::AlignLeft: ClickAlignLeft(); break;
    case ToolCommand::AlignCenter: ClickAlignCenter(); break;
    case ToolCommand::AlignRight: ClickAlignRight(); break;
    case ToolCommand::Numbering: ClickNumbering(); break;
    case ToolCommand::TextColor: ClickTextColor(); break;
    case ToolCommand::Find: ClickFind(); break;
    case ToolCommand::InsertField: ClickNewField(); break;
    case ToolCommand::FontName:
    case ToolCommand::FontSize:
    case ToolCommand::Separator: break;
  }
}

void PRichEdit::ClickUndo() { Send(EM_UNDO); }
void PRichEdit::ClickCut() { Send(WM_CUT); }
void PRichEdit::ClickCopy() { Send(WM_COPY); }

void PRichEdit::ClickPaste() {
  const CHARRANGE before = Selection(Inner());
  Send(WM_PASTE);
  const CHARRANGE after = Selection(Inner());
  // The pasted range is formatted again once the window is done with it.
  ::PostMessageW(Inner(), kRichPastedMessage, WPARAM(std::min(before.cpMin, after.cpMin)), LPARAM(after.cpMax));
}

void PRichEdit::ToggleStyle(DWORD mask, DWORD effect, int attribute) {
  if (!richFormat_) return;
  const CHARFORMATW now = SelectionFormat(Inner());
  CHARFORMATW next{};
  next.cbSize = sizeof next;
  next.dwMask = mask;
  next.dwEffects = ((now.dwMask & mask) && (now.dwEffects & effect)) ? 0 : effect;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&next));
  SetFieldTextAttributes(attribute, true);
  UpdateToolBar();
}

void PRichEdit::ClickBold() { ToggleStyle(CFM_BOLD, CFE_BOLD, 4); }
void PRichEdit::ClickItalic() { ToggleStyle(CFM_ITALIC, CFE_ITALIC, 8); }
void PRichEdit::ClickUnderline() { ToggleStyle(CFM_UNDERLINE, CFE_UNDERLINE, 16); }
void PRichEdit::ClickStrikeOut() { ToggleStyle(CFM_STRIKEOUT, CFE_STRIKEOUT, 32); }

void PRichEdit::SetAlignment(int alignment) {
  if (!richFormat_) return;
  PARAFORMAT2 p{};
  p.wAlignment = WORD(alignment);
  SetParagraph(Inner(), p, PFM_ALIGNMENT);
  UpdateToolBar();
}

void PRichEdit::SetSelectionFont(const std::string& name, int points) {
  if (!richFormat_) return;
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  if (!name.empty()) {
    format.dwMask = CFM_FACE;
    const std::wstring face = win::Wide(name);
    face.copy(format.szFaceName, LF_FACESIZE - 1);
  } else {
    format.dwMask = CFM_SIZE;
    format.yHeight = points * 20;
  }
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  SetFieldTextAttributes(name.empty() ? 1 : 2, true);
  Focus();
  UpdateToolBar();
}

void PRichEdit::ClickNumbering() {
  if (!richFormat_) return;
  const PARAFORMAT2 p = ParagraphFormat(Inner());
  FillPopup(NumberingMenu(p.wNumbering, Dutch(*this)));
  RichToolBar* bar = ToolBar();
  const int tag = bar && bar->HandleAllocated() ? TrackBelow(bar->Handle(), bar->ButtonRect(ToolCommand::Numbering))
                                                : ui::ShowPopupMenu(nullptr, ui::kPopupAlignLeft);
  if (tag >= 0) SetNumbering(tag);
}

void PRichEdit::SetNumbering(int style) {
  if (!richFormat_) return;
  PARAFORMAT2 p{};
  p.wNumbering = WORD(style);
  p.wNumberingStart = 1;
  SetParagraph(Inner(), p, PFM_NUMBERING | PFM_NUMBERINGSTART);
  UpdateToolBar();
}

void PRichEdit::SetLineSpacing(int rule, int value) {
  PARAFORMAT2 p{};
  p.bLineSpacingRule = BYTE(rule);
  p.dyLineSpacing = value;
  DWORD mask = PFM_LINESPACING;
  if (rule == kSpacingSingle) mask |= PFM_SPACEBEFORE | PFM_SPACEAFTER;  // with no space around the paragraph
  SetParagraph(Inner(), p, mask);
}

void PRichEdit::ClickTextColor() {
  if (!richFormat_) return;
  CHARFORMATW format = SelectionFormat(Inner());
  ui::Color color = format.crTextColor;
  if (!SelectColorAt(color, 1, kNoPosition, kNoPosition)) return;
  CHARFORMATW next{};
  next.cbSize = sizeof next;
  next.dwMask = CFM_COLOR;
  next.crTextColor = ui::ResolveColor(color);
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&next));
  SetFieldTextAttributes(64, true);
  UpdateToolBar();
}

void PRichEdit::ClickNewField() {
  if (!OnFieldEdit) return;
  POINTL at{};
  Send(EM_POSFROMCHAR, WPARAM(&at), Selection(Inner()).cpMin);
  (void)FieldEdit(int(at.x), int(at.y), true);
}

int PRichEdit::Tab(int index) {
  const PARAFORMAT2 p = ParagraphFormat(Inner());
  if (index < 0 || index >= p.cTabCount) return 0;
  return TabPosition(TabFromTwipsForm(p.rgxTabs[index]));
}

}  // namespace orvalis::controls
