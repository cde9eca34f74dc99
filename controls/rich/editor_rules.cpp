// The rich text editor's window-free rules.
#include "controls/rich/editor_rules.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"

namespace orvalis::controls {
namespace {

// Virtual-key codes, as the system numbers them.
constexpr unsigned kVkBack = 0x08, kVkReturn = 0x0D, kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12,
                   kVkEscape = 0x1B, kVkPrior = 0x21, kVkDown = 0x28, kVkInsert = 0x2D, kVkDelete = 0x2E,
                   kVkF1 = 0x70, kVkF3 = 0x72, kVkF10 = 0x79, kVkF24 = 0x87;

constexpr std::u16string_view kLineBreak = u"\r\n";

// The line starts the indent rules work on, ascending: after every CR LF in
// the window, and the text start when the window reaches it and no break
// before the selection start was found.
std::vector<int> LineStarts(std::u16string_view text, int selStart, int selEnd, bool linesInSelection) {
  const int size = int(text.size());
  selStart = std::clamp(selStart, 0, size);
  selEnd = std::clamp(selEnd, selStart, size);
  const int windowStart = std::max(0, selStart - 50);
  std::vector<int> starts;
  bool reachedStart = false;
  // Backwards from the end of the selection, down to the first break at or
  // before the selection start.
  for (int i = selEnd - 2; i >= windowStart; --i) {
    if (text.substr(std::size_t(i), 2) != kLineBreak) continue;
    const int start = i + 2;
    if (start < selEnd || selStart == selEnd) {
      if (!linesInSelection || start >= selStart) starts.push_back(start);
    }
    if (i <= selStart) {
      reachedStart = true;
      break;
    }
  }
  // The first line of the text has no break before it but is a line all the same.
  if (!reachedStart && windowStart == 0 && (!linesInSelection || selStart == 0)) starts.push_back(0);
  std::reverse(starts.begin(), starts.end());
  return starts;
}

char16_t Upper(char16_t c) {
  // Surrogates stand for themselves.
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const char32_t u = WindowsUpperCase(char32_t(c));
  return u <= 0xFFFF ? char16_t(u) : c;
}

std::u16string UpperText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = Upper(c);
  return out;
}

}  // namespace

// ---------------------------------------------------------------- line spacing

int TenthsOfCmToTwips(int tenths) {
  // 1440 twips to the inch of 25.4 mm.
  return (tenths * 14400 + 127) / 254;
}

const std::vector<LineSpacingChoice>& RelativeSpacings() {
  static const std::vector<LineSpacingChoice> choices = [] {
    static const char* const kCaptions[] = {"1,1", "1,2", "1,3", "1,4", "1,5", "1,6",
                                            "1,7", "1,8", "1,9", "2,0", "2,5", "3,0"};
    static const int kTenths[] = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 25, 30};
    std::vector<LineSpacingChoice> list;
    for (std::size_t i = 0; i < std::size(kTenths); ++i)
      list.push_back({kCaptions[i], kSpacingMultiple, kTenths[i] * 2});
    return list;
  }();
  return choices;
}

const std::vector<LineSpacingChoice>& ExactSpacings() {
  static const std::vector<LineSpacingChoice> choices = [] {
    static const char* const kCaptions[] = {"0,1 cm", "0,2 cm", "0,3 cm", "0,4 cm", "0,5 cm", "0,6 cm", "0,7 cm",
                                            "0,8 cm", "0,9 cm", "1,0 cm", "1,5 cm", "2,0 cm", "2,5 cm", "3,0 cm"};
    static const int kTenths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30};
    std::vector<LineSpacingChoice> list;
    for (std::size_t i = 0; i < std::size(kTenths); ++i)
      list.push_back({kCaptions[i], kSpacingExactly, TenthsOfCmToTwips(kTenths[i])});
    return list;
  }();
  return choices;
}

// ---------------------------------------------------------------- tab stops

TabKind TabKindOf(int value) {
  if (value < kCenterTabBase) return TabKind::Left;
  if (value < kRightTabBase) return TabKind::Center;
  return TabKind::Right;
}

int TabPosition(int value) {
  switch (TabKindOf(value)) {
    case TabKind::Center: return value - kCenterTabBase;
    case TabKind::Right: return value - kRightTabBase;
    case TabKind::Left: break;
  }
  return value;
}

