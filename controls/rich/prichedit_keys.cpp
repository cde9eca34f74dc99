// The rich text editor's keys and typing rules: shortcuts, the line and length
// limits, indenting with Tab, protection and page breaks.
#include "controls/rich/prichedit.h"

#include "controls/rich/prichedit_bars.h"
#include "controls/rich/prichedit_detail.h"
#include "ui/clipboard.h"
#include "win/scope_exit.h"
#include "win/wide.h"

namespace orvalis::controls {

using detail::Select;
using detail::Selection;
using detail::SelectionFormat;
using detail::Utf16;

// ---------------------------------------------------------------- keys and typing

bool PRichEdit::EditorKeys(ui::Message& m) {
  RichEditorBars& bars = Bars();
  switch (m.msg) {
    case WM_SETFOCUS:
      bars.innerFocused = true;
      if (bars.autoHideBars) Layout();
      return false;
    case WM_KILLFOCUS: {
      // The bars stay while the focus is in one of them (the font boxes).
      HWND to = reinterpret_cast<HWND>(m.wParam);
      bars.innerFocused = to && HandleAllocated() && ::IsChild(HandleIfCreated(), to);
      if (bars.autoHideBars) Layout();
      return false;
    }
    case WM_CHAR:
      if (!bars.swallowChar) return false;
      bars.swallowChar = false;
      m.result = 0;
      return true;
    case WM_KEYDOWN: break;
    case WM_SYSKEYDOWN:
      // F10 without Alt arrives as a system key; the other system keys are the menu's.
      if (m.wParam != VK_F10 || ::GetKeyState(VK_MENU) < 0) return false;
      break;
    default: return false;
  }
  bars.swallowChar = false;
  const auto take = [&] {
    bars.swallowChar = true;  // the character this key makes is not typed
    m.result = 0;
    return true;
  };
  const unsigned key = unsigned(m.wParam);
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  const EditorKey command = ShortcutOf(key, ctrl, shift, alt);
  const bool reading = command == EditorKey::FindDialog || command == EditorKey::FindNext ||
                       command == EditorKey::CopyRichText;
  if (command != EditorKey::None && (!readOnly_ || reading)) {
    RunShortcut(command);
    return take();
  }
  if (readOnly_) return false;
  const CHARRANGE selection = Selection(Inner());
  const bool selected = selection.cpMax != selection.cpMin;
  if (key == VK_RETURN && !ctrl && !EnterAllowed(GetText(), bars.maxLines)) return take();
  if (key == VK_TAB && !ctrl && !alt && richFormat_ && selected) {
    IndentSelection(shift, false);
    return take();
  }
  if (bars.maxLineLength > 0) {
    const LRESULT line = Send(EM_EXLINEFROMCHAR, 0, selection.cpMin);
    const int length = int(Send(EM_LINELENGTH, WPARAM(Send(EM_LINEINDEX, WPARAM(line)))));
    if (!LineLengthAllows(bars.maxLineLength, selected, length, key)) return take();
  }
  return false;
}

void PRichEdit::RunShortcut(EditorKey key) {
  switch (key) {
    case EditorKey::Bold: ClickBold(); break;
    case EditorKey::Italic: ClickItalic(); break;
    case EditorKey::Underline: ClickUnderline(); break;
    case EditorKey::StrikeOut: ClickStrikeOut(); break;
    case EditorKey::IndentLines: IndentSelection(false, true); break;
    case EditorKey::OutdentLines: IndentSelection(true, true); break;
    case EditorKey::AlignLeft: ClickAlignLeft(); break;
    case EditorKey::AlignCenter: ClickAlignCenter(); break;
    case EditorKey::AlignRight: ClickAlignRight(); break;
    case EditorKey::Justify: ClickAlignJustify(); break;
    case EditorKey::TextColor: ClickTextColor(); break;
    case EditorKey::Protect: {
      const CHARFORMATW now = SelectionFormat(Inner());
      CHARFORMATW next{};
      next.cbSize = sizeof next;
      next.dwMask = CFM_PROTECTED;
      next.dwEffects = ((now.dwMask & CFM_PROTECTED) && (now.dwEffects & CFE_PROTECTED)) ? 0 : CFE_PROTECTED;
      Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&next));
      break;
    }
    case EditorKey::Paste: ClickPaste(); break;
    case EditorKey::FindDialog: Find(true); break;
    case EditorKey::FindNext: Find(false); break;
    case EditorKey::NewField: ClickNewField(); break;
    case EditorKey::CopyRichText: (void)ui::WriteClipboardText(Inner(), GetRichText()); break;
    case EditorKey::PageBreak: InsertPageBreak(); break;
    case EditorKey::None: break;
  }
}

void PRichEdit::InsertPageBreak() {
  const std::wstring marker = win::Wide(kPageBreakMarker);
  const LONG start = Selection(Inner()).cpMin;
  {
    // The host hears of the change once, when the marker is protected: read in
    // between, the text would store "[NEWPAGE]" as plain text.
    const bool wasLoading = loading_;
    loading_ = true;
    auto restore = win::scope_exit([&] { loading_ = wasLoading; });
    Send(EM_REPLACESEL, TRUE, LPARAM(marker.c_str()));
    const LONG end = start + LONG(marker.size());
    Select(Inner(), start, end);
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    format.dwEffects = CFE_PROTECTED;
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    Select(Inner(), end, end);
    // What is typed after the marker is ordinary text again.
    format.dwEffects = 0;
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  }
  InnerChanged();
}

void PRichEdit::IndentSelection(bool outdent, bool linesInSelection) {
  HWND inner = Inner();
  const CHARRANGE selection = Selection(inner);
  const std::wstring text = PositionText();
  const IndentEdit edit = outdent ? OutdentLines(Utf16(text), selection.cpMin, selection.cpMax, linesInSelection)
                                  : IndentLines(Utf16(text), selection.cpMin, selection.cpMax, linesInSelection);
  // From the end backwards, so that the positions before stay as they were.
  for (auto p = edit.positions.rbegin(); p != edit.positions.rend(); ++p) {
    Select(inner, *p, outdent ? *p + 1 : *p);
    Send(EM_REPLACESEL, TRUE, LPARAM(outdent ? L"" : L"\t"));
  }
  Select(inner, edit.selStart, edit.selEnd);
}

}  // namespace orvalis::controls
