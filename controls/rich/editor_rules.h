// The rich text editor's rules that need no window: line spacing and tab stop
// values, the ruler's hit test, the Tab and Enter typing rules, the line length
// limit, the find search, the numbering styles, the items of the context menu
// and the menu button's drop-down, the tool bar's buttons and hints, the
// keyboard shortcuts and the editor background decision.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::controls {

// ---------------------------------------------------------------- line spacing

// The line-spacing rules of a rich edit paragraph format that the menu uses.
inline constexpr int kSpacingSingle = 0;    // single spacing
inline constexpr int kSpacingExactly = 4;   // value in twips
inline constexpr int kSpacingMultiple = 5;  // value in twentieths of a line

struct LineSpacingChoice {
  std::string_view caption;
  int rule = kSpacingSingle;
  int value = 0;
};

// "1,1" ... "2,0", "2,5", "3,0": multiples of the line height (22 ... 40, 50, 60).
[[nodiscard]] const std::vector<LineSpacingChoice>& RelativeSpacings();
// "0,1 cm" ... "1,0 cm", "1,5 cm", "2,0 cm", "2,5 cm", "3,0 cm" in twips (57 ... 1701).
[[nodiscard]] const std::vector<LineSpacingChoice>& ExactSpacings();
// Tenths of a centimetre in twips, rounded.
[[nodiscard]] int TenthsOfCmToTwips(int tenths);

// ---------------------------------------------------------------- tab stops

// Tab stops are handed around in points with the type in the high part: a
// centred tab adds 838860, a right tab 1677721 (the rich edit type byte,
// 1 << 24 or 2 << 24 twips, divided by 20).
enum class TabKind : std::uint8_t { Left, Center, Right };
inline constexpr int kCenterTabBase = 838860;
inline constexpr int kRightTabBase = 1677721;

[[nodiscard]] TabKind TabKindOf(int value);
// The position in points without the type part.
[[nodiscard]] int TabPosition(int value);
[[nodiscard]] int TabValue(TabKind kind, int points);
// The rich edit form (twips, type in the high byte) and back.
[[nodiscard]] std::int32_t TabToTwipsForm(int value);
[[nodiscard]] int TabFromTwipsForm(std::int32_t twipsForm);
// The type a click on an unmoved tab gives: right becomes left, centred
// becomes right, left becomes centred only with advanced typography.
[[nodiscard]] int CycleTab(int value, bool advancedTypography);
// Adds a left tab at `points` keeping the stops sorted by position; the index it got.
int InsertTab(std::vector<int>& tabs, int points);

// ---------------------------------------------------------------- ruler

// Points and ruler pixels at a zoom in percent and a screen resolution.
[[nodiscard]] int PointsToPixels(int points, int zoom, int dpi);
[[nodiscard]] int PixelsToPoints(int pixels, int zoom, int dpi);

// The marks of the current paragraph in ruler pixels.
struct RulerMarks {
  int firstIndent = 0;  // first line
  int leftIndent = 0;   // following lines
  int rightIndent = 0;  // the right margin, from the left edge of the ruler
  std::vector<int> tabs;
};
enum class RulerPart : std::uint8_t { None, FirstIndent, LeftIndent, RightIndent, Tab };
struct RulerHit {
  RulerPart part = RulerPart::None;
  int tab = -1;  // the tab's index for RulerPart::Tab
  friend bool operator==(const RulerHit&, const RulerHit&) = default;
};
// What a press at (x, y) of a ruler `height` pixels high takes hold of: an
// indent mark within half the height (the first-line mark in the upper half,
// the left mark in the lower half), else a tab stop within half the height.
[[nodiscard]] RulerHit HitRuler(const RulerMarks& marks, int x, int y, int height);

// ---------------------------------------------------------------- typing rules