int TabValue(TabKind kind, int points) {
  switch (kind) {
    case TabKind::Center: return points + kCenterTabBase;
    case TabKind::Right: return points + kRightTabBase;
    case TabKind::Left: break;
  }
  return points;
}

std::int32_t TabToTwipsForm(int value) {
  return std::int32_t(int(TabKindOf(value)) << 24 | (TabPosition(value) * 20 & 0xFFFFFF));
}

int TabFromTwipsForm(std::int32_t twipsForm) {
  const int type = int(std::uint32_t(twipsForm) >> 24 & 0x0F);
  const int points = int(twipsForm & 0xFFFFFF) / 20;
  return TabValue(type == 1 ? TabKind::Center : type == 2 ? TabKind::Right : TabKind::Left, points);
}

int CycleTab(int value, bool advancedTypography) {
  const int points = TabPosition(value);
  switch (TabKindOf(value)) {
    case TabKind::Right: return TabValue(TabKind::Left, points);
    case TabKind::Center: return TabValue(TabKind::Right, points);
    case TabKind::Left: break;
  }
  return advancedTypography ? TabValue(TabKind::Center, points) : value;
}

int InsertTab(std::vector<int>& tabs, int points) {
  const auto at = std::find_if(tabs.begin(), tabs.end(), [&](int t) { return TabPosition(t) > points; });
  const auto index = at - tabs.begin();
  tabs.insert(at, points);
  return int(index);
}

// ---------------------------------------------------------------- ruler

int PointsToPixels(int points, int zoom, int dpi) {
  const long long v = static_cast<long long>(points) * dpi * zoom;
  return int((v >= 0 ? v + 3600 : v - 3600) / 7200);
}

int PixelsToPoints(int pixels, int zoom, int dpi) {
  const long long d = static_cast<long long>(dpi) * zoom;
  if (d <= 0) return 0;
  const long long v = static_cast<long long>(pixels) * 7200;
  return int((v >= 0 ? v + d / 2 : v - d / 2) / d);
}

RulerHit HitRuler(const RulerMarks& marks, int x, int y, int height) {
  const int reach = height / 2;
  auto near = [&](int at) { return std::abs(x - at) <= reach; };
  const bool upper = y < height / 2;
  if (upper && near(marks.firstIndent)) return {RulerPart::FirstIndent, -1};
  if (!upper && near(marks.leftIndent)) return {RulerPart::LeftIndent, -1};
  if (near(marks.rightIndent)) return {RulerPart::RightIndent, -1};
  int best = -1;
  for (int i = 0; i < int(marks.tabs.size()); ++i)
    if (near(marks.tabs[std::size_t(i)]) &&
        (best < 0 || std::abs(x - marks.tabs[std::size_t(i)]) < std::abs(x - marks.tabs[std::size_t(best)])))
      best = i;
  if (best >= 0) return {RulerPart::Tab, best};
  return {};
}

// ---------------------------------------------------------------- typing rules

IndentEdit IndentLines(std::u16string_view text, int selStart, int selEnd, bool linesInSelection) {
  IndentEdit edit;
  edit.positions = LineStarts(text, selStart, selEnd, linesInSelection);
  const auto before = [&](int p) { return int(std::count_if(edit.positions.begin(), edit.positions.end(),
                                                             [&](int q) { return q < p; })); };
  // A TAB at the selection start belongs to the selection.
  edit.selStart = selStart + before(selStart);
  edit.selEnd = selEnd + int(edit.positions.size());
  return edit;
}

IndentEdit OutdentLines(std::u16string_view text, int selStart, int selEnd, bool linesInSelection) {
  IndentEdit edit;
  for (const int start : LineStarts(text, selStart, selEnd, linesInSelection))
    if (start < int(text.size()) && text[std::size_t(start)] == u'\t') edit.positions.push_back(start);
  const auto before = [&](int p) { return int(std::count_if(edit.positions.begin(), edit.positions.end(),
                                                             [&](int q) { return q < p; })); };
  edit.selStart = selStart - before(selStart);
  edit.selEnd = std::max(edit.selStart, selEnd - before(selEnd));
  return edit;
}

bool EnterAllowed(std::string_view text, int maxLines) {
  if (maxLines <= 0) return true;
  return std::count(text.begin(), text.end(), '\n') < maxLines - 1;
}

bool KeyAllowedOnFullLine(unsigned key) {
  switch (key) {
    case kVkReturn:
    case kVkEscape:
    case kVkBack:
    case kVkDelete:
    case kVkInsert:
    case kVkShift:
    case kVkControl:
    case kVkMenu: return true;
    default: break;
  }
  // Page Up, Page Down, End, Home and the four arrows lie together.
  if (key >= kVkPrior && key <= kVkDown) return true;
  return key >= kVkF1 && key <= kVkF24;
}

bool LineLengthAllows(int maxLineLength, bool hasSelection, int lineLength, unsigned key) {
  if (maxLineLength <= 0 || hasSelection || lineLength < maxLineLength) return true;
  return KeyAllowedOnFullLine(key);
}

// ---------------------------------------------------------------- find

std::optional<TextRange> FindInText(std::u16string_view text, std::u16string_view what, TextRange selection,
                                    bool matchCase, bool up) {
  if (what.empty() || what.size() > text.size()) return std::nullopt;
  std::u16string upperText, upperWhat;
  if (!matchCase) {
    upperText = UpperText(text);
    upperWhat = UpperText(what);
    text = upperText;
    what = upperWhat;
  }
  const int size = int(text.size()), length = int(what.size());
  const int start = std::clamp(std::min(selection.start, selection.end), 0, size);
  const int end = std::clamp(std::max(selection.start, selection.end), 0, size);
  std::size_t found = std::u16string_view::npos;
  if (up) {
    if (start >= length) found = text.substr(0, std::size_t(start)).rfind(what);
  } else {
    found = text.find(what, std::size_t(end));
  }
  if (found == std::u16string_view::npos) return std::nullopt;
  return TextRange{int(found), int(found) + length};
}

// ---------------------------------------------------------------- menus

std::string_view NumberingCaption(int style, bool dutch) {
  static const char* const kCaptions[] = {"", "*,*,*,...", "1,2,3,...", "a,b,c,...",
                                          "A,B,C,...", "i,ii,iii,...", "I,II,III,..."};
  if (style == 0) return dutch ? "Geen" : "None";
  if (style < 0 || style >= kNumberingStyles) return {};
  return kCaptions[style];
}

std::vector<MenuEntry> NumberingMenu(int current, bool dutch) {
  std::vector<MenuEntry> items;
  for (int style = 0; style < kNumberingStyles; ++style)
    items.push_back({style, -1, std::string(NumberingCaption(style, dutch)), true, true, style == current});
  return items;
}

std::vector<MenuEntry> ContextMenuItems(const ContextMenuState& s) {
  const bool nl = s.dutch;
  std::vector<MenuEntry> items = {
      {kMenuHelp, -1, "Help", s.contextHelp},
      {0, -1, "-", s.contextHelp},
      {kMenuCut, -1, nl ? "Knippen" : "Cut", true, s.selection},
      {kMenuCopy, -1, nl ? "Kopieren" : "Copy", true, s.selection},
      {kMenuPaste, -1, nl ? "Plakken" : "Paste", true, s.clipboardData},
      {0, -1, "-", s.fieldEdit},
      {kMenuNewField, -1, nl ? "Nieuw veld" : "New field", s.fieldEdit},
  };
  for (std::size_t i = 0; i < s.fieldList.size(); ++i)
    items.push_back({kMenuFieldBase + int(i), kMenuNewField, s.fieldList[i], s.fieldEdit});
  items.push_back({0, -1, "-", s.fieldEdit});
  items.push_back({kMenuEdit, -1, nl ? "Bewerken" : "Edit", s.fieldEdit});
  return items;
}