// Where TABs go in or come out for Tab and Shift+Tab on a selection, and the
// selection afterwards. Positions are UTF-16 units of the window's text with
// line breaks as CR LF.
struct IndentEdit {
  std::vector<int> positions;  // ascending, in the text before the change
  int selStart = 0;
  int selEnd = 0;
};
// Tab on a selection: looks back at most 50 characters before the selection
// for the line start that holds its start; every line start from there up to
// the end of the selection gets a TAB (a line starting exactly at the end
// stays as it is). With `linesInSelection` only lines that start inside the
// selection (Ctrl+Shift+I).
[[nodiscard]] IndentEdit IndentLines(std::u16string_view text, int selStart, int selEnd, bool linesInSelection);
// Shift+Tab: the same lines lose one TAB that directly follows their start.
[[nodiscard]] IndentEdit OutdentLines(std::u16string_view text, int selStart, int selEnd, bool linesInSelection);

// Enter is refused once the text holds maxLines - 1 line feeds (maxLines > 0).
[[nodiscard]] bool EnterAllowed(std::string_view text, int maxLines);
// Keys still taken on a full line: Enter, Escape, Backspace, Delete, Insert,
// the arrows, Home, End, Page Up, Page Down, Shift, Ctrl, Alt and F1 to F24.
[[nodiscard]] bool KeyAllowedOnFullLine(unsigned virtualKey);
// Whether a key goes in under MaxLineLength.
[[nodiscard]] bool LineLengthAllows(int maxLineLength, bool hasSelection, int lineLength, unsigned virtualKey);

// ---------------------------------------------------------------- find

struct TextRange {
  int start = 0;
  int end = 0;
  friend bool operator==(const TextRange&, const TextRange&) = default;
};
// The next match of `what` in `text`: forwards from the end of the selection,
// or (up) the last one that ends before the selection start. Without matchCase
// both are upper-cased first. None when nothing matches.
[[nodiscard]] std::optional<TextRange> FindInText(std::u16string_view text, std::u16string_view what,
                                                  TextRange selection, bool matchCase, bool up);

// ---------------------------------------------------------------- menus