std::vector<MenuEntry> DropDownItems(const DropDownState& s) {
  const bool nl = s.dutch;
  const bool single = s.spacingRule == kSpacingSingle;
  const bool relative = s.spacingRule == kSpacingMultiple;
  const bool exact = s.spacingRule == kSpacingExactly;
  std::vector<MenuEntry> items = {
      {kDropLineSpacing, -1, nl ? "Regelruimte" : "LineSpacing"},
      {kDropSingle, kDropLineSpacing, nl ? "Normaal" : "Single", true, true, single},
  };
  auto group = [&](int tag, std::string caption, bool current, const std::vector<LineSpacingChoice>& choices,
                   int base) {
    bool any = false;
    std::vector<MenuEntry> sub;
    for (std::size_t i = 0; i < choices.size(); ++i) {
      const bool checked = current && choices[i].value == s.spacingValue;
      any = any || checked;
      sub.push_back({base + int(i), tag, std::string(choices[i].caption), true, true, checked});
    }
    items.push_back({tag, kDropLineSpacing, std::move(caption), true, true, any});
    items.insert(items.end(), sub.begin(), sub.end());
  };
  group(kDropRelative, nl ? "T.o.v. Lettertype" : "Relative to characterheight", relative, RelativeSpacings(),
        kDropRelativeBase);
  group(kDropExact, "Exact", exact, ExactSpacings(), kDropExactBase);
  const bool ole = s.showInsertObject && s.useOle;
  items.push_back({kDropInsertObject, -1, nl ? "Object invoegen" : "Insert Object", ole});
  items.push_back({kDropPasteSpecial, -1, nl ? "Plakken Speciaal" : "Paste Special", ole});
  items.push_back({kDropCharmap, -1, nl ? "Speciale tekens" : "Special characters", s.charmap});
  items.push_back({kDropBackColor, -1, nl ? "Achtergrondkleur tekstverwerker" : "Backcolor editor"});
  items.push_back({kDropImages, -1, nl ? "Plaatjes" : "Images", !s.imageFiles.empty()});
  for (std::size_t i = 0; i < s.imageFiles.size(); ++i)
    items.push_back({kDropImageBase + int(i), kDropImages, ImageCaption(s.imageFiles[i])});
  return items;
}

std::optional<LineSpacingChoice> SpacingOfTag(int tag) {
  if (tag == kDropSingle) return LineSpacingChoice{"", kSpacingSingle, 0};
  const auto& relative = RelativeSpacings();
  if (tag >= kDropRelativeBase && tag < kDropRelativeBase + int(relative.size()))
    return relative[std::size_t(tag - kDropRelativeBase)];
  const auto& exact = ExactSpacings();
  if (tag >= kDropExactBase && tag < kDropExactBase + int(exact.size()))
    return exact[std::size_t(tag - kDropExactBase)];
  return std::nullopt;
}