// A menu item as the pop-up menu service takes it: `parent` -1 for the top
// level, caption "-" for a separator (tag 0).
struct MenuEntry {
  int tag = 0;
  int parent = -1;
  std::string caption;
  bool shown = true;
  bool enabled = true;
  bool checked = false;
  friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// Numbering styles as the rich edit paragraph format numbers them; the tag of
// a popup item is its style.
inline constexpr int kNumberingStyles = 7;
[[nodiscard]] std::string_view NumberingCaption(int style, bool dutch);
[[nodiscard]] std::vector<MenuEntry> NumberingMenu(int current, bool dutch);

// Tags of the context menu. A field name i of the field list is 400 + i.
inline constexpr int kMenuHelp = 9, kMenuCut = 1, kMenuCopy = 2, kMenuPaste = 3, kMenuNewField = 4, kMenuEdit = 5;
inline constexpr int kMenuFieldBase = 400;

struct ContextMenuState {
  bool dutch = true;
  bool contextHelp = false;  // ContextHelp is not empty
  bool selection = false;
  bool clipboardData = false;
  bool fieldEdit = false;  // OnFieldEdit is set
  std::vector<std::string> fieldList;
};
[[nodiscard]] std::vector<MenuEntry> ContextMenuItems(const ContextMenuState& state);

// Tags of the menu button's drop-down.
inline constexpr int kDropLineSpacing = 100, kDropSingle = 101, kDropRelative = 102, kDropExact = 103;
inline constexpr int kDropRelativeBase = 110;  // + index into RelativeSpacings()
inline constexpr int kDropExactBase = 130;     // + index into ExactSpacings()
inline constexpr int kDropInsertObject = 200, kDropPasteSpecial = 201, kDropCharmap = 202, kDropBackColor = 203;
inline constexpr int kDropImages = 204, kDropImageBase = 300;  // + index into the image files

struct DropDownState {
  bool dutch = true;
  bool showInsertObject = false;
  bool useOle = true;
  bool charmap = false;  // charmap.exe is in the system folder
  std::vector<std::string> imageFiles;  // names of the "Images\*.BMP" files
  int spacingRule = kSpacingSingle;
  int spacingValue = 0;
};
[[nodiscard]] std::vector<MenuEntry> DropDownItems(const DropDownState& state);
// The line spacing a drop-down tag chooses; none for other tags.
[[nodiscard]] std::optional<LineSpacingChoice> SpacingOfTag(int tag);
// A file name up to its last ".".
[[nodiscard]] std::string ImageCaption(std::string_view fileName);

// ---------------------------------------------------------------- tool bar

enum class ToolCommand : std::uint8_t {
  Menu, Undo, Cut, Copy, Paste, Print, Bold, Italic, Underline, StrikeOut, AlignLeft, AlignCenter, AlignRight,
  Numbering, TextColor, FontName, FontSize, Find, InsertField, Separator
};
enum class ToolKind : std::uint8_t { Button, Check, Combo, Separator };
// When an item is visible.
enum class ToolShown : std::uint8_t { Always, ShowMenu, ShowPrint, Rich, ShowFind, FieldEdit };

// The 18 hint slots in their order.
enum class HintSlot : std::uint8_t {
  Menu, Undo, Cut, Copy, Paste, Bold, Italic, Underline, StrikeOut, AlignLeft, AlignCenter, AlignRight, Numbering,
  TextColor, Print, Find, InsertObject, InsertField, None
};
inline constexpr int kHintSlots = 18;
[[nodiscard]] std::string_view HintText(HintSlot slot, bool dutch);

struct ToolItem {
  ToolCommand command;
  ToolKind kind;
  int image;  // -1 for boxes and separators
  ToolShown shown;
  HintSlot hint;
};
// The items left to right, separators included.
[[nodiscard]] const std::vector<ToolItem>& ToolItems();

struct ToolBarState {
  bool richFormat = true;
  bool showMenu = false;
  bool showPrint = false;
  bool showFind = false;
  bool fieldEdit = false;
};
[[nodiscard]] bool ToolItemVisible(const ToolItem& item, const ToolBarState& state);

// A style button's look from the selection's character format.
enum class ButtonState : std::uint8_t { Up, Down, Indeterminate };
[[nodiscard]] ButtonState StyleButton(bool sameInSelection, bool on);

// ---------------------------------------------------------------- keys

enum class EditorKey : std::uint8_t {
  None, Bold, Italic, IndentLines, Underline, OutdentLines, StrikeOut, AlignLeft, AlignCenter, AlignRight, Justify,
  TextColor, Protect, Paste, FindDialog, FindNext, NewField, CopyRichText, PageBreak
};
// The command of a key pressed in the inner window (virtual-key codes).
[[nodiscard]] EditorKey ShortcutOf(unsigned virtualKey, bool ctrl, bool shift, bool alt);

// ---------------------------------------------------------------- background

// The editor background a colour chosen from the drop-down gives (0x00BBGGRR):
// the colour to store as "TextEditorColor", or none when white or the
// control's own colour clear the stored value.
[[nodiscard]] std::optional<std::uint32_t> StoredEditorColor(std::uint32_t chosen, std::uint32_t controlColor);

// ---------------------------------------------------------------- paste special

// The clipboard formats Paste Special offers, in the order of its entries.
enum class PasteFormat : std::uint8_t {
  EmbeddedObject, LinkSource, Text, RichText, EnhMetafile, Metafile, Dib, Bitmap
};
// One entry of the Paste Special dialog. The object entries show the object's
// own name and description: "%s" is where the dialog puts them.
struct PasteEntry {
  PasteFormat format;
  std::string_view name;
  std::string_view result;
  bool asIcon = false;  // may be shown as an icon
  bool paste = false;   // may be pasted (embedded)
  bool link = false;    // may be linked through the "Link Source" link type
};
[[nodiscard]] const std::vector<PasteEntry>& PasteSpecialEntries();
// Whether choosing the entry makes an object; the others import clipboard data.
[[nodiscard]] bool PastesObject(PasteFormat format);
// The format the inner window imports for a data entry: an enhanced metafile
// comes in as a metafile.
[[nodiscard]] PasteFormat ImportedFormat(PasteFormat format);

// Printing: pages are formatted from a character position until the window
// has formatted everything. `formatPage(first)` prints one page and gives the
// first character of the next; the number of pages printed.
template <typename FormatPage>
int PrintPages(int textLength, FormatPage&& formatPage) {
  int pages = 0;
  for (int first = 0; first < textLength;) {
    const int next = formatPage(first);
    ++pages;
    if (next <= first) break;  // nothing fitted: stop instead of looping
    first = next;
  }
  return pages;
}

}  // namespace orvalis::controls