std::string ImageCaption(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

// ---------------------------------------------------------------- tool bar

std::string_view HintText(HintSlot slot, bool dutch) {
  struct Pair {
    const char* dutch;
    const char* english;
  };
  static constexpr Pair kHints[kHintSlots] = {
      {"Menu", "Menu"},
      {"Ongedaan maken", "Undo"},
      {"Knippen", "Cut"},
      {"Kopieren", "Copy"},
      {"Plakken", "Paste"},
      {"Vet", "Bold"},
      {"Schuin", "Italic"},
      {"Onderstrepen", "Underline"},
      {"Doorhalen", "StrikeOut"},
      {"Links uitlijnen", "Align Left"},
      {"In het midden uitlijnen", "Align Center"},
      {"Rechts uitlijnen", "Align Right"},
      {"Opsommingstekens", "Numbering"},
      {"Tekstkleur", "Color"},
      {"Afdrukken", "Print"},
      {"Tekst zoeken", "Find text"},
      {"Object invoegen", "Insert Object"},
      {"Veld invoegen", "Insert field"},
  };
  const int i = int(slot);
  if (i < 0 || i >= kHintSlots) return {};
  return dutch ? kHints[i].dutch : kHints[i].english;
}

const std::vector<ToolItem>& ToolItems() {
  using C = ToolCommand;
  using K = ToolKind;
  using S = ToolShown;
  using H = HintSlot;
  static const std::vector<ToolItem> items = {
      {C::Menu, K::Button, 16, S::ShowMenu, H::Menu},
      {C::Separator, K::Separator, -1, S::ShowMenu, H::None},
      {C::Undo, K::Button, 12, S::Always, H::Undo},
      {C::Cut, K::Button, 9, S::Always, H::Cut},
      {C::Copy, K::Button, 10, S::Always, H::Copy},
      {C::Paste, K::Button, 11, S::Always, H::Paste},
      {C::Print, K::Button, 13, S::ShowPrint, H::Print},
      {C::Separator, K::Separator, -1, S::Always, H::None},
      {C::Bold, K::Check, 0, S::Rich, H::Bold},
      {C::Italic, K::Check, 1, S::Rich, H::Italic},
      {C::Underline, K::Check, 2, S::Rich, H::Underline},
      {C::StrikeOut, K::Check, 3, S::Rich, H::StrikeOut},
      {C::Separator, K::Separator, -1, S::Rich, H::None},
      {C::AlignLeft, K::Check, 4, S::Rich, H::AlignLeft},
      {C::AlignCenter, K::Check, 5, S::Rich, H::AlignCenter},
      {C::AlignRight, K::Check, 6, S::Rich, H::AlignRight},
      {C::Numbering, K::Check, 8, S::Rich, H::Numbering},
      {C::Separator, K::Separator, -1, S::Rich, H::None},
      {C::TextColor, K::Button, 7, S::Rich, H::TextColor},
      {C::Separator, K::Separator, -1, S::Rich, H::None},
      {C::FontName, K::Combo, -1, S::Rich, H::None},
      {C::FontSize, K::Combo, -1, S::Rich, H::None},
      {C::Separator, K::Separator, -1, S::Rich, H::None},
      {C::Find, K::Button, 14, S::ShowFind, H::Find},
      {C::InsertField, K::Button, 20, S::FieldEdit, H::InsertField},
  };
  return items;
}

bool ToolItemVisible(const ToolItem& item, const ToolBarState& s) {
  switch (item.shown) {
    case ToolShown::Always: return true;
    case ToolShown::ShowMenu: return s.showMenu;
    case ToolShown::ShowPrint: return s.showPrint;
    case ToolShown::Rich: return s.richFormat;
    case ToolShown::ShowFind: return s.showFind;
    case ToolShown::FieldEdit: return s.fieldEdit;
  }
  return false;
}

ButtonState StyleButton(bool sameInSelection, bool on) {
  if (!sameInSelection) return ButtonState::Indeterminate;
  return on ? ButtonState::Down : ButtonState::Up;
}

// ---------------------------------------------------------------- keys

EditorKey ShortcutOf(unsigned key, bool ctrl, bool shift, bool alt) {
  if (alt) return EditorKey::None;  // Ctrl+Alt is AltGr: characters, not commands
  if (key == kVkF3) return ctrl ? EditorKey::FindDialog : EditorKey::FindNext;
  if (key == kVkF10 && !ctrl && !shift) return EditorKey::NewField;
  if (key == kVkInsert && shift && !ctrl) return EditorKey::Paste;
  if (!ctrl) return EditorKey::None;
  switch (key) {
    case 'B': return EditorKey::Bold;
    case 'I': return shift ? EditorKey::IndentLines : EditorKey::Italic;
    case 'U': return shift ? EditorKey::OutdentLines : EditorKey::Underline;
    case 'S': return EditorKey::StrikeOut;
    case 'L': return EditorKey::AlignLeft;
    case 'E': return EditorKey::AlignCenter;
    case 'R': return EditorKey::AlignRight;
    case '1': return EditorKey::Justify;
    case 'D': return EditorKey::TextColor;
    case 'P': return EditorKey::Protect;
    case 'V': return EditorKey::Paste;
    case 'F': return EditorKey::FindDialog;
    case 'C': return shift ? EditorKey::CopyRichText : EditorKey::None;
    case kVkReturn: return EditorKey::PageBreak;
    default: break;
  }
  return EditorKey::None;
}

// ---------------------------------------------------------------- background

std::optional<std::uint32_t> StoredEditorColor(std::uint32_t chosen, std::uint32_t controlColor) {
  if (chosen == 0xFFFFFF || chosen == controlColor) return std::nullopt;
  return chosen;
}

// ---------------------------------------------------------------- paste special

const std::vector<PasteEntry>& PasteSpecialEntries() {
  using F = PasteFormat;
  static const std::vector<PasteEntry> entries = {
      {F::EmbeddedObject, "%s", "%s", true, true, false},
      {F::LinkSource, "%s", "%s", true, false, true},
      {F::Text, "Unformatted Text", "text without any formatting"},
      {F::RichText, "Formatted Text (RTF)", "text with font and paragraph formatting"},
      {F::EnhMetafile, "Picture (Enhanced Metafile)", "a picture"},
      {F::Metafile, "Picture (Metafile)", "a picture"},
      {F::Dib, "Device Independent Bitmap", "a device independent bitmap"},
      {F::Bitmap, "Bitmap", "a bitmap"},
  };
  return entries;
}

bool PastesObject(PasteFormat format) {
  return format == PasteFormat::EmbeddedObject || format == PasteFormat::LinkSource;
}

PasteFormat ImportedFormat(PasteFormat format) {
  return format == PasteFormat::EnhMetafile ? PasteFormat::Metafile : format;
}

}  // namespace orvalis::controls
